#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QtGlobal>
#include <functional>
#include <vector>

class QAudioSink;

namespace marlo {

class PcmPullDevice;

// Plays interleaved 16-bit stereo PCM at 44.1 kHz that it pulls from a source, through the sound
// server. Without a sound server it keeps pulling at the same pace and throws the sound away, so a
// source's position still advances and its end is still noticed: a player without a sound card
// must not hang. Lives on a thread with an event loop; the source is called on that thread.
class PcmOutput : public QObject {
    Q_OBJECT
  public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kBytesPerFrame = kChannels * int(sizeof(qint16));

    // Fills up to `frames` frames into `out` and returns how many it wrote; 0 means the source
    // has ended.
    using Source = std::function<int(qint16* out, int frames)>;

    explicit PcmOutput(Source source, QObject* parent = nullptr);
    ~PcmOutput() override;

    // Starts pulling from the beginning. Returns whether the sound is heard; when it is not,
    // errorString() says why and soundUnavailable() has been sent, and the source is pulled
    // silently instead.
    bool start();
    void stop();
    void suspend();
    void resume();

    bool isActive() const { return active_; }
    bool isSuspended() const { return suspended_; }
    bool isAudible() const { return active_ && sink_ != nullptr; }
    QString errorString() const { return error_; }
    // Frames taken from the source since start().
    qint64 framesPulled() const { return framesPulled_; }

  signals:
    void soundUnavailable(const QString& reason);
    void sourceEnded();

  private:
    int pull(qint16* out, int frames);
    void fallBackToSilence(const QString& reason);
    void silentTick();
    void releaseSink();

    Source source_;
    PcmPullDevice* device_ = nullptr;  // a child of the sink, which reads it
    QAudioSink* sink_ = nullptr;
    QTimer silentTimer_;
    QElapsedTimer silentClock_;
    qint64 silentBase_ = 0;  // frames pulled when the silent clock last started
    std::vector<qint16> scratch_;
    qint64 framesPulled_ = 0;
    QString error_;
    bool active_ = false;
    bool suspended_ = false;
    bool ended_ = false;
};

}  // namespace marlo
