#pragma once

#include "StreamingControl.h"

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace marlo {

class AudioDecoder;
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
    bool prepareNext(const QString& path) override;
    void cancelNext() override;

    // Whether the libmpv control has been made (tests and measurements).
    bool usesMpv() const { return mpv_ != nullptr; }

  private:
    bool light() const { return source_ != nullptr; }
    MpvStreamingControl& mpv();
    // The follower was heard: the file before it has ended.
    void followerHeard();
    // The decoder for the file set: it plays through the PCM output, ready at once.
    void install(std::unique_ptr<AudioDecoder> decoder);
    // An MPEG file whose length only a scan of all its frames tells is opened on a thread of
    // its own; the control gets ready when it is done.
    void openInBackground(const QString& path);

    QString pcmFile_;
    QString fileName_;
    std::unique_ptr<PcmPlayer> player_;
    std::unique_ptr<DecodedSource> source_;
    std::unique_ptr<DecodedSource> follower_;
    QString followerPath_;
    // While done() is told for a joined file: the follower's, which setFileName() takes on as
    // it runs; the stop and the empty file name before that leave its sound alone.
    QString handoffPath_;
    bool settled_ = false;  // a file name came meanwhile
    std::unique_ptr<MpvStreamingControl> mpv_;
    bool running_ = false;
    bool ended_ = false;
    int opening_ = 0;  // counts the file names set: a background open of an older one is dropped
    struct Opener {
        std::thread thread;
        std::shared_ptr<std::atomic_bool> finished;
    };
    std::vector<Opener> openers_;
};

}  // namespace marlo
