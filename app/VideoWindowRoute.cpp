#include "app/VideoWindowRoute.h"

#include <QScreen>
#include <QTimer>

#include "base/Settings.h"
#include "player/PlaybackEngine.h"
#include "viewers/VideoGeometry.h"
#include "viewers/VideoPlayer.h"

namespace marlo {

VideoWindowRoute::VideoWindowRoute(PlaybackEngine& engine, Settings& settings, Prompts& prompts,
                                   QWidget& mainWindow, std::function<void(int)> remoteMarlo)
    : engine_(engine),
      settings_(settings),
      prompts_(prompts),
      mainWindow_(mainWindow),
      remoteMarlo_(std::move(remoteMarlo)) {}

VideoWindowRoute::~VideoWindowRoute() = default;

VideoPlayer& VideoWindowRoute::window() {
    if (!window_) {
        window_ = std::make_unique<VideoPlayer>(settings_, prompts_, *this);
    }
    return *window_;
}

bool VideoWindowRoute::confirmZoom() {
    return window().confirmZoom();
}

bool VideoWindowRoute::start(const QString& path, bool loadOnly) {
    return window().start(path, loadOnly);
}

qint64 VideoWindowRoute::length() const {
    return window_ ? window_->length() : 0;
}

void VideoWindowRoute::pause() {
    window().pause();
}

void VideoWindowRoute::resume() {
    window().resume();
}

void VideoWindowRoute::stop(bool closeViewer) {
    if (window_) {
        window_->stop(closeViewer);
    }
}

void VideoWindowRoute::release() {
    if (window_) {
        window_->release();
    }
}

void VideoWindowRoute::seek(double fraction) {
    window().seek(fraction);
}

void VideoWindowRoute::poll() {
    if (window_) {
        window_->tick();
    }
}

bool VideoWindowRoute::playsInVideoWindow() const {
    return engine_.state().route == PlaybackRoute::Video;
}

qint64 VideoWindowRoute::itemLength() const {
    return engine_.state().length;
}

void VideoWindowRoute::showPosition(qint64 elapsedMs) {
    engine_.showElapsed(elapsedMs);
}

void VideoWindowRoute::itemEnded() {
    if (engine_.state().route == PlaybackRoute::Video && engine_.state().playing) {
        engine_.itemFinished();
    }
}

void VideoWindowRoute::parkMainWindow() {
    if (mainWindow_.isMinimized() || mainWindow_.isMaximized() || mainWindow_.screen() == nullptr) {
        return;
    }
    mainWindow_.move(videogeometry::parkedTopRight(mainWindow_.frameGeometry().size(),
                                                   mainWindow_.screen()->geometry()));
    // Each video window comes up on top; the main window's buttons must stay within reach
    // above one that leaves the screen's corner free.
    if (!settings_.isSet(option::kVideoFullscreen)) {
        mainWindow_.raise();
    }
}

void VideoWindowRoute::remoteKey(int keyCode) {
    remoteMarlo_(keyCode);
}

void VideoWindowRoute::windowClosed() {
    engine_.stopAndCloseViewer();
}

}  // namespace marlo
