#pragma once

#include <functional>
#include <memory>

#include "player/PlaybackRoutes.h"

namespace marlo {

class DisplayPic;
class LibrarySession;
class PlaybackEngine;
struct Settings;

// The engine's picture route over the picture viewer `DisplayPic`, made on the first picture.
// The viewer's slideshow ends items through the engine, Enter closes it, and its keys go to the
// main window's keys; the picture after the current one is decoded ahead.
class PictureShow final : public PictureRoute {
  public:
    // `parkMainWindow` moves the main window out of the way when it is in its normal state.
    PictureShow(PlaybackEngine& engine, LibrarySession& library, const Settings& settings,
                std::function<void()> parkMainWindow, std::function<void(int)> remoteKey);
    ~PictureShow() override;

    // Null until the first picture.
    DisplayPic* viewer() const { return viewer_.get(); }

    bool start(const QString& path, bool loadOnly) override;
    qint64 length() const override { return 0; }
    void pause() override;
    void resume() override;
    void stop(bool closeViewer) override;
    // A loaded picture stays on view; the viewer holds nothing else.
    void release() override {}
    void seek(double) override {}
    void showStill(const QString& path) override;

  private:
    DisplayPic& ensureViewer();
    void prefetchNext();

    PlaybackEngine& engine_;
    LibrarySession& library_;
    const Settings& settings_;
    std::function<void()> parkMainWindow_;
    std::function<void(int)> remoteKey_;
    std::unique_ptr<DisplayPic> viewer_;
};

}  // namespace marlo
