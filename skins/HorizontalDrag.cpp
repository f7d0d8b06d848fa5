#include "skins/HorizontalDrag.h"

#include <algorithm>

namespace marlo {

void HorizontalDrag::press(int mouseX, int windowLeft) {
    dragging_ = true;
    grabX_ = mouseX;
    startLeft_ = windowLeft;
}

std::optional<int> HorizontalDrag::move(int mouseX, Screen screen, int windowWidth) const {
    if (!dragging_) {
        return std::nullopt;
    }
    const int wanted = startLeft_ + (mouseX - grabX_);
    // A window wider than the screen keeps its left edge on the screen's.
    const int rightmost = std::max(screen.left, screen.left + screen.width - windowWidth);
    return std::clamp(wanted, screen.left, rightmost);
}

}  // namespace marlo
