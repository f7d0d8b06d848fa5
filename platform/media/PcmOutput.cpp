#include "platform/media/PcmOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <algorithm>

namespace marlo {

namespace {

// The silent pull runs often enough that a 150 ms position poll sees steady progress.
constexpr int kSilentTickMs = 20;
// A stalled event loop catches up by at most this much at once, so the window stays responsive.
constexpr qint64 kMaxCatchUpFrames = PcmOutput::kSampleRate / 2;
// About 200 ms in the sound server: short enough that a jump is heard soon.
constexpr qsizetype kSinkBufferBytes = PcmOutput::kSampleRate / 5 * PcmOutput::kBytesPerFrame;

QString sinkErrorText(QAudio::Error error) {
    switch (error) {
        case QAudio::OpenError:
            return QStringLiteral("the sound server could not be opened");
        case QAudio::IOError:
            return QStringLiteral("writing to the sound server failed");
        case QAudio::FatalError:
            return QStringLiteral("the sound server is not available");
        default:
            return QStringLiteral("the sound output stopped");
    }
}

}  // namespace

// What QAudioSink reads from: each read pulls whole frames from the source.
class PcmPullDevice : public QIODevice {
  public:
    PcmPullDevice(std::function<int(qint16*, int)> pull, QObject* parent)
        : QIODevice(parent), pull_(std::move(pull)) {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override {
        return QIODevice::bytesAvailable() + kSinkBufferBytes;
    }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const int frames = int(std::min<qint64>(maxSize / PcmOutput::kBytesPerFrame, 1 << 16));
        if (frames <= 0) {
            return 0;
        }
        return qint64(pull_(reinterpret_cast<qint16*>(data), frames)) * PcmOutput::kBytesPerFrame;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    std::function<int(qint16*, int)> pull_;
};

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
    const int got = std::clamp(source_ ? source_(out, frames) : 0, 0, frames);
    framesPulled_ += got;
    if (got == 0) {
        ended_ = true;
        // Queued: the sink is inside its own read here.
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

    QAudioFormat format;
    format.setSampleRate(kSampleRate);
    format.setChannelCount(kChannels);
    format.setSampleFormat(QAudioFormat::Int16);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        fallBackToSilence(QStringLiteral("no sound output device (is a sound server running?)"));
        return false;
    }

    sink_ = new QAudioSink(device, format, this);
    device_ = new PcmPullDevice([this](qint16* out, int n) { return pull(out, n); }, sink_);
    device_->open(QIODevice::ReadOnly);
    sink_->setBufferSize(kSinkBufferBytes);
    sink_->start(device_);
    // A sink without a server fails here without sending a signal.
    if (sink_->error() != QAudio::NoError && sink_->error() != QAudio::UnderrunError) {
        fallBackToSilence(sinkErrorText(sink_->error()));
        return false;
    }
    if (sink_->state() == QAudio::StoppedState) {
        fallBackToSilence(sinkErrorText(QAudio::FatalError));
        return false;
    }
    connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::StoppedState && sink_ != nullptr && active_ &&
            sink_->error() != QAudio::NoError) {
            // The server went away while playing: go on without sound.
            const QString reason = sinkErrorText(sink_->error());
            QMetaObject::invokeMethod(
                this, [this, reason] { fallBackToSilence(reason); }, Qt::QueuedConnection);
        }
    });
    return true;
}

void PcmOutput::fallBackToSilence(const QString& reason) {
    if (!active_) {
        return;
    }
    releaseSink();
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

void PcmOutput::releaseSink() {
    if (sink_ != nullptr) {
        QAudioSink* sink = sink_;
        sink_ = nullptr;
        sink->disconnect(this);
        sink->stop();
        device_->close();
        device_ = nullptr;
        // Later: this may run inside one of the sink's own signals; the device goes with it.
        sink->deleteLater();
    }
}

void PcmOutput::stop() {
    active_ = false;
    suspended_ = false;
    silentTimer_.stop();
    releaseSink();
}

void PcmOutput::suspend() {
    if (!active_ || suspended_) {
        return;
    }
    suspended_ = true;
    if (sink_ != nullptr) {
        sink_->suspend();
    } else {
        silentTimer_.stop();
    }
}

void PcmOutput::resume() {
    if (!active_ || !suspended_) {
        return;
    }
    suspended_ = false;
    if (sink_ != nullptr) {
        sink_->resume();
    } else {
        silentBase_ = framesPulled_;
        silentClock_.start();
        silentTimer_.start();
    }
}

}  // namespace marlo
