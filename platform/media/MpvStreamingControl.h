#pragma once

#include "StreamingControl.h"

#include <memory>

namespace marlo {

class MpvPlayer;

// The streaming control over one MpvPlayer. Loading runs in the background: the ready state
// turns 4 (or failed() true) while the event loop runs.
class MpvStreamingControl : public StreamingControl {
    Q_OBJECT
  public:
    explicit MpvStreamingControl(QObject* parent = nullptr, const QString& pcmFile = QString());
    ~MpvStreamingControl() override;

    void setFileName(const QString& path) override;
    QString fileName() const override { return fileName_; }
    int readyState() const override { return readyState_; }
    bool failed() const override { return failed_; }
    void run() override;
    void pause() override;
    void stop() override;
    bool isRunning() const override { return running_; }
    double duration() const override { return duration_; }
    double position() const override;
    void setPosition(double seconds) override;

  private:
    // False when a played-out file could not be loaded again.
    bool reloadIfPlayedOut();
    void setReadyState(int state);

    MpvPlayer& player();

    QString pcmFile_;
    std::unique_ptr<MpvPlayer> player_;
    QString fileName_;
    int readyState_ = 0;
    bool failed_ = false;
    bool running_ = false;
    bool ended_ = false;
    // Counts file names set: a reload that waited sees whether the name changed meanwhile.
    quint64 fileRound_ = 0;
    double duration_ = 0.0;
};

}  // namespace marlo
