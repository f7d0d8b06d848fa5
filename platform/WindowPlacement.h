#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace marlo {

// Where a window goes when it is placed over the main window: centred horizontally on it, its top
// at main top + (main height - window height) / 2.5, kept at least at 0 and moved back so that
// its right and bottom edges stay on the screen.
QPoint placeOverMainWindow(const QRect& mainWindow, const QSize& window, const QSize& screen);

// Top-left corner that centres a window on the screen.
QPoint centreOnScreen(const QSize& window, const QRect& screen);

}  // namespace marlo
