#include "viewers/VideoGeometry.h"

#include <algorithm>

#include "base/Settings.h"
#include "platform/Twips.h"

namespace marlo::videogeometry {

namespace {

constexpr double kParkMarginTwips = 100;

QSize pictureOf(QSize video) {
    return video.isEmpty() ? kNoPicture : video;
}

// A window larger than the screen would show only the middle of the picture (a doubled HD
// video); such a size shrinks to fit, keeping its proportions. Smaller sizes stay as they are.
QSize withinScreen(QSize size, QSize screen) {
    if (size.width() <= screen.width() && size.height() <= screen.height()) {
        return size;
    }
    return fullScreenSize(size, screen, /*keepAspect=*/true);
}

}  // namespace

int zoomPercent(const Settings& settings) {
    if (settings.isSet(option::kVideoDoubleSize)) {
        return 200;
    }
    if (settings.isSet(option::kVideoUserZoom)) {
        return settings.videoZoom;
    }
    return 100;
}

QSize fullScreenSize(QSize video, QSize screen, bool keepAspect) {
    video = pictureOf(video);
    if (!keepAspect) {
        return screen;
    }
    // The smaller of the two ratios: scaling by the longer side alone would push a picture whose
    // proportions lie between the screen's and square (800 x 700 on 1024 x 768) off the screen.
    const double scale = std::min(static_cast<double>(screen.width()) / video.width(),
                                  static_cast<double>(screen.height()) / video.height());
    return {std::min(screen.width(), static_cast<int>(video.width() * scale + 0.5)),
            std::min(screen.height(), static_cast<int>(video.height() * scale + 0.5))};
}

QSize videoPlaySize(QSize video, QSize screen, const Settings& settings) {
    if (settings.isSet(option::kVideoFullscreen)) {
        return fullScreenSize(video, screen, settings.isSet(option::kAspectRatio));
    }
    const QSize picture = pictureOf(video);
    const int zoom = std::max(1, zoomPercent(settings));
    return withinScreen(
        {std::max(1, picture.width() * zoom / 100), std::max(1, picture.height() * zoom / 100)},
        screen);
}

QSize streamingSize(QSize video, QSize screen, const Settings& settings) {
    if (settings.isSet(option::kVideoFullscreen)) {
        return fullScreenSize(video, screen, settings.isSet(option::kAspectRatio));
    }
    const QSize picture = pictureOf(video);
    return withinScreen(settings.isSet(option::kVideoDoubleSize) ? picture * 2 : picture, screen);
}

QPoint parkedTopRight(QSize window, const QRect& screen) {
    const int margin = twipsToPixels(kParkMarginTwips);
    return {screen.x() + screen.width() - window.width() - margin, screen.y() + margin};
}

}  // namespace marlo::videogeometry
