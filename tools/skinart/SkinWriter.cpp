#include "tools/skinart/SkinWriter.h"

#include <QDir>
#include <QPainter>

#include "tools/skinart/ButtonArt.h"
#include "tools/skinart/PanelArt.h"
#include "tools/skinart/SkinGeometry.h"
#include "tools/skinart/SkinStyle.h"

namespace marlo::skinart {

QImage drawStrip(const Strip& strip, const SkinStyle& style) {
    const QSize cell = strip.columns[0].pixels().size();
    QImage image(cell.width() * strip.columnCount, cell.height() * static_cast<int>(kLooks.size()),
                 QImage::Format_RGB32);
    QPainter p(&image);
    for (std::size_t row = 0; row < kLooks.size(); ++row) {
        for (int column = 0; column < strip.columnCount; ++column) {
            const QRect r(QPoint(column * cell.width(), static_cast<int>(row) * cell.height()),
                          cell);
            drawKey(p, r, strip.columns[static_cast<std::size_t>(column)].glyph, kLooks[row],
                    style);
        }
    }
    return image;
}

QStringList writeSkin(const SkinStyle& style, const QString& bilder, QString& error) {
    const QString folder = QDir(bilder).filePath(style.folder);
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("cannot create %1").arg(folder);
        return {};
    }
    QList<QPair<QString, QImage>> pictures;
    pictures.append({style.backgroundName, drawBackground(style)});
    if (style.taskbar) {
        pictures.append({QStringLiteral("Taskbar.bmp"), drawTaskbar(style)});
    }
    for (const Strip& strip : kStrips) {
        pictures.append(
            {QString::fromLatin1(strip.baseName) + style.nameSuffix + QStringLiteral(".bmp"),
             drawStrip(strip, style)});
    }
    QStringList written;
    for (const auto& [name, image] : pictures) {
        const QString path = QDir(folder).filePath(name);
        // 24 bits a pixel: the format every picture reader of the old player's era takes.
        if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) {
            error = QStringLiteral("cannot write %1").arg(path);
            return {};
        }
        written.append(path);
    }
    return written;
}

}  // namespace marlo::skinart
