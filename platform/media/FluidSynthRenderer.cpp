#include "FluidSynthRenderer.h"

#include "platform/media/FluidSynthLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace marlo {

namespace {

// Set by the first load; every synthesizer object below exists only once it is.
const FluidSynthLibrary* fs = nullptr;

constexpr int kBlockFrames = 512;
// The synthesizer's own default (0.2) leaves General MIDI music some 20 dB below other media: a
// plain piano scale then peaks near -5.6 dBFS. Busy pieces with many loud voices would clip at
// this gain; the limiter holds them at kCeiling instead.
constexpr double kGain = 2.0;
constexpr float kCeiling = 0.891F;  // -1 dBFS
// A note held with no release would keep the end from coming; after the last tick it may ring
// this long.
constexpr qint64 kMaxTailFrames = FluidSynthRenderer::kSampleRate * 4;

quint32 be32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return (quint32(u[0]) << 24) | (quint32(u[1]) << 16) | (quint32(u[2]) << 8) | u[3];
}

quint16 be16(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint16((u[0] << 8) | u[1]);
}

// Reads a variable-length quantity of at most four bytes; false past the end.
bool readVlq(const QByteArray& d, qsizetype& pos, qsizetype end, quint32& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos >= end) {
            return false;
        }
        const auto byte = static_cast<unsigned char>(d[pos++]);
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) {
            return true;
        }
    }
    return false;
}

void appendVlq(QByteArray& out, quint32 value) {
    char bytes[5];
    int n = 0;
    bytes[n++] = char(value & 0x7F);
    while ((value >>= 7) != 0 && n < 5) {
        bytes[n++] = char(0x80 | (value & 0x7F));
    }
    while (n > 0) {
        out.append(bytes[--n]);
    }
}

void appendBe32(QByteArray& out, quint32 v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.append(char((v >> shift) & 0xFF));
    }
}

void appendBe16(QByteArray& out, quint16 v) {
    out.append(char(v >> 8));
    out.append(char(v & 0xFF));
}

void quietLogs() {
    static const bool once = [] {
        for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
            fs->fluid_set_log_function(level, nullptr, nullptr);
        }
        return true;
    }();
    (void)once;
}

}  // namespace

QString FluidSynthRenderer::defaultSoundFont() {
    return QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2");
}

FluidSynthRenderer::FluidSynthRenderer()
    : block_(size_t(kBlockFrames) * kChannels), limiter_(kCeiling, kSampleRate) {}

FluidSynthRenderer::~FluidSynthRenderer() {
    release();
    if (synth_ != nullptr) {
        fs->delete_fluid_synth(synth_);
    }
    if (settings_ != nullptr) {
        fs->delete_fluid_settings(settings_);
    }
}

void FluidSynthRenderer::release() {
    if (player_ != nullptr) {
        fs->fluid_player_stop(player_);
        fs->delete_fluid_player(player_);
        player_ = nullptr;
    }
    if (synth_ != nullptr) {
        fs->fluid_synth_system_reset(synth_);
    }
}

bool FluidSynthRenderer::scan(const QByteArray& d) {
    tempo_.clear();
    texts_.clear();
    totalTicks_ = 0;
    clean_.clear();
    const qsizetype size = d.size();
    if (size < 14 || !d.startsWith("MThd") || be32(d.constData() + 4) < 6) {
        error_ = QStringLiteral("not a MIDI file");
        return false;
    }
    const qsizetype headerEnd = 8 + qsizetype(be32(d.constData() + 4));
    const int format = be16(d.constData() + 8);
    const int tracks = be16(d.constData() + 10);
    const quint16 division = be16(d.constData() + 12);
    if (headerEnd > size || tracks == 0 || division == 0) {
        error_ = QStringLiteral("damaged MIDI header");
        return false;
    }
    // The synthesizer's own reader gives up on files that players commonly accept (foreign
    // chunks, running status across meta events, stray system bytes): it gets a clean copy.
    QByteArray body;
    std::vector<std::pair<qint64, quint32>> changes;  // tick, microseconds per quarter note
    qsizetype pos = headerEnd;
    int tracksSeen = 0;
    // Stray bytes too few for a chunk header after the last chunk are tolerated.
    while (pos + 8 <= size) {
        const quint32 length = be32(d.constData() + pos + 4);
        const bool isTrack = d.mid(pos, 4) == "MTrk";
        const qsizetype start = pos + 8;
        if (qsizetype(length) > size - start) {
            error_ = QStringLiteral("MIDI chunk runs past the end of the file");
            return false;
        }
        const qsizetype end = start + qsizetype(length);
        pos = end;
        if (!isTrack) {
            continue;  // unknown chunks are skipped by definition
        }
        ++tracksSeen;
        QByteArray out;
        qint64 emittedTick = 0;
        auto emitEvent = [&](qint64 tick, const QByteArray& bytes) {
            appendVlq(out, quint32(tick - emittedTick));
            out.append(bytes);
            emittedTick = tick;
        };
        qsizetype p = start;
        qint64 tick = 0;
        int running = 0;
        while (p < end) {
            quint32 delta = 0;
            if (!readVlq(d, p, end, delta) || p >= end) {
                break;  // a track cut short ends where its data ends
            }
            tick += delta;
            int status = static_cast<unsigned char>(d[p]);
            if (status & 0x80) {
                ++p;
            } else if (running != 0) {
                status = running;
            } else {
                error_ = QStringLiteral("MIDI data without a status");
                return false;
            }
            if (status < 0xF0) {
                running = status;
                const int count = ((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) ? 1 : 2;
                if (p + count > end) {
                    break;
                }
                QByteArray event(1, char(status));
                for (int k = 0; k < count; ++k) {
                    event.append(char(d[p + k] & 0x7F));
                }
                p += count;
                emitEvent(tick, event);
            } else if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
                const qsizetype eventStart = p - 1;
                int type = -1;
                if (status == 0xFF) {
                    if (p >= end) {
                        break;
                    }
                    type = static_cast<unsigned char>(d[p++]);
                }
                quint32 len = 0;
                if (!readVlq(d, p, end, len) || qsizetype(len) > end - p) {
                    break;
                }
                if (type == 0x51 && len == 3) {
                    const auto* u = reinterpret_cast<const unsigned char*>(d.constData() + p);
                    changes.emplace_back(tick, (quint32(u[0]) << 16) | (u[1] << 8) | u[2]);
                } else if (type == 0x01 || type == 0x05) {
                    texts_.push_back({tick, {0, type, d.mid(p, len)}});
                }
                p += len;
                if (type == 0x2F) {
                    break;
                }
                emitEvent(tick, d.mid(eventStart, p - eventStart));
            } else {
                // System common and real-time bytes do not belong in a file: dropped, with
                // their data.
                p += (status == 0xF2) ? 2 : (status == 0xF1 || status == 0xF3) ? 1 : 0;
            }
            if (p <= end) {
                totalTicks_ = std::max(totalTicks_, tick);
            }
        }
        emitEvent(std::max(tick, emittedTick), QByteArray("\xFF\x2F\x00", 3));
        body.append("MTrk");
        appendBe32(body, quint32(out.size()));
        body.append(out);
    }
    if (tracksSeen == 0) {
        error_ = QStringLiteral("MIDI file without tracks");
        return false;
    }
    clean_.append("MThd");
    appendBe32(clean_, 6);
    appendBe16(clean_, quint16(format == 0 && tracksSeen > 1 ? 1 : format));
    appendBe16(clean_, quint16(tracksSeen));
    appendBe16(clean_, division);
    clean_.append(body);
    std::stable_sort(changes.begin(), changes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (division & 0x8000) {
        // Time code: frames per second times ticks per frame; tempo changes do not apply.
        const int fps = -static_cast<qint8>(division >> 8);
        const int perFrame = division & 0xFF;
        const double usPerTick = 1e6 / std::max(1, fps * std::max(1, perFrame));
        tempo_.push_back({0, usPerTick, 0.0});
    } else {
        tempo_.push_back({0, 500000.0 / division, 0.0});
        for (const auto& [tick, us] : changes) {
            const TempoChange& last = tempo_.back();
            const double ms = last.msAtTick + double(tick - last.tick) * last.usPerTick / 1000.0;
            if (tick == last.tick) {
                tempo_.back().usPerTick = double(us) / division;
            } else {
                tempo_.push_back({tick, double(us) / division, ms});
            }
        }
    }
    return true;
}

std::vector<FluidSynthRenderer::TimedText> FluidSynthRenderer::textEvents(const QByteArray& file) {
    FluidSynthRenderer scanner;
    std::vector<TimedText> out;
    if (!scanner.scan(file)) {
        return out;
    }
    std::stable_sort(scanner.texts_.begin(), scanner.texts_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    out.reserve(scanner.texts_.size());
    for (auto& [tick, text] : scanner.texts_) {
        text.ms = qint64(scanner.tickToMs(tick));
        out.push_back(std::move(text));
    }
    return out;
}

double FluidSynthRenderer::tickToMs(qint64 tick) const {
    auto it = std::upper_bound(tempo_.begin(), tempo_.end(), tick,
                               [](qint64 t, const TempoChange& c) { return t < c.tick; });
    const TempoChange& c = *std::prev(it);
    return c.msAtTick + double(tick - c.tick) * c.usPerTick / 1000.0;
}

qint64 FluidSynthRenderer::msToTick(qint64 ms) const {
    auto it = std::upper_bound(tempo_.begin(), tempo_.end(), double(ms),
                               [](double m, const TempoChange& c) { return m < c.msAtTick; });
    const TempoChange& c = *std::prev(it);
    return c.tick + qint64((double(ms) - c.msAtTick) * 1000.0 / c.usPerTick);
}

bool FluidSynthRenderer::load(const QString& path) {
    if (fs == nullptr) {
        fs = fluidSynthLibrary();
        if (fs == nullptr) {
            error_ = QStringLiteral("the FluidSynth library is not installed");
            return false;
        }
    }
    quietLogs();
    release();
    ended_ = true;
    framesDone_ = 0;
    lengthMs_ = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("cannot open %1").arg(path);
        return false;
    }
    if (!scan(file.readAll())) {
        return false;
    }
    if (synth_ == nullptr) {
        settings_ = fs->new_fluid_settings();
        fs->fluid_settings_setnum(settings_, "synth.sample-rate", kSampleRate);
        fs->fluid_settings_setnum(settings_, "synth.gain", kGain);
        // The player follows the rendered samples, not the wall clock, so rendering may run
        // ahead of the sound being heard.
        fs->fluid_settings_setstr(settings_, "player.timing-source", "sample");
        fs->fluid_settings_setint(settings_, "synth.lock-memory", 0);
        synth_ = fs->new_fluid_synth(settings_);
        if (synth_ == nullptr ||
            fs->fluid_synth_sfload(synth_, defaultSoundFont().toUtf8().constData(), 1) ==
                FLUID_FAILED) {
            error_ = QStringLiteral("cannot load the soundfont %1").arg(defaultSoundFont());
            if (synth_ != nullptr) {
                fs->delete_fluid_synth(synth_);
                synth_ = nullptr;
            }
            return false;
        }
    }
    lengthMs_ = qint64(tickToMs(totalTicks_) + 0.5);
    return startPlayer(0);
}

bool FluidSynthRenderer::startPlayer(qint64 fromTick) {
    release();
    player_ = fs->new_fluid_player(synth_);
    if (player_ == nullptr ||
        fs->fluid_player_add_mem(player_, clean_.constData(), size_t(clean_.size())) != FLUID_OK ||
        fs->fluid_player_play(player_) != FLUID_OK) {
        error_ = QStringLiteral("the synthesizer rejected the file");
        release();
        return false;
    }
    if (fromTick > 0) {
        // The player reads the file on its first block and forgets an earlier seek: run one
        // tiny block, silence what it struck, then seek.
        float scratch[64 * kChannels];
        fs->fluid_synth_write_float(synth_, 64, scratch, 0, 2, scratch, 1, 2);
        fs->fluid_synth_all_sounds_off(synth_, -1);
        fs->fluid_player_seek(player_, int(std::min<qint64>(fromTick, totalTicks_)));
    }
    ended_ = false;
    tailFrames_ = 0;
    limiter_.reset();
    return true;
}

void FluidSynthRenderer::seekMs(qint64 ms) {
    if (clean_.isEmpty()) {
        return;
    }
    ms = std::clamp<qint64>(ms, 0, lengthMs_);
    startPlayer(msToTick(ms));
    framesDone_ = ms * kSampleRate / 1000;
}

int FluidSynthRenderer::render(int16_t* out, int frames) {
    int written = 0;
    while (!ended_ && written < frames) {
        const int block = std::min(kBlockFrames, frames - written);
        float* pcm = block_.data();
        if (fs->fluid_synth_write_float(synth_, block, pcm, 0, 2, pcm, 1, 2) != FLUID_OK) {
            ended_ = true;
            break;
        }
        limiter_.process(pcm, block);
        int16_t* at = out + qsizetype(written) * kChannels;
        for (int i = 0; i < block * kChannels; ++i) {
            at[i] = int16_t(std::lround(std::clamp(pcm[i], -1.0F, 1.0F) * 32767.0F));
        }
        written += block;
        framesDone_ += block;
        // The player's own "done" comes seconds after the music; the last tick with every
        // voice silent is the real end.
        const bool pastLastTick = fs->fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING ||
                                  fs->fluid_player_get_current_tick(player_) >= totalTicks_;
        if (pastLastTick) {
            tailFrames_ += block;
            if (fs->fluid_synth_get_active_voice_count(synth_) == 0 ||
                tailFrames_ >= kMaxTailFrames) {
                ended_ = true;
            }
        }
    }
    return written;
}

}  // namespace marlo
