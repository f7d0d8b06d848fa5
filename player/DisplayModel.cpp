#include "player/DisplayModel.h"

#include <algorithm>
#include <cmath>

namespace marlo {

void DisplayModel::setBarFraction(double fraction) {
    if (!std::isfinite(fraction)) {
        fraction = 0;
    }
    set(bar_, std::clamp(fraction, 0.0, 1.0));
}

void DisplayModel::setTransport(ButtonLook look) {
    setPlay(look);
    setPause(look);
    setStop(look);
}

}  // namespace marlo
