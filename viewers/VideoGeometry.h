#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace marlo {

struct Settings;

namespace videogeometry {

// What a video without a picture (sound only) shows: a small black window, never one of no size.
inline constexpr QSize kNoPicture{320, 240};

// The zoom of the video device in percent: 200 doubled, the user's factor, else 100.
int zoomPercent(const Settings& settings);

// The picture filling `screen`: stretched to it, or with `keepAspect` as large as fits whole,
// its proportions kept.
QSize fullScreenSize(QSize video, QSize screen, bool keepAspect);

// Size of the video device's picture: full screen (option 2, with option 8 proportions kept) or
// the video's size at the zoom, shrunk to fit the screen when larger.
QSize videoPlaySize(QSize video, QSize screen, const Settings& settings);

// Size of the streaming control's picture: full screen as above, else normal or doubled
// (option 3), shrunk to fit the screen when larger; the streaming control knows no other zoom.
QSize streamingSize(QSize video, QSize screen, const Settings& settings);

// Where the main window parks while a video or picture shows: the top right corner of the
// screen, 100 twips from both edges.
QPoint parkedTopRight(QSize window, const QRect& screen);

}  // namespace videogeometry
}  // namespace marlo
