#pragma once

#include <QImage>
#include <QPixmap>
#include <QRegion>

namespace marlo {

// The shape of a masked skin picture: every pixel whose colour differs from the top-left pixel's
// (the key colour) belongs to it. Design skins set a mask on every press and release, so shapes
// are cached per picture.
class ShapeMask {
  public:
    // The region of non-key pixels, in picture pixels; empty for a one-colour picture.
    static QRegion of(const QPixmap& picture);
    // Built afresh, without the cache.
    static QRegion build(const QImage& picture);

    static void clearCache();
    static int cachedCount();
};

}  // namespace marlo
