#include "platform/media/PcmOutput.h"

#include <QMetaObject>
#include <algorithm>
#include <cmath>

#include "platform/media/OutputVolume.h"
#include "platform/media/PulseStream.h"

namespace marlo {

namespace {

// The silent pull runs often enough that a 150 ms position poll sees steady progress.
constexpr int kSilentTickMs = 20;
// A stalled event loop catches up by at most this much at once, so the window stays responsive.
constexpr qint64 kMaxCatchUpFrames = PcmOutput::kSampleRate / 2;
// 600 ms in the sound server, asked for a third at a time: five wake-ups a second. A jump or a
// stop is heard at once (the stream starts over or ends) and the position shown is the one
// heard; only a new volume waits for what the server already holds. Against 300 ms this took
// a fifth off the sound thread's CPU; 1000 ms took no more.
constexpr int kServerBufferMs = 600;

}  // namespace

PcmOutput::PcmOutput(Source source, QObject* parent) : QObject(parent), source_(std::move(source)) {
    silentTimer_.setTimerType(Qt::PreciseTimer);
    silentTimer_.setInterval(kSilentTickMs);
    connect(&silentTimer_, &QTimer::timeout, this, &PcmOutput::silentTick);
}

PcmOutput::~PcmOutput() {
    stop();
}

int PcmOutput::pull(qint16* out, int frames) {
    if (ended_ || !active_) {
        return 0;
    }
    int got = 0;
    {
        std::lock_guard<std::mutex> lock(sourceMutex_);
        got = std::clamp(source_ ? source_(out, frames) : 0, 0, frames);
    }
    framesPulled_ += got;
    if (const double volume = OutputVolume::level(); volume < 1.0) {
        for (int i = 0; i < got * kChannels; ++i) {
            out[i] = qint16(std::lround(out[i] * volume));
        }
    }
    if (got == 0 && !ended_.exchange(true) && !throughServer_) {
        // Played silently, the end is now. Through the server it comes when the server has
        // played out what it holds (the drained notice).
        announceEnd();
    }
    return got;
}

void PcmOutput::announceEnd() {
    // Queued: this may run on the server's thread. An end of an earlier start is not this one's.
    const int run = run_;
    QMetaObject::invokeMethod(
        this,
        [this, run] {
            if (run == run_ && active_) {
                emit sourceEnded();
            }
        },
        Qt::QueuedConnection);
}

bool PcmOutput::start(bool suspended) {
    stop();
    ++run_;
    error_.clear();
    framesPulled_ = 0;
    ended_ = false;
    drained_ = false;
    suspended_ = suspended;
    active_ = true;
    if (!sinkPath_.isEmpty()) {
        throughServer_ = false;
        sink_ = std::make_unique<QFile>(sinkPath_);
        if (!sink_->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            sink_.reset();
        }
        if (!suspended) {
            silentTimer_.start(0);
        }
        return true;
    }
    // Set before the server's thread first pulls, which may already find the end.
    throughServer_ = true;
    if (!stream_) {
        stream_ = std::make_unique<PulseStream>();
    }
    const bool opened = stream_->open(
        kSampleRate, kChannels, kServerBufferMs,
        [this](void* data, std::size_t bytes) {
            const int frames = int(bytes / kBytesPerFrame);
            return std::size_t(pull(static_cast<qint16*>(data), frames)) * kBytesPerFrame;
        },
        [this](const QString& reason) {
            // The server went away while playing: go on without sound, on our own thread.
            QMetaObject::invokeMethod(
                this, [this, reason] { fallBackToSilence(reason); }, Qt::QueuedConnection);
        },
        [this] {
            drained_ = true;  // all of it heard, whatever the estimate says
            announceEnd();
        },
        suspended);
    if (!opened) {
        const QString reason = stream_->errorString();  // a copy: the stream goes
        fallBackToSilence(reason);
        return false;
    }
    return true;
}

qint64 PcmOutput::framesPlayed() const {
    const qint64 pulled = framesPulled_;
    if (!stream_ || !throughServer_ || drained_) {
        return pulled;
    }
    return std::min(pulled, stream_->playedBytes() / kBytesPerFrame);
}

void PcmOutput::fallBackToSilence(const QString& reason) {
    if (!active_) {
        return;
    }
    // A failed or lost connection is not kept: the next start tries the server afresh.
    stream_.reset();
    throughServer_ = false;
    error_ = reason;
    qWarning("Marlo: no sound: %s; playing on silently", qPrintable(reason));
    if (ended_) {
        // The server went while it played out the end (or before a start found the source
        // empty): that end is now.
        announceEnd();
    }
    silentBase_ = framesPulled_;
    silentClock_.start();
    if (!suspended_) {
        silentTimer_.start(kSilentTickMs);
    }
    emit soundUnavailable(reason);
}

void PcmOutput::silentTick() {
    if (!active_ || suspended_ || ended_) {
        silentTimer_.stop();
        return;
    }
    if (!sinkPath_.isEmpty()) {
        // Untimed into the file: a second of sound per tick.
        scratch_.resize(std::size_t(kSampleRate) * kChannels);
        const int got = pull(scratch_.data(), kSampleRate);
        if (sink_) {
            sink_->write(reinterpret_cast<const char*>(scratch_.data()),
                         qint64(got) * kBytesPerFrame);
            sink_->flush();
        }
        if (ended_) {
            silentTimer_.stop();
        }
        return;
    }
    qint64 due = silentClock_.elapsed() * kSampleRate / 1000 - (framesPulled_ - silentBase_);
    if (due > kMaxCatchUpFrames) {
        // Skip what a stalled loop missed instead of rushing through it.
        silentBase_ += due - kMaxCatchUpFrames;
        due = kMaxCatchUpFrames;
    }
    constexpr int kChunk = 4096;
    scratch_.resize(std::size_t(kChunk) * kChannels);
    while (due > 0 && !ended_ && active_) {
        const int want = int(std::min<qint64>(due, kChunk));
        const int got = pull(scratch_.data(), want);
        due -= got;
        if (got < want) {
            break;
        }
    }
    if (ended_) {
        silentTimer_.stop();
    }
}

void PcmOutput::endStream() {
    if (stream_) {
        // Waits for a fill in progress on the server's thread; the connection stays for the
        // next start.
        stream_->close();
    }
}

void PcmOutput::stop() {
    active_ = false;
    throughServer_ = false;
    suspended_ = false;
    silentTimer_.stop();
    endStream();
}

void PcmOutput::suspend() {
    if (!active_ || suspended_) {
        return;
    }
    suspended_ = true;
    if (stream_) {
        stream_->setCorked(true);
    } else {
        silentTimer_.stop();
    }
}

void PcmOutput::resume() {
    if (!active_ || !suspended_) {
        return;
    }
    suspended_ = false;
    if (stream_) {
        stream_->setCorked(false);
    } else {
        silentBase_ = framesPulled_;
        silentClock_.start();
        silentTimer_.start(sinkPath_.isEmpty() ? kSilentTickMs : 0);
    }
}

}  // namespace marlo
