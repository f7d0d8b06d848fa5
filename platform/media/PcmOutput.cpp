#include "platform/media/PcmOutput.h"

#include <QMetaObject>
#include <algorithm>

#include "platform/media/PulseStream.h"

namespace marlo {

namespace {

// The silent pull runs often enough that a 150 ms position poll sees steady progress.
constexpr int kSilentTickMs = 20;
// A stalled event loop catches up by at most this much at once, so the window stays responsive.
constexpr qint64 kMaxCatchUpFrames = PcmOutput::kSampleRate / 2;
// About 300 ms in the sound server: short enough that a jump is heard soon; the server asks for
// a third of it at a time, a few wake-ups a second.
constexpr int kServerBufferMs = 300;

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
    if (got == 0) {
        ended_ = true;
        // Queued: this may run on the sound server's thread.
        QMetaObject::invokeMethod(this, &PcmOutput::sourceEnded, Qt::QueuedConnection);
    }
    return got;
}

bool PcmOutput::start() {
    stop();
    error_.clear();
    framesPulled_ = 0;
    ended_ = false;
    suspended_ = false;
    active_ = true;
    auto stream = std::make_unique<PulseStream>();
    const bool opened = stream->open(
        kSampleRate, kChannels, kServerBufferMs,
        [this](void* data, std::size_t bytes) {
            const int frames = int(bytes / kBytesPerFrame);
            return std::size_t(pull(static_cast<qint16*>(data), frames)) * kBytesPerFrame;
        },
        [this](const QString& reason) {
            // The server went away while playing: go on without sound, on our own thread.
            QMetaObject::invokeMethod(
                this, [this, reason] { fallBackToSilence(reason); }, Qt::QueuedConnection);
        });
    if (!opened) {
        fallBackToSilence(stream->errorString());
        return false;
    }
    stream_ = std::move(stream);
    return true;
}

void PcmOutput::fallBackToSilence(const QString& reason) {
    if (!active_) {
        return;
    }
    releaseStream();
    error_ = reason;
    qWarning("Marlo: no sound: %s; playing on silently", qPrintable(reason));
    silentBase_ = framesPulled_;
    silentClock_.start();
    if (!suspended_) {
        silentTimer_.start();
    }
    emit soundUnavailable(reason);
}

void PcmOutput::silentTick() {
    if (!active_ || suspended_ || ended_) {
        silentTimer_.stop();
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

void PcmOutput::releaseStream() {
    if (stream_) {
        // Waits for a fill in progress on the server's thread.
        stream_->close();
        stream_.reset();
    }
}

void PcmOutput::stop() {
    active_ = false;
    suspended_ = false;
    silentTimer_.stop();
    releaseStream();
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
        silentTimer_.start();
    }
}

}  // namespace marlo
