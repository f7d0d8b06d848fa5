#include "app/MoveProtocol.h"

namespace marlo {

std::optional<QPoint> MoveProtocol::step(Phase phase, QPoint mouse, QPoint windowTopLeft) {
    switch (phase) {
        case Phase::Press:
            if (!dragging_) {
                grab_ = mouse;
                window_ = windowTopLeft;
                dragging_ = true;
            }
            return std::nullopt;
        case Phase::Move:
            if (!dragging_) {
                return std::nullopt;
            }
            window_ += mouse - grab_;
            return window_;
        case Phase::Release:
            dragging_ = false;
            return windowTopLeft;
    }
    return std::nullopt;
}

}  // namespace marlo
