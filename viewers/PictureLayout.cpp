#include "viewers/PictureLayout.h"

#include <algorithm>
#include <cmath>

#include "base/RemoteKeys.h"
#include "base/Settings.h"
#include "platform/Twips.h"

namespace marlo {

namespace {
constexpr int kParkMarginTwips = 100;
constexpr int kStandardPauseMs = 2000;

QSize scaled(QSize size, double factor) {
    return {std::max(1, static_cast<int>(std::lround(size.width() * factor))),
            std::max(1, static_cast<int>(std::lround(size.height() * factor)))};
}

int toTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}
}  // namespace

PictureOptions pictureOptions(const Settings& settings) {
    PictureOptions options;
    options.fullScreen = settings.isSet(option::kPicturesFullscreen);
    if (settings.isSet(option::kPictureZoom) && settings.pictureZoom > 0) {
        options.zoomPercent = settings.pictureZoom;
    }
    return options;
}

int slideshowIntervalMs(const Settings& settings) {
    if (!settings.isSet(option::kSlideshowPause)) {
        return kStandardPauseMs;
    }
    return std::max<int>(1, settings.slideshowPause) * 1000;
}

QRect PictureLayout::shownPart() const {
    return QRect(-image.topLeft(), window).intersected(QRect(QPoint(0, 0), image.size()));
}

QSize PictureLayout::windowTwips() const {
    return {toTwips(window.width()), toTwips(window.height())};
}

QRect PictureLayout::imageTwips() const {
    return {toTwips(image.x()), toTwips(image.y()), toTwips(image.width()),
            toTwips(image.height())};
}

PictureLayout layoutPicture(QSize picture, QSize screen, const PictureOptions& options) {
    PictureLayout layout;
    if (picture.isEmpty()) {
        return layout;
    }
    if (options.fullScreen && !screen.isEmpty()) {
        layout.fullScreen = true;
        layout.factor = std::min(static_cast<double>(screen.width()) / picture.width(),
                                 static_cast<double>(screen.height()) / picture.height());
        const QSize image = scaled(picture, layout.factor);
        layout.window = screen;
        layout.image = QRect(
            QPoint((screen.width() - image.width()) / 2, (screen.height() - image.height()) / 2),
            image);
        return layout;
    }
    const QSize image =
        options.zoomPercent > 0 ? scaled(picture, options.zoomPercent / 100.0) : picture;
    // A picture larger than the screen shows its middle: the window is no larger than the
    // screen, and the picture is centred in it.
    layout.window = screen.isEmpty() ? image : image.boundedTo(screen);
    layout.image = QRect(QPoint((layout.window.width() - image.width()) / 2,
                                (layout.window.height() - image.height()) / 2),
                         image);
    return layout;
}

QPoint parkedPositionTwips(int screenWidthTwips, int windowWidthTwips) {
    return {screenWidthTwips - windowWidthTwips - kParkMarginTwips, kParkMarginTwips};
}

ViewerKey viewerKey(int qtKey) {
    if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter || qtKey == Qt::Key_Escape) {
        return {true, 0};
    }
    return {false, remotekey::fromQtKey(qtKey)};
}

void PictureDrag::press(QPoint pointerTwips, QPoint windowTwips) {
    if (dragging_) {
        return;
    }
    dragging_ = true;
    start_ = pointerTwips;
    window_ = windowTwips;
}

std::optional<QPoint> PictureDrag::move(QPoint pointerTwips) {
    if (!dragging_) {
        return std::nullopt;
    }
    window_ += pointerTwips - start_;
    return window_;
}

}  // namespace marlo
