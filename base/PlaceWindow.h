#pragma once

#include <QRect>

class QWidget;

namespace marlo {

// Moves `window` over another window's frame `other` (both in screen coordinates): centred
// horizontally, its top at other's top + (other's height - its height) / 2.5, kept at least at
// 0 and moved back onto the screen at the right and bottom. The window keeps its size.
// Where the compositor places windows (Wayland), the window becomes a transient child of the
// window at `other` instead, which the compositor puts over it.
void placeWindowOver(QWidget& window, const QRect& other);

// Wayland: no client places or moves its own windows.
bool compositorPlacesWindows();

}  // namespace marlo
