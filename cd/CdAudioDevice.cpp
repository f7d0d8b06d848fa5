#include "cd/CdAudioDevice.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <cstring>

#include "cd/CddbText.h"
#include "cd/DiscTocReader.h"
#include "platform/media/PcmOutput.h"

namespace marlo {
namespace {

constexpr int kFramesPerSector = 588;  // 2352 bytes of 16-bit stereo
constexpr int kSectorsPerRead = 16;

}  // namespace

CdAudioDevice::CdAudioDevice(const QString& source, QObject* parent)
    : QObject(parent), source_(source) {
    output_ = std::make_unique<PcmOutput>(
        [this](qint16* out, int frames) { return readPcm(out, frames); }, this);
    connect(output_.get(), &PcmOutput::sourceEnded, this, [this] {
        playing_ = false;
        heldSector_ = to_;
        watchMode();
        emit done();
    });
    status_.setInterval(kStatusIntervalMs);
    connect(&status_, &QTimer::timeout, this, &CdAudioDevice::watchMode);
    status_.start();
}

CdAudioDevice::~CdAudioDevice() {
    closeDrive();
}

QString CdAudioDevice::modeText(int mode) {
    switch (mode) {
        case kNotOpen:
            return QStringLiteral("Device is not open");
        case kStopped:
            return QStringLiteral("Device is stopped");
        case kPlaying:
            return QStringLiteral("Device is playing");
        case kRecording:
            return QStringLiteral("Device is recording");
        case kSeeking:
            return QStringLiteral("Device is seeking");
        case kPaused:
            return QStringLiteral("Device is paused");
        case kTrayOut:
            return QStringLiteral("Tray is out");
        default:
            return {};
    }
}

int CdAudioDevice::mode() const {
    if (!isOpen()) {
        return kNotOpen;
    }
    if (playing_) {
        return paused_ ? kPaused : kPlaying;
    }
    return kStopped;
}

void CdAudioDevice::watchMode() {
    const int now = mode();
    if (now != lastMode_) {
        lastMode_ = now;
        emit modeChange(modeText(now));
    }
}

void CdAudioDevice::command(const QString& text) {
    const QString name = text.toLower();
    error_ = 0;
    if (name == QLatin1String("open")) {
        openDrive();
    } else if (name == QLatin1String("close")) {
        closeDrive();
    } else if (!isOpen()) {
        return;
    } else if (name == QLatin1String("play")) {
        play();
    } else if (name == QLatin1String("pause")) {
        if (playing_ && !paused_) {
            paused_ = true;
            output_->suspend();
        }
    } else if (name == QLatin1String("stop")) {
        stop();
    } else if (name == QLatin1String("prev") || name == QLatin1String("next")) {
        const bool wasPlaying = playing_ && !paused_;
        const int track =
            std::clamp(currentTrack() + (name == QLatin1String("next") ? 1 : -1), 1, trackCount());
        seekTrack(track);
        if (wasPlaying) {
            play();
        }
    } else if (name == QLatin1String("eject")) {
        stop();
        cdio_eject_media(&cdio_);
        closeDrive();
    }
    watchMode();
}

void CdAudioDevice::openDrive() {
    if (isOpen()) {
        return;
    }
    QString reason;
    const std::optional<DiscToc> toc = readDiscToc(source_, &reason);
    if (!toc) {
        error_ = kErrNoDisc;
        return;
    }
    cdio_loglevel_default = CDIO_LOG_ERROR;
    const QByteArray path = source_.toLocal8Bit();
    const bool cue = source_.endsWith(QLatin1String(".cue"), Qt::CaseInsensitive);
    cdio_ =
        cdio_open(path.isEmpty() ? nullptr : path.constData(), cue ? DRIVER_BINCUE : DRIVER_DEVICE);
    if (cdio_ == nullptr) {
        error_ = kErrNoDisc;
        return;
    }
    // Paranoia rereads and verifies what a real drive delivers; an image reads as it is.
    char* messages = nullptr;
    cdda_ = cdio_cddap_identify_cdio(cdio_, CDDA_MESSAGE_FORGETIT, &messages);
    cdio_cddap_free_messages(messages);
    if (cdda_ != nullptr && cdio_cddap_open(cdda_) == 0) {
        paranoia_ = cdio_paranoia_init(cdda_);
        // A scratch is skipped after the retries instead of stalling the track for ever.
        cdio_paranoia_modeset(paranoia_, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    }
    paranoiaSector_ = -1;
    toc_ = *toc;
    tocDrive_ = TocDrive(toc_);
    track_ = 1;
    storedTrack_ = 0;
    playing_ = paused_ = false;
    from_ = heldSector_ = toc_.trackStarts.first();
    to_ = toc_.leadOut;
}

void CdAudioDevice::closeDrive() {
    output_->stop();
    playing_ = paused_ = false;
    if (paranoia_ != nullptr) {
        cdio_paranoia_free(paranoia_);
        paranoia_ = nullptr;
    }
    if (cdda_ != nullptr) {
        cdio_cddap_close_no_free_cdio(cdda_);
        cdda_ = nullptr;
    }
    if (cdio_ != nullptr) {
        cdio_destroy(cdio_);
        cdio_ = nullptr;
    }
    toc_ = DiscToc{};
    tocDrive_ = TocDrive(toc_);
}

void CdAudioDevice::play() {
    if (playing_ && paused_) {
        paused_ = false;
        output_->resume();
        return;
    }
    const int start = playing_ ? currentSector() : heldSector_;
    output_->stop();
    {
        auto lock = output_->lockSource();
        playStart_ = std::clamp(start, from_, to_);
        readSector_ = playStart_;
        readEnd_ = to_;
        pending_.clear();
        pendingPos_ = 0;
    }
    playing_ = true;
    paused_ = false;
    output_->start();
}

void CdAudioDevice::stop() {
    if (playing_) {
        heldSector_ = currentSector();
    }
    output_->stop();
    playing_ = paused_ = false;
}

void CdAudioDevice::seekTrack(int track) {
    stop();
    track_ = track;
    from_ = heldSector_ = toc_.trackStarts.at(track - 1);
    to_ = toc_.leadOut;
}

int CdAudioDevice::currentSector() const {
    if (!playing_) {
        return heldSector_;
    }
    return std::min(to_, playStart_ + static_cast<int>(output_->framesPlayed() / kFramesPerSector));
}

// On the sound server's thread: the next sectors of the play range as 16-bit stereo. The server
// asks for any number of frames, often less than a sector: whole sectors are read into a buffer
// and served from there, so a small request never reads as the end of the track.
int CdAudioDevice::readPcm(qint16* out, int frames) {
    int written = 0;
    while (written < frames) {
        if (pendingPos_ < pending_.size()) {
            const std::size_t samples = std::min(pending_.size() - pendingPos_,
                                                 static_cast<std::size_t>(frames - written) * 2);
            std::memcpy(out + static_cast<std::ptrdiff_t>(written) * 2,
                        pending_.data() + pendingPos_, samples * sizeof(qint16));
            pendingPos_ += samples;
            written += static_cast<int>(samples / 2);
            continue;
        }
        const int sector = readSector_;
        const int sectors = std::min(kSectorsPerRead, readEnd_ - sector);
        if (sectors <= 0 || cdio_ == nullptr) {
            break;
        }
        pending_.resize(static_cast<std::size_t>(sectors) * kFramesPerSector * 2);
        pendingPos_ = 0;
        readSectors(pending_.data(), sector, sectors);
        readSector_ = sector + sectors;
    }
    return written;
}

void CdAudioDevice::readSectors(qint16* out, int sector, int sectors) {
    if (paranoia_ != nullptr) {
        if (paranoiaSector_ != sector) {
            cdio_paranoia_seek(paranoia_, sector - CDIO_PREGAP_SECTORS, SEEK_SET);
        }
        for (int i = 0; i < sectors; ++i) {
            const int16_t* data = cdio_paranoia_read(paranoia_, nullptr);
            qint16* target = out + static_cast<std::ptrdiff_t>(i) * kFramesPerSector * 2;
            if (data != nullptr) {
                std::memcpy(target, data, CDIO_CD_FRAMESIZE_RAW);
            } else {
                std::memset(target, 0, CDIO_CD_FRAMESIZE_RAW);
            }
        }
        paranoiaSector_ = sector + sectors;
    } else if (cdio_read_audio_sectors(cdio_, out, sector - CDIO_PREGAP_SECTORS,
                                       static_cast<uint32_t>(sectors)) != DRIVER_OP_SUCCESS) {
        // An unreadable stretch plays as silence rather than ending the track.
        std::memset(out, 0, static_cast<std::size_t>(sectors) * CDIO_CD_FRAMESIZE_RAW);
    }
}

void CdAudioDevice::playTrack(int track, int offsetFrames) {
    if (mode() == kNotOpen || track < 1 || track > trackCount()) {
        return;
    }
    stop();
    track_ = track;
    const int start = toc_.trackStarts.at(track - 1);
    to_ = start + msfToFrames(trackLength(track));
    from_ = heldSector_ = std::clamp(start + offsetFrames, start, to_);
    play();
    watchMode();
}

int CdAudioDevice::currentTrack() {
    if (mode() == kNotOpen) {
        storedTrack_ = 0;
        return 0;
    }
    const int p = currentSector();
    int found = 0;
    for (int i = 1; i <= trackCount(); ++i) {
        const int s = toc_.trackStarts.at(i - 1);
        const int l = msfToFrames(trackLength(i));
        if (s <= p && p <= s + l) {
            found = i;
        }
    }
    track_ = trackCount();
    if (found != 0) {
        storedTrack_ = found;
    }
    return found;
}

void CdAudioDevice::setCurrentTrack(int track) {
    if (track < 1 || track > trackCount()) {
        return;
    }
    seekTrack(track);
    storedTrack_ = track;
    watchMode();
}

QString CdAudioDevice::position(int timeFormat) const {
    if (toc_.trackStarts.isEmpty()) {
        return {};
    }
    const int elapsed = std::max(0, currentSector() - toc_.trackStarts.first());
    const quint32 m = framesToMsf(elapsed);
    const int minutes = static_cast<int>(m & 0xFF);
    const int seconds = static_cast<int>((m >> 8) & 0xFF);
    switch (timeFormat) {
        case 1:
            return QString::number(m);
        case 2:
            return QString::number(elapsed);
        case 3:
            return QString::number(minutes * 60 + seconds);
        case 4:
            return QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
        default:
            return {};
    }
}

int CdAudioDevice::songLength(int songNumber) const {
    const quint32 length = trackLength(songNumber);
    return static_cast<int>(length & 0xFF) * 60 + static_cast<int>((length >> 8) & 0xFF);
}

}  // namespace marlo
