#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <array>
#include <optional>

#include "skins/SkinSlots.h"

namespace marlo {

// The selected skin: what `SelectSkin` read, and what `ApplySkin` lays onto the main window.
struct SkinDefinition {
    QString name;
    SkinKind kind = SkinKind::Strip;
    QPixmap background;
    QString backgroundPath;
    QString task;                            // taskbar picture path, colour number or empty
    std::array<QImage, kStripCount> strips;  // in the order of stripLayouts()
    QString designPath;
    QString baseFolder;  // with trailing separator; may be empty (the current folder)
    QString playPath, stopPath, nextPath, diskPath, optionsPath;
};

// The seven preview holders of the settings dialog and its taskbar swatch.
struct SkinPreviews {
    QPixmap background;  // 1
    QPixmap play;        // 3
    QPixmap stop;        // 4
    QPixmap next;        // 5
    QPixmap disk;        // 6
    QPixmap options;     // 7
    QPixmap taskbar;     // 8
    bool swatchVisible = true;
    QColor swatch;
};

// A place on the main window, in logical pixels.
struct Place {
    bool visible = true;
    QRect geometry;
};

struct TitleLook {
    QRect geometry;
    QColor colour;
    QString fontName;                 // empty: unchanged
    std::optional<double> pointSize;  // unset: unchanged
    std::optional<bool> bold;
    std::optional<bool> italic;
};

// Everything `ApplySkin` does to the main window, worked out without touching a widget, so a
// skin that fails leaves the window as it was.
struct SkinLook {
    SkinKind kind = SkinKind::Strip;
    QPixmap background;
    QSize windowSize;
    // Design skins: the outline (odd-even fill). Strip skins have no outline.
    std::optional<QPolygon> outline;
    // Per SkinButton: visible, and where (size comes from the picture).
    std::array<Place, kSkinButtonCount> buttons;
    SlotPictures pictures;
    TitleLook titel;
    Place axp;
    Place vscroll;
    Place hscroll;
    bool placeVscroll = false;
    bool placeHscroll = false;
    bool infoLabelsVisible = true;  // `Dauer`, `Interpret`, `Posit`, `Label1`
};

inline Place& at(std::array<Place, kSkinButtonCount>& places, SkinButton button) {
    return places[static_cast<size_t>(button)];
}
inline const Place& at(const std::array<Place, kSkinButtonCount>& places, SkinButton button) {
    return places[static_cast<size_t>(button)];
}

}  // namespace marlo
