#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace marlo {

struct Settings;

// How the picture options of the settings dialog want a picture shown.
struct PictureOptions {
    bool fullScreen = false;
    int zoomPercent = 0;  // 0: the picture's own size

    bool operator==(const PictureOptions&) const = default;
};

// Options 17 (full screen) and 18 (zoom) with the zoom of the settings. A zoom of 0 or less
// would give an empty window; such a picture keeps its own size.
PictureOptions pictureOptions(const Settings& settings);

// The slideshow pause: option 16's seconds, else 2 s; never below one second, so a pause field of
// 0 cannot race through the list.
int slideshowIntervalMs(const Settings& settings);

// Where the viewer window and its picture go, in logical pixels.
struct PictureLayout {
    QSize window;        // the screen in full screen
    QRect image;         // inside the window
    double factor = -1;  // the screen fit; -1 when the picture is not fitted to the screen
    bool fullScreen = false;

    // The part of the picture inside the window, in the picture's coordinates as shown.
    QRect shownPart() const;
    QSize windowTwips() const;
    QRect imageTwips() const;
};

// Full screen fits the picture by the smaller of the two ratios, so no part of it leaves the
// screen, and centres it; zoom scales it; otherwise it keeps its own size. The window takes the
// size of the picture unless it is full screen; a side larger than the screen's is cut to the
// screen's, with the picture's middle in view.
PictureLayout layoutPicture(QSize picture, QSize screen, const PictureOptions& options);

// The main window's place while a picture shows: top right, 100 twips from the screen's edges.
QPoint parkedPositionTwips(int screenWidthTwips, int windowWidthTwips);

// What a released key does in the viewer.
struct ViewerKey {
    bool endsShow = false;
    int remoteCode = 0;  // passed to the main window's keys; 0 for none
};
ViewerKey viewerKey(int qtKey);

// Dragging the borderless viewer by its picture. Positions are whole twips: the pointer in the
// picture's coordinates, the window on the screen.
class PictureDrag {
  public:
    // Mouse down: starts a drag unless one runs.
    void press(QPoint pointerTwips, QPoint windowTwips);
    // Mouse move: the window's new position while dragging, else nothing.
    std::optional<QPoint> move(QPoint pointerTwips);
    void release() { dragging_ = false; }
    bool dragging() const { return dragging_; }
    // The window's position as the drag last left it.
    QPoint windowTwips() const { return window_; }

  private:
    bool dragging_ = false;
    QPoint start_;
    QPoint window_;
};

}  // namespace marlo
