#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace marlo {

// The streaming media control: a file name (an empty one releases the file), a ready state that
// becomes 4 when the file can play, run/pause/stop, the duration in seconds and a completion
// notice. Video display (full screen, double size, visible) is added by the video window.
class StreamingControl : public QObject {
    Q_OBJECT
  public:
    static constexpr int kReady = 4;

    using QObject::QObject;
    ~StreamingControl() override = default;

    virtual void setFileName(const QString& path) = 0;
    virtual QString fileName() const = 0;
    // 4 when loaded and ready to run; 0 with no file or a file that could not be opened.
    virtual int readyState() const = 0;
    // True when the last file name could not be opened.
    virtual bool failed() const = 0;
    virtual void run() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    virtual double duration() const = 0;  // seconds; 0 when unknown
    virtual double position() const = 0;  // seconds
    // Moves to `seconds` (ready only); a running file runs on from there.
    virtual void setPosition(double seconds) = 0;

    // While a file runs: opens `path` ahead to follow it without a gap, as MediaDevice does; a
    // file name set to `path` from the completion handler takes the follower on as it runs.
    virtual bool prepareNext(const QString& path) {
        Q_UNUSED(path);
        return false;
    }
    virtual void cancelNext() {}

  signals:
    void readyStateChanged(int state);
    // The file played to its end.
    void done();
};

// The control for audio items: light decoders where they read the file, libmpv otherwise (no
// video output).
std::unique_ptr<StreamingControl> createStreamingControl(QObject* parent = nullptr);

}  // namespace marlo
