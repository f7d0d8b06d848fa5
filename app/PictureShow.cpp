#include "app/PictureShow.h"

#include <utility>

#include "base/Settings.h"
#include "library/LibrarySession.h"
#include "platform/Files.h"
#include "player/PlaybackEngine.h"
#include "viewers/DisplayPic.h"

namespace marlo {

PictureShow::PictureShow(PlaybackEngine& engine, LibrarySession& library, const Settings& settings,
                         std::function<void()> parkMainWindow, std::function<void(int)> remoteKey)
    : engine_(engine),
      library_(library),
      settings_(settings),
      parkMainWindow_(std::move(parkMainWindow)),
      remoteKey_(std::move(remoteKey)) {}

PictureShow::~PictureShow() = default;

DisplayPic& PictureShow::ensureViewer() {
    if (!viewer_) {
        viewer_ = std::make_unique<DisplayPic>();
        DisplayPic* viewer = viewer_.get();
        QObject::connect(viewer, &DisplayPic::slideshowTick, &engine_,
                         [this] { engine_.itemFinished(); });
        QObject::connect(viewer, &DisplayPic::endShowRequested, &engine_,
                         [this] { engine_.stopAndCloseViewer(); });
        QObject::connect(viewer, &DisplayPic::keyForwarded, &engine_,
                         [this](int code) { remoteKey_(code); });
    }
    return *viewer_;
}

bool PictureShow::start(const QString& path, bool loadOnly) {
    if (parkMainWindow_) {
        parkMainWindow_();
    }
    DisplayPic& viewer = ensureViewer();
    viewer.setInterval(slideshowIntervalMs(settings_));
    viewer.present(path, pictureOptions(settings_), !loadOnly);
    prefetchNext();
    return true;
}

void PictureShow::pause() {
    if (viewer_) {
        viewer_->pauseShow();
    }
}

void PictureShow::resume() {
    if (viewer_) {
        viewer_->resumeShow();
    }
}

void PictureShow::stop(bool closeViewer) {
    if (viewer_) {
        viewer_->stopShow(closeViewer);
    }
}

void PictureShow::showStill(const QString& path) {
    PictureOptions options = pictureOptions(settings_);
    options.fullScreen = false;
    ensureViewer().present(path, options, /*slideshow=*/false);
}

void PictureShow::prefetchNext() {
    // The entry the slideshow moves on to; repeating one entry needs nothing new.
    const PlaybackList& list = library_.playback;
    const int index = list.selectedIndex();
    if (index < 0 || settings_.isSet(option::kRepeatOne)) {
        return;
    }
    int next = index + 1;
    if (next >= list.count()) {
        if (!settings_.isSet(option::kRepeatAll) || index == 0) {
            return;
        }
        next = 0;
    }
    const QString path = library_.store.ReadItem(library_.kind(), list.at(next)).path;
    // An archive member is only extracted when it plays.
    if (path.contains(QLatin1Char('|')) || !fileExists(path)) {
        return;
    }
    viewer_->prefetch(path, pictureOptions(settings_));
}

}  // namespace marlo
