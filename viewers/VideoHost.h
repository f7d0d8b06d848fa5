#pragma once

#include <QtGlobal>

namespace marlo {

// What the video window needs of the player and the main window above it.
class VideoHost {
  public:
    virtual ~VideoHost() = default;

    // The current item plays in the video window.
    virtual bool playsInVideoWindow() const = 0;
    // Length of the current item in milliseconds.
    virtual qint64 itemLength() const = 0;
    // The running position: `Posit` and the position bar of the main window.
    virtual void showPosition(qint64 elapsedMs) = 0;
    // The current item played to its end.
    virtual void itemEnded() = 0;
    // Moves the main window out of the way (top right) unless it is minimised or maximised.
    virtual void parkMainWindow() = 0;
    // Space, Page Up and Page Down pressed in the video window (32, 33, 34).
    virtual void remoteKey(int keyCode) = 0;
    // The user closed the window (the window manager's close, Alt+F4): the video stops.
    virtual void windowClosed() = 0;
};

}  // namespace marlo
