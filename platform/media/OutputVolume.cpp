#include "platform/media/OutputVolume.h"

#include <algorithm>
#include <cmath>

namespace marlo {

std::atomic<double> OutputVolume::level_{1.0};

OutputVolume& OutputVolume::instance() {
    static OutputVolume volume;
    return volume;
}

bool OutputVolume::setLevel(double level) {
    if (std::isnan(level)) {
        return false;
    }
    level = std::clamp(level, 0.0, 1.0);
    if (level_.exchange(level) != level) {
        emit changed(level);
    }
    return true;
}

}  // namespace marlo
