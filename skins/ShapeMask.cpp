#include "skins/ShapeMask.h"

#include <QCache>
#include <QVector>

namespace marlo {
namespace {

// Enough for every state picture of a few skins; a picture is a few kilobytes of rectangles.
constexpr int kCacheEntries = 256;

QCache<qint64, QRegion>& cache() {
    static QCache<qint64, QRegion> shapes(kCacheEntries);
    return shapes;
}

}  // namespace

QRegion ShapeMask::build(const QImage& picture) {
    if (picture.isNull()) {
        return {};
    }
    const QImage image =
        picture.format() == QImage::Format_ARGB32 || picture.format() == QImage::Format_RGB32
            ? picture
            : picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = reinterpret_cast<const QRgb*>(image.constScanLine(0))[0];
    const int width = image.width();
    // One rectangle per run of non-key pixels in a row: rows are y-x banded already, which is
    // what QRegion::setRects expects, so no region arithmetic is needed.
    QVector<QRect> runs;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && row[x] == key) {
                ++x;
            }
            const int start = x;
            while (x < width && row[x] != key) {
                ++x;
            }
            if (x > start) {
                runs.append(QRect(start, y, x - start, 1));
            }
        }
    }
    QRegion region;
    region.setRects(runs.constData(), static_cast<int>(runs.size()));
    return region;
}

QRegion ShapeMask::of(const QPixmap& picture) {
    if (picture.isNull()) {
        return {};
    }
    const qint64 key = picture.cacheKey();
    if (const QRegion* known = cache().object(key)) {
        return *known;
    }
    auto* region = new QRegion(build(picture.toImage()));
    const QRegion result = *region;
    const int cost = 1;
    cache().insert(key, region, cost);
    return result;
}

void ShapeMask::clearCache() {
    cache().clear();
}

int ShapeMask::cachedCount() {
    return static_cast<int>(cache().count());
}

}  // namespace marlo
