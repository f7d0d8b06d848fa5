#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cmath>
#include <optional>

#include "platform/IniFile.h"

namespace marlo::test {

// What screenshots of the real program are held against: the strip skins' own pictures, cut
// and placed from the skin files by their published rules, not by the program's code.

// Cell `cell` of a strip of equal cells, numbered row by row.
inline QImage stripCellOf(const QImage& strip, int rows, int columns, int cell) {
    const int w = strip.width() / columns;
    const int h = strip.height() / rows;
    return strip.copy((cell % columns) * w, (cell / columns) * h, w, h);
}

// A main-window button at rest with nothing to play: where the skin puts it (window pixels) and
// its first picture.
struct RestingButton {
    QString name;
    QPoint at;
    QImage picture;
};

// The nine buttons of strip skin `skin` from "Skins.ini" in `program`.
inline QList<RestingButton> restingButtons(const QString& program, const QString& skin) {
    const struct {
        const char* name;
        const char* strip;
        int rows, columns, cell;
    } table[] = {
        {"Playbut", "Play", 4, 1, 1},
        {"Stopbut", "Stop", 4, 2, 2},
        {"Pausebut", "Stop", 4, 2, 3},
        {"Previousbut", "Seek", 4, 2, 2},
        {"Nextbut", "Seek", 4, 2, 3},
        {"Songbut", "Open", 4, 1, 0},
        {"Schliessenbut", "Functions", 4, 3, 0},
        {"Minibut", "Functions", 4, 3, 1},
        {"Setupbut", "Functions", 4, 3, 2},
    };
    const IniFile skins(program + "Skins.ini");
    QList<RestingButton> buttons;
    for (const auto& row : table) {
        const QStringList twips = skins.read("All Controls", row.name, {}).split(',');
        const QImage strip(skins.read(skin, row.strip, {}));
        const auto pixels = [&](int i) { return int(std::lround(twips.value(i).toDouble() / 15)); };
        buttons.append({row.name, QPoint(pixels(0), pixels(1)),
                        strip.isNull() ? QImage()
                                       : stripCellOf(strip, row.rows, row.columns, row.cell)
                                             .convertToFormat(QImage::Format_RGB32)});
    }
    return buttons;
}

// How many pixels of `part` differ from the area of `shot` at `at` (all of them when the area
// leaves the shot).
inline int differingPixels(const QImage& shot, const QImage& part, QPoint at) {
    if (part.isNull() || !shot.rect().contains(QRect(at, part.size()))) {
        return part.width() * part.height() + 1;
    }
    int differing = 0;
    for (int y = 0; y < part.height(); ++y) {
        for (int x = 0; x < part.width(); ++x) {
            differing +=
                (shot.pixel(at.x() + x, at.y() + y) & 0xFFFFFF) != (part.pixel(x, y) & 0xFFFFFF);
        }
    }
    return differing;
}

// Where `part` appears in `shot`, each colour channel within `tolerance` of it on average (a
// picture scaled on its way to the screen may round a little differently), if anywhere.
inline std::optional<QPoint> findIn(const QImage& shot, const QImage& part, int tolerance = 0) {
    const long budget = long(tolerance) * 3 * part.width() * part.height();
    for (int y = 0; y + part.height() <= shot.height(); ++y) {
        for (int x = 0; x + part.width() <= shot.width(); ++x) {
            long off = 0;
            for (int py = 0; off <= budget && py < part.height(); ++py) {
                for (int px = 0; off <= budget && px < part.width(); ++px) {
                    const QRgb a = shot.pixel(x + px, y + py);
                    const QRgb b = part.pixel(px, py);
                    off += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                           std::abs(qBlue(a) - qBlue(b));
                }
            }
            if (off <= budget) {
                return QPoint(x, y);
            }
        }
    }
    return std::nullopt;
}

}  // namespace marlo::test
