#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "player/PlaybackRoutes.h"
#include "viewers/VideoHost.h"

namespace marlo {

class PlaybackEngine;
class Prompts;
class VideoPlayer;
struct Settings;

// The player's video route over the video window, and the window's link back to the player and
// the main window. The window is made when the first video plays.
class VideoWindowRoute final : public VideoRoute, public VideoHost {
  public:
    // `remoteMarlo` is the main window's key operation (`RemoteMarlo`).
    VideoWindowRoute(PlaybackEngine& engine, Settings& settings, Prompts& prompts,
                     QWidget& mainWindow, std::function<void(int)> remoteMarlo);
    ~VideoWindowRoute() override;

    // The window, once a video played; nullptr before.
    VideoPlayer* window() const { return window_.get(); }

    // VideoRoute
    bool confirmZoom() override;
    bool start(const QString& path, bool loadOnly) override;
    qint64 length() const override;
    void pause() override;
    void resume() override;
    void stop(bool closeViewer) override;
    void release() override;
    void seek(double fraction) override;
    // The window shows the position twice a second while a video plays.
    int pollIntervalMs() const override { return 500; }
    void poll() override;

    // VideoHost
    bool playsInVideoWindow() const override;
    qint64 itemLength() const override;
    void showPosition(qint64 elapsedMs) override;
    void itemEnded() override;
    void parkMainWindow() override;
    void remoteKey(int keyCode) override;
    void windowClosed() override;

  private:
    VideoPlayer& window();

    PlaybackEngine& engine_;
    Settings& settings_;
    Prompts& prompts_;
    QWidget& mainWindow_;
    std::function<void(int)> remoteMarlo_;
    std::unique_ptr<VideoPlayer> window_;
};

}  // namespace marlo
