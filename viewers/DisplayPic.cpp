#include "viewers/DisplayPic.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <algorithm>

#include "base/texts/PictureTexts.h"
#include "platform/Twips.h"

namespace marlo {

namespace {
constexpr int kMessageMargin = 24;

QPoint toTwips(QPoint pixels) {
    return pixels * kTwipsPerPixel;
}
QPoint toPixels(QPoint twips) {
    return {twipsToPixels(twips.x()), twipsToPixels(twips.y())};
}
}  // namespace

DisplayPic::DisplayPic(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("DisplayPic"));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, Qt::white);
    setPalette(black);
    setFocusPolicy(Qt::StrongFocus);

    image_ = new QLabel(this);
    image_->setObjectName(QStringLiteral("Image1"));
    image_->setScaledContents(true);
    image_->setAlignment(Qt::AlignCenter);
    image_->setWordWrap(true);
    image_->hide();
    image_->installEventFilter(this);

    slideshow_.setObjectName(QStringLiteral("Slideshow"));
    slideshow_.setInterval(kStandardIntervalMs);
    connect(&slideshow_, &QTimer::timeout, this, &DisplayPic::slideshowTick);
    connect(&decoder_, &PictureDecoder::decoded, this, &DisplayPic::onDecoded);
}

DisplayPic::~DisplayPic() = default;

QRect DisplayPic::screenRect() const {
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    return s != nullptr ? s->geometry() : QRect(0, 0, 1024, 768);
}

PictureRequest DisplayPic::requestFor(const QString& path, const PictureOptions& options) const {
    return {path, options, screenRect().size()};
}

void DisplayPic::present(const QString& path, const PictureOptions& options, bool slideshow) {
    slideshow_.stop();
    slideshowWanted_ = slideshow;
    paused_ = false;
    image_->hide();
    const PictureRequest request = requestFor(path, options);
    wanted_ = request;
    if (const auto kept = decoder_.find(request)) {
        onDecoded(*kept);
        return;
    }
    decoder_.request(request, /*urgent=*/true);
}

void DisplayPic::prefetch(const QString& path, const PictureOptions& options) {
    decoder_.request(requestFor(path, options), /*urgent=*/false);
}

void DisplayPic::stopShow(bool close) {
    slideshow_.stop();
    slideshowWanted_ = false;
    if (close) {
        wanted_.reset();
        drag_.release();
        hide();
    }
}

void DisplayPic::pauseShow() {
    paused_ = true;
    slideshow_.stop();
}

void DisplayPic::resumeShow() {
    paused_ = false;
    startShowIfWanted();
}

void DisplayPic::startShowIfWanted() {
    // While a picture decodes, its pause has not begun yet.
    if (slideshowWanted_ && !paused_ && !wanted_) {
        slideshow_.start();
    }
}

void DisplayPic::onDecoded(const DecodedPicture& picture) {
    if (!wanted_ || !(picture.request == *wanted_)) {
        return;  // decoded ahead, or no longer wanted
    }
    wanted_.reset();
    if (picture.ok()) {
        showPicture(picture);
    } else {
        showFailure(picture);
    }
    startShowIfWanted();
    if (picture.ok()) {
        emit pictureShown(picture.request.path);
    } else {
        emit pictureFailed(picture.request.path);
    }
}

void DisplayPic::showPicture(const DecodedPicture& picture) {
    layout_ = picture.layout;
    image_->setPixmap(QPixmap::fromImage(picture.image));
    // Only the part in the window was decoded.
    const QRect part = layout_.shownPart();
    image_->setGeometry(QRect(layout_.image.topLeft() + part.topLeft(), part.size()));
    placeWindow(layout_);
    image_->show();
}

void DisplayPic::showFailure(const DecodedPicture& picture) {
    const QString name = QFileInfo(picture.request.path).fileName();
    image_->setPixmap(QPixmap());
    image_->setText(picture.tooLarge ? Catalogue::text(texts::kPictureTooLarge)
                                           .arg(name)
                                           .arg(picture.original.width())
                                           .arg(picture.original.height())
                                     : Catalogue::text(texts::kPictureUnreadable).arg(name));
    PictureLayout layout;
    layout.fullScreen = picture.request.options.fullScreen;
    const QSize screen = picture.request.screen;
    if (layout.fullScreen) {
        layout.window = screen;
        layout.image =
            QRect(QPoint(0, 0), screen)
                .adjusted(kMessageMargin, kMessageMargin, -kMessageMargin, -kMessageMargin);
    } else {
        const int width = std::min(screen.width() / 2, image_->sizeHint().width());
        const QSize text(width, image_->heightForWidth(width));
        layout.image = QRect(QPoint(kMessageMargin, kMessageMargin), text);
        layout.window = text + QSize(2 * kMessageMargin, 2 * kMessageMargin);
    }
    layout_ = layout;
    image_->setGeometry(layout.image);
    placeWindow(layout);
    image_->show();
}

void DisplayPic::placeWindow(const PictureLayout& layout) {
    // In full screen the pointer would only cover the picture.
    if (layout.fullScreen) {
        setCursor(Qt::BlankCursor);
        setGeometry(QRect(screenRect().topLeft(), layout.window));
        showFullScreen();
    } else {
        unsetCursor();
        if (isFullScreen()) {
            showNormal();
        }
        // Each picture is centred anew: where the one before left the window (or the user
        // dragged it) may put this one off the screen. The window is never larger than the
        // screen, so its top left stays on it.
        const QRect screen = screenRect();
        setGeometry(QRect(screen.topLeft() + QPoint((screen.width() - layout.window.width()) / 2,
                                                    (screen.height() - layout.window.height()) / 2),
                          layout.window));
        show();
    }
    raise();
    activateWindow();
}

void DisplayPic::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        return;
    }
    const ViewerKey key = viewerKey(event->key());
    if (key.endsShow) {
        emit endShowRequested();
    } else if (key.remoteCode != 0) {
        emit keyForwarded(key.remoteCode);
    }
}

bool DisplayPic::eventFilter(QObject* watched, QEvent* event) {
    if (watched != image_ || isFullScreen()) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            drag_.press(toTwips(mouse->position().toPoint()), toTwips(pos()));
            return true;
        }
        case QEvent::MouseMove: {
            // The pointer in the picture's coordinates as the window stands after the last
            // move, which the window system may not have reported back yet.
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint windowPixels = toPixels(drag_.windowTwips());
            const QPoint inPicture =
                mouse->globalPosition().toPoint() - windowPixels - image_->pos();
            if (const auto to = drag_.move(toTwips(inPicture))) {
                move(toPixels(*to));
            }
            return true;
        }
        case QEvent::MouseButtonRelease:
            drag_.release();
            return true;
        default:
            return QWidget::eventFilter(watched, event);
    }
}

}  // namespace marlo
