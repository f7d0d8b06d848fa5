#pragma once

#include "StreamingControl.h"

#include <memory>

namespace marlo {

class DecodedSource;
class MpvStreamingControl;
class PcmPlayer;

// The streaming control for audio: a file a light decoder reads (MP3, FLAC, Ogg, WAV ...) plays
// through the PCM output and is ready at once; any other file goes to the control over libmpv,
// which is made only then.
class AudioStreamingControl : public StreamingControl {
    Q_OBJECT
  public:
    // An empty pcmFile plays to the sound server; otherwise the sound is written there.
    explicit AudioStreamingControl(QObject* parent = nullptr, const QString& pcmFile = QString());
    ~AudioStreamingControl() override;

    void setFileName(const QString& path) override;
    QString fileName() const override;
    int readyState() const override;
    bool failed() const override;
    void run() override;
    void pause() override;
    void stop() override;
    bool isRunning() const override;
    double duration() const override;
    double position() const override;
    void setPosition(double seconds) override;

    // Whether the libmpv control has been made (tests and measurements).
    bool usesMpv() const { return mpv_ != nullptr; }

  private:
    bool light() const { return source_ != nullptr; }
    MpvStreamingControl& mpv();

    QString pcmFile_;
    QString fileName_;
    std::unique_ptr<PcmPlayer> player_;
    std::unique_ptr<DecodedSource> source_;
    std::unique_ptr<MpvStreamingControl> mpv_;
    bool running_ = false;
    bool ended_ = false;
};

}  // namespace marlo
