#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

namespace marlo {

struct PngPart {
    QImage image;  // null when the file could not be read this way
    // Interlaced files cannot be read row by row: their whole image would be in memory.
    bool interlaced = false;
};

// Reads a PNG file row by row and keeps only the part `source` of it (in the file's pixels),
// averaged down to `target` (cut to no more than `source`): it needs memory for one row of the
// file and the target, however large the picture is.
PngPart readPngPart(const QString& path, const QRect& source, QSize target);

}  // namespace marlo
