#include "viewers/VideoPlayer.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "base/Catalogue.h"
#include "base/RemoteKeys.h"
#include "base/Settings.h"
#include "base/texts/PlaybackTexts.h"
#include "base/texts/VideoTexts.h"
#include "platform/Prompts.h"
#include "platform/WindowPlacement.h"
#include "viewers/VideoGeometry.h"
#include "viewers/VideoHost.h"

namespace marlo {

VideoPlayer::VideoPlayer(Settings& settings, Prompts& prompts, VideoHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      settings_(settings),
      prompts_(prompts),
      host_(host),
      videoPlay_(QStringLiteral("VideoPlay"), this),
      activeMovie_(QStringLiteral("ActiveMovie1"), this) {
    setObjectName(QStringLiteral("VideoPlayer"));
    setWindowTitle(Catalogue::text(texts::kVideoPlayerCaption));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setFocusPolicy(Qt::StrongFocus);
    videoPlay_.hide();
    activeMovie_.hide();
    connect(&videoPlay_, &VideoView::stateChanged, this, &VideoPlayer::onVideoPlayState);
    connect(&videoPlay_, &VideoView::ended, this, [this] {
        if (mediaWindowBusy_) {
            mediaWindowBusy_ = false;
            host_.itemEnded();
        }
    });
    connect(&activeMovie_, &VideoView::stateChanged, this, &VideoPlayer::onActiveMovieState);
    connect(&activeMovie_, &VideoView::ended, this, [this] {
        if (!activeMovie_.fileName().isEmpty()) {
            host_.itemEnded();
        }
    });
}

VideoPlayer::~VideoPlayer() = default;

bool VideoPlayer::streaming() const {
    return settings_.isSet(option::kStreamingOnly);
}

VideoView& VideoPlayer::current() {
    return streaming() ? activeMovie_ : videoPlay_;
}

QRect VideoPlayer::screenRect() const {
    const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    return shown != nullptr ? shown->geometry() : QRect(0, 0, 1024, 768);
}

bool VideoPlayer::confirmZoom() {
    if (streaming() || settings_.isSet(option::kVideoFullscreen) ||
        !settings_.isSet(option::kVideoUserZoom) || settings_.videoZoom != 0) {
        return true;
    }
    const auto answer =
        prompts_.input(Catalogue::text(texts::kZoomTitle), Catalogue::text(texts::kZoomPrompt));
    const int zoom = answer ? answer->trimmed().toInt() : 0;
    if (zoom <= 0) {
        return false;
    }
    settings_.videoZoom = static_cast<int16_t>(std::min(zoom, 32767));
    return true;
}

bool VideoPlayer::start(const QString& path, bool loadOnly) {
    VideoView& view = current();
    (streaming() ? videoPlay_ : activeMovie_).close();
    mediaWindowBusy_ = false;
    if (!view.open(path)) {
        return false;
    }
    if (loadOnly) {
        return true;
    }
    const QSize screenSize = screenRect().size();
    if (streaming()) {
        place(view, videogeometry::streamingSize(view.videoSize(), screenSize, settings_));
    } else {
        mediaWindowBusy_ = true;
        place(view, videogeometry::videoPlaySize(view.videoSize(), screenSize, settings_));
    }
    show();
    raise();
    activateWindow();
    view.run();
    return true;
}

qint64 VideoPlayer::length() const {
    const VideoView& view = streaming() ? activeMovie_ : videoPlay_;
    return qRound64(view.duration() * 1000.0);
}

void VideoPlayer::pause() {
    current().pause();
}

void VideoPlayer::resume() {
    current().run();
}

void VideoPlayer::stop(bool closeViewer) {
    mediaWindowBusy_ = false;
    VideoView& view = current();
    view.stop();
    // A video list moving on keeps the window and its last picture until the next one shows.
    if (closeViewer) {
        view.close();
        hide();
    } else if (!streaming()) {
        view.close();
    }
}

void VideoPlayer::release() {
    current().close();
}

void VideoPlayer::seek(double fraction) {
    VideoView& view = current();
    view.seek(fraction * view.duration());
}

void VideoPlayer::tick() {
    if (!host_.playsInVideoWindow()) {
        return;
    }
    VideoView& view = current();
    if (streaming()) {
        // The streaming control reports whole seconds.
        host_.showPosition(qRound64(view.position()) * 1000);
    } else {
        host_.showPosition(qRound64(view.position() * 1000.0));
    }
    // A picture size known only after playing began: the window follows the widget.
    if (!settings_.isSet(option::kVideoFullscreen) && height() != view.height()) {
        place(view, view.size());
    }
}

void VideoPlayer::onVideoPlayState(VideoView::State state) {
    if (state != VideoView::State::Running || !mediaWindowBusy_) {
        return;
    }
    activeMovie_.hide();
    place(videoPlay_, videoPlay_.size());
    host_.parkMainWindow();
}

void VideoPlayer::onActiveMovieState(VideoView::State state) {
    if (state != VideoView::State::Running || !host_.playsInVideoWindow()) {
        return;
    }
    place(activeMovie_, activeMovie_.size());
    host_.parkMainWindow();
}

void VideoPlayer::place(VideoView& view, QSize picture) {
    (&view == &videoPlay_ ? activeMovie_ : videoPlay_).hide();
    view.resize(picture);
    view.show();
    const QRect screenArea = screenRect();
    if (settings_.isSet(option::kVideoFullscreen)) {
        // A real full-screen window: it covers panels, and the pointer does not stay on top.
        setGeometry(screenArea);
        setWindowState(windowState() | Qt::WindowFullScreen);
        view.move((screenArea.width() - picture.width()) / 2,
                  (screenArea.height() - picture.height()) / 2);
        setCursor(Qt::BlankCursor);
        return;
    }
    setWindowState(windowState() & ~Qt::WindowFullScreen);
    unsetCursor();
    view.move(0, 0);
    resize(picture);
    move(centreOnScreen(picture, screenArea));
}

void VideoPlayer::closeEvent(QCloseEvent* event) {
    // Closing it by hand would otherwise leave the video playing, unseen, with its sound on.
    QWidget::closeEvent(event);
    if (host_.playsInVideoWindow()) {
        host_.windowClosed();
    }
}

void VideoPlayer::keyReleaseEvent(QKeyEvent* event) {
    // The way out of a full-screen video, where no window frame offers one.
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
        close();
        return;
    }
    if (const int code = remotekey::fromQtKey(event->key()); code != 0 && !event->isAutoRepeat()) {
        host_.remoteKey(code);
        return;
    }
    QWidget::keyReleaseEvent(event);
}

}  // namespace marlo
