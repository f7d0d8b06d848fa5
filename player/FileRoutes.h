#pragma once

#include "player/PlaybackRoutes.h"

namespace marlo {

class DisplayModel;
class MediaDevice;
class ModuleLibrary;
class StreamingControl;

// Files through the audio device; modules sent to it open with the module device type.
class AudioDeviceRoute : public PlaybackRouteBase {
  public:
    explicit AudioDeviceRoute(MediaDevice& device) : device_(device) {}

    // Before start(): the item is a module.
    void setModuleType(bool module);
    // The file the device names once the item stopped: none.
    void forgetFile();

    bool start(const QString& path, bool loadOnly) override;
    qint64 length() const override;
    void pause() override;
    void resume() override;
    void stop(bool closeViewer) override;
    void release() override;
    void seek(double fraction) override;
    void prepareNext(const QString& path) override;
    void cancelNext() override;

  private:
    MediaDevice& device_;
};

// Files through the streaming control (MP3, and every audio file with the streaming option).
class StreamingRoute : public PlaybackRouteBase {
  public:
    // The control's position as shown: whole seconds, twice a second so none is skipped.
    static constexpr int kPollMs = 500;

    StreamingRoute(StreamingControl& control, PlaybackEngine& engine)
        : control_(control), engine_(engine) {}

    // How long a start waits for the control to get ready.
    void setReadyWaitLimit(int ms) { readyWaitMs_ = ms; }

    bool start(const QString& path, bool loadOnly) override;
    qint64 length() const override;
    void pause() override;
    void resume() override;
    void stop(bool closeViewer) override;
    void release() override;
    // Gives the file again (a control that played out is ready to move once more), waits for it
    // and plays from the fraction; false when it did not get ready.
    void seek(double fraction) override { reloadAndSeek(fraction); }
    bool reloadAndSeek(double fraction);
    int pollIntervalMs() const override { return kPollMs; }
    void poll() override;
    void prepareNext(const QString& path) override;
    void cancelNext() override;

  private:
    // Gives the control the file and waits until it is ready; false (file given up) if not.
    bool load(const QString& path);

    StreamingControl& control_;
    PlaybackEngine& engine_;
    int readyWaitMs_ = 10000;
};

// Tracker modules through the module library, which tells no end: the position is polled, and
// coming back to the first position is the end.
class ModuleRoute : public PlaybackRouteBase {
  public:
    static constexpr int kPollMs = 150;

    ModuleRoute(ModuleLibrary& library, DisplayModel& display, PlaybackEngine& engine)
        : library_(library), display_(display), engine_(engine) {}

    // Before start(): amplification 0..1000 and the library's filter mode.
    void configure(int volume, int filterMode);
    void setVolume(int volume);
    // The order position where a pause stopped the module.
    int savedPosition() const { return savedPosition_; }

    // Only loading shows the start position and an unknown length; nothing is opened.
    bool start(const QString& path, bool loadOnly) override;
    // The song length in order positions.
    qint64 length() const override { return length_; }
    void pause() override;
    void resume() override;
    void stop(bool closeViewer) override;
    void release() override {}
    void seek(double) override {}
    const TextPair* failureText() const override;
    int pollIntervalMs() const override { return kPollMs; }
    // Shows pattern and row; the end moves the list on.
    void poll() override;

  private:
    ModuleLibrary& library_;
    DisplayModel& display_;
    PlaybackEngine& engine_;
    int volume_ = 100;
    int filterMode_ = 0;
    int handle_ = 0;
    int play_ = 0;
    qint64 length_ = 0;
    int savedPosition_ = 0;
    bool aboveZero_ = false;  // the position left 0 since the module started
};

}  // namespace marlo
