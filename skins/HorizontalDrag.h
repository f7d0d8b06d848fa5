#pragma once

#include <optional>

namespace marlo {

// Dragging the remote-control window sideways: it follows the mouse's horizontal movement and
// its left edge stays between the screen's left edge and the screen's width minus its own.
// Coordinates are global pixels.
class HorizontalDrag {
  public:
    struct Screen {
        int left;
        int width;
    };

    void press(int mouseX, int windowLeft);
    // The window's new left edge while dragging; nothing when no drag is under way.
    std::optional<int> move(int mouseX, Screen screen, int windowWidth) const;
    void release() { dragging_ = false; }
    bool dragging() const { return dragging_; }

  private:
    bool dragging_ = false;
    int grabX_ = 0;
    int startLeft_ = 0;
};

}  // namespace marlo
