#pragma once

#include <Qt>

namespace marlo {

// The key codes other windows hand to the main window's `RemoteMarlo` and the player's
// `remoteKey`, numbered as the window system of the original design numbered the keys.
namespace remotekey {
constexpr int kPlayPause = 32;  // Space
constexpr int kPrevious = 33;   // Page Up
constexpr int kNext = 34;       // Page Down

// The code of a key of our own windows; 0 for a key that is not one of the three.
constexpr int fromQtKey(int key) {
    switch (key) {
        case Qt::Key_Space:
            return kPlayPause;
        case Qt::Key_PageUp:
            return kPrevious;
        case Qt::Key_PageDown:
            return kNext;
        default:
            return 0;
    }
}
}  // namespace remotekey

}  // namespace marlo
