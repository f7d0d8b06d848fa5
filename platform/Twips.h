#pragma once

#include <cmath>

namespace marlo {

// Positions in configuration and skin files are in twips (1/1440 inch); at 96 logical dots per
// inch that is 15 twips a pixel. Qt scales logical pixels for HiDPI screens itself.
inline constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
inline double pixelsToTwips(int pixels) {
    return static_cast<double>(pixels) * kTwipsPerPixel;
}

}  // namespace marlo
