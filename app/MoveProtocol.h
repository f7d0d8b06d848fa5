#pragma once

#include <QPoint>
#include <optional>

namespace marlo {

// Dragging the frameless main window by any of its labels or its background. Coordinates are
// the mouse position inside the pressed widget and the window's top-left, both in twips.
class MoveProtocol {
  public:
    enum class Phase { Press, Move, Release };

    // Returns the window's new top-left for a move, and on release the position to remember.
    std::optional<QPoint> step(Phase phase, QPoint mouse, QPoint windowTopLeft);
    bool dragging() const { return dragging_; }

  private:
    bool dragging_ = false;
    QPoint grab_;
    QPoint window_;
};

}  // namespace marlo
