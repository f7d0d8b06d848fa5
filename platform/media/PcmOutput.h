#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QtGlobal>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace marlo {

class PulseStream;

// Plays interleaved 16-bit stereo PCM at 44.1 kHz that it takes from a source, through the sound
// server. The server's own thread calls the source whenever it wants more, so whoever else
// touches what the source reads (a seek, a position) takes lockSource() first. Without a sound
// server it keeps pulling at the same pace on its owner's thread and throws the sound away, so a
// source's position still advances and its end is still noticed: a player without a sound card
// must not hang.
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

    // With a path, start() writes the sound into that file (raw, truncated at each start) as
    // fast as the source renders instead of playing it: for checking decoded sound untimed.
    void setSinkFile(const QString& path) { sinkPath_ = path; }

    // Starts pulling from the beginning (held as by suspend() when `suspended`). Returns
    // whether the sound is heard; when it is not, errorString() says why and soundUnavailable()
    // has been sent, and the source is pulled silently instead.
    bool start(bool suspended = false);
    void stop();
    void suspend();
    void resume();

    // Held while the source renders; hold it to change what the source reads.
    std::unique_lock<std::mutex> lockSource() { return std::unique_lock<std::mutex>(sourceMutex_); }

    bool isActive() const { return active_; }
    bool isSuspended() const { return suspended_; }
    bool isAudible() const { return active_ && stream_ != nullptr; }
    QString errorString() const { return error_; }
    // Frames taken from the source since start().
    qint64 framesPulled() const { return framesPulled_; }
    // Frames heard since start(): those pulled less what the server still holds.
    qint64 framesPlayed() const;
    qint64 framesBuffered() const { return framesPulled_ - framesPlayed(); }

  signals:
    void soundUnavailable(const QString& reason);
    // The source has ended and its last sound has been heard.
    void sourceEnded();

  private:
    int pull(qint16* out, int frames);
    void fallBackToSilence(const QString& reason);
    void announceEnd();
    void silentTick();
    void endStream();

    Source source_;
    std::mutex sourceMutex_;
    std::unique_ptr<PulseStream> stream_;
    QString sinkPath_;
    std::unique_ptr<QFile> sink_;
    QTimer silentTimer_;
    QElapsedTimer silentClock_;
    qint64 silentBase_ = 0;  // frames pulled when the silent clock last started
    std::vector<qint16> scratch_;
    std::atomic<qint64> framesPulled_ = 0;
    QString error_;
    std::atomic_bool active_ = false;
    std::atomic_bool suspended_ = false;
    std::atomic_bool ended_ = false;
    std::atomic_bool throughServer_ = false;
    std::atomic_bool drained_ = false;  // the server has played all the source gave
    std::atomic_int run_ = 0;  // counts start()s  // the end is told by the server's drained notice
};

}  // namespace marlo
