#include "viewers/VideoView.h"

#include <QPainter>

#include "base/EventWait.h"

#include "platform/media/MpvPlayer.h"
#include "platform/media/MpvVideoPlayer.h"

namespace marlo {

namespace {
constexpr int kLoadLimitMs = 15000;
constexpr int kFirstFrameLimitMs = 3000;
}  // namespace

VideoView::VideoView(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    // Every pixel is painted here; Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

VideoView::~VideoView() = default;

// Made on first use: mpv with a renderer costs tens of milliseconds and many runs show no video.
MpvVideoPlayer& VideoView::video() {
    if (video_) {
        return *video_;
    }
    video_ = std::make_unique<MpvVideoPlayer>();
    connect(video_.get(), &MpvVideoPlayer::frameReady, this, &VideoView::drawFrame);
    connect(
        &video_->player(), &MpvPlayer::ended, this,
        [this](MpvPlayer::EndReason reason) {
            if (reason != MpvPlayer::EndReason::Eof || atEnd_) {
                return;
            }
            atEnd_ = true;
            setState(State::Stopped);
            emit ended();
        },
        Qt::QueuedConnection);  // what follows the end may load the next file on this player
    return *video_;
}

bool VideoView::open(const QString& path) {
    close();
    MpvVideoPlayer& mpv = video();
    if (!mpv.isValid()) {
        return false;
    }
    // Waits with the event loop running: mpv hands over the first frame while the file loads,
    // and a frame not drawn holds mpv up for 200 ms each (a start took 600 ms that way).
    bool failed = false;
    bool framed = false;
    const QMetaObject::Connection onEnd =
        connect(&mpv.player(), &MpvPlayer::ended, this, [&failed] { failed = true; });
    const QMetaObject::Connection onFrame =
        connect(&mpv, &MpvVideoPlayer::frameReady, this, [&framed] { framed = true; });
    mpv.player().loadAsync(path);
    MpvPlayer& player = mpv.player();
    const bool loaded =
        waitWhileDispatching([&] { return player.isLoaded() || failed; }, kLoadLimitMs);
    if (loaded && player.isLoaded() && mpv.hasPicture()) {
        // The picture's size is known with its first frame.
        waitWhileDispatching([&] { return framed || !player.isLoaded(); }, kFirstFrameLimitMs);
    }
    disconnect(onEnd);
    disconnect(onFrame);
    if (!player.isLoaded()) {
        player.stop();
        return false;
    }
    fileName_ = path;
    videoSize_ = mpv.videoSize();
    atEnd_ = false;
    setState(State::Paused);
    return true;
}

void VideoView::close() {
    if (video_) {
        video_->player().stop();
    }
    fileName_.clear();
    videoSize_ = QSize();
    atEnd_ = false;
    setState(State::Stopped);
    update();
}

void VideoView::run() {
    if (!video_ || fileName_.isEmpty()) {
        return;
    }
    if (atEnd_) {
        // Played out: mpv let go of the file, so it is loaded anew.
        atEnd_ = false;
        if (!video_->player().loadAndWait(fileName_)) {
            return;
        }
    }
    video_->player().play();
    setState(State::Running);
}

void VideoView::pause() {
    if (video_ && state_ == State::Running) {
        video_->player().pause();
        setState(State::Paused);
    }
}

void VideoView::stop() {
    if (!video_ || fileName_.isEmpty()) {
        return;
    }
    video_->player().pause();
    video_->player().seek(0.0);
    setState(State::Stopped);
}

double VideoView::duration() const {
    const double seconds = video_ ? video_->player().duration() : 0.0;
    return seconds > 0 ? seconds : 0.0;
}

double VideoView::position() const {
    if (atEnd_) {
        return duration();
    }
    const double seconds = video_ ? video_->player().position() : 0.0;
    return seconds > 0 ? seconds : 0.0;
}

void VideoView::seek(double seconds) {
    if (video_ && !fileName_.isEmpty()) {
        video_->player().seek(seconds);
    }
}

void VideoView::setState(State state) {
    if (state_ != state) {
        state_ = state;
        emit stateChanged(state);
    }
}

void VideoView::drawFrame() {
    // mpv counts a frame it was not asked to draw as dropped; a hidden widget draws a small one.
    const QSize target = isVisible() ? size() * devicePixelRatio() : QSize(16, 16);
    video_->render(target);
    if (isVisible()) {
        update();
    }
}

void VideoView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QImage* frame = video_ && !fileName_.isEmpty() ? &video_->lastFrame() : nullptr;
    if (frame == nullptr || frame->isNull()) {
        painter.fillRect(rect(), Qt::black);  // no picture (yet)
        return;
    }
    // Drawn at the widget's size, so this is a plain copy; only right after a resize, before
    // the next frame, is the last one scaled.
    painter.drawImage(rect(), *frame);
}

}  // namespace marlo
