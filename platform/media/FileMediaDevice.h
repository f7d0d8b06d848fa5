#pragma once

#include "MediaDevice.h"

#include <QTimer>
#include <memory>

namespace marlo {

class DecodedSource;
class FluidSynthRenderer;
class MpvPlayer;
class PcmPlayer;

// Error numbers of the media device, after the numbering of the device commands they stand in
// for.
namespace mediaerror {
constexpr int kUnknownCommand = 261;
constexpr int kUnknownDeviceType = 263;
constexpr int kUnsupported = 274;
constexpr int kFileNotFound = 275;
constexpr int kNotOpen = 276;
constexpr int kCannotPlayFile = 296;
}  // namespace mediaerror

// Audio files through the light decoders (libmpg123, libsndfile) and ".mid" files through
// FluidSynth, both played by the PCM output; libmpv only for modules sent to the device and
// for files no light decoder reads.
class FileMediaDevice : public MediaDevice {
    Q_OBJECT
  public:
    // An empty pcmFile plays to the sound server; otherwise the decoded sound is written there,
    // untimed (see MpvPlayer and PcmOutput::setSinkFile).
    explicit FileMediaDevice(QObject* parent = nullptr, const QString& pcmFile = QString());
    ~FileMediaDevice() override;

    void setDeviceType(const QString& type) override { deviceType_ = type; }
    QString deviceType() const override { return deviceType_; }
    void setFileName(const QString& path) override { fileName_ = path; }
    QString fileName() const override { return fileName_; }

    void command(const QString& name) override;
    int error() const override { return error_; }
    bool isOpen() const override { return backend_ != Backend::None; }

    void setTimeFormat(TimeFormat format) override { timeFormat_ = format; }
    void setFrom(qint64 from) override { from_ = from; }
    void setTo(qint64 to) override { to_ = to; }
    void setTrack(int track) override { track_ = track; }

    qint64 length() const override;
    qint64 position() const override;
    qint64 trackPosition() const override { return 0; }
    bool prepareNext(const QString& path) override;
    void cancelNext() override;

    bool isPlaying() const { return playing_; }
    // Whether libmpv has been loaded for a file (tests and measurements).
    bool usesMpv() const { return mpv_ != nullptr; }

  private:
    enum class Backend { None, Mpv, Pcm };

    int open();
    int play();
    void pause();
    void stop();
    void close();
    void finish();
    void checkEndPosition();
    // The follower was heard: the item before it has ended.
    void followerHeard();
    MpvPlayer& mpv();
    PcmPlayer& pcm();

    QString deviceType_;
    QString fileName_;
    QString pcmFile_;
    int error_ = 0;
    TimeFormat timeFormat_ = TimeFormat::Milliseconds;
    qint64 from_ = -1;
    qint64 to_ = -1;
    qint64 playTo_ = -1;  // end of the running play range, -1 for the end of the item
    int track_ = 1;
    Backend backend_ = Backend::None;
    bool playing_ = false;
    bool atEnd_ = false;
    qint64 endPosition_ = 0;
    qint64 lengthMs_ = 0;  // read once loaded: mpv forgets it at the end of the file
    std::unique_ptr<MpvPlayer> mpv_;
    std::unique_ptr<FluidSynthRenderer> midi_;
    std::unique_ptr<DecodedSource> decoded_;
    std::unique_ptr<DecodedSource> follower_;
    QString followerPath_;
    // While done() is told for a joined item: the follower's file, which an open takes on as it
    // plays; the stop and close before that leave its sound alone.
    QString handoffPath_;
    bool settled_ = false;  // an open came meanwhile
    std::unique_ptr<PcmPlayer> pcm_;
    QTimer statusTimer_;
    QTimer rangeTimer_;
};

}  // namespace marlo
