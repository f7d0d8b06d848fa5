#pragma once

#include <QColor>
#include <QString>

namespace marlo::skinart {

// Everything that makes one default skin look like itself; the drawing code is shared.
struct SkinStyle {
    QString folder;          // below Bilder/
    QString nameSuffix;      // appended to every strip's base name
    QString backgroundName;  // file name of the background
    bool taskbar;            // draws Taskbar.bmp for the remote-control window

    // Body of the window.
    QColor bodyTop, bodyBottom, bodyRimLight, bodyRimDark;
    int grain;          // strength of the brushed streaks, 0 for a smooth body
    qreal bodyRadius;   // rounding of the body inside its frame, 0 for a square plate
    QColor frame;       // shows in the corners a rounded body leaves
    QColor well;        // recesses behind the buttons: also the corners of every key picture
    QColor wellShadow;  // inner shadow of a recess
    qreal wellRadius;

    // The title display.
    QColor displayTop, displayBottom, displayTint, displayRim;
    qreal displayRadius;

    // Keys.
    qreal keyRadius;  // capped at half the key height
    QColor keyTop, keyBottom, keyOutline, keyHighlight;
    QColor pressedTop, pressedBottom, pressedShadow;

    // Symbols on the keys, per look.
    QColor glyph, glyphEmboss, glyphInactive, glyphLit, glyphPressed, glow;

    // Small decorations.
    QColor accent, accentDim;
    bool screws;
};

inline SkinStyle standardStyle() {
    SkinStyle s;
    s.folder = QStringLiteral("Corro");
    s.nameSuffix = QString();
    s.backgroundName = QStringLiteral("Background.bmp");
    s.taskbar = true;
    s.bodyTop = QColor(0x4a, 0x50, 0x58);
    s.bodyBottom = QColor(0x24, 0x28, 0x2d);
    s.bodyRimLight = QColor(0x80, 0x88, 0x92);
    s.bodyRimDark = QColor(0x08, 0x09, 0x0b);
    s.grain = 22;
    s.bodyRadius = 0;
    s.frame = QColor(0x08, 0x09, 0x0b);
    s.well = QColor(0x0f, 0x11, 0x14);
    s.wellShadow = QColor(0, 0, 0, 170);
    s.wellRadius = 4;
    s.displayTop = QColor(0x05, 0x10, 0x15);
    s.displayBottom = QColor(0x0a, 0x1e, 0x27);
    s.displayTint = QColor(0x30, 0xd8, 0xff);
    s.displayRim = QColor(0x3a, 0x8c, 0xa4);
    s.displayRadius = 3;
    s.keyRadius = 3;
    s.keyTop = QColor(0x5e, 0x66, 0x70);
    s.keyBottom = QColor(0x2a, 0x2e, 0x34);
    s.keyOutline = QColor(0x03, 0x04, 0x05);
    s.keyHighlight = QColor(255, 255, 255, 90);
    s.pressedTop = QColor(0x17, 0x1a, 0x1e);
    s.pressedBottom = QColor(0x2e, 0x33, 0x3a);
    s.pressedShadow = QColor(0, 0, 0, 200);
    s.glyph = QColor(0xd8, 0xe8, 0xee);
    s.glyphEmboss = QColor(0, 0, 0, 190);
    s.glyphInactive = QColor(0x5a, 0x62, 0x6b);
    s.glyphLit = QColor(0x6c, 0xee, 0xff);
    s.glyphPressed = QColor(0x8e, 0xdc, 0xf0);
    s.glow = QColor(0x00, 0xc8, 0xff);
    s.accent = QColor(0x38, 0xe0, 0xff);
    s.accentDim = QColor(0x14, 0x4a, 0x58);
    s.screws = true;
    return s;
}

inline SkinStyle vantelStyle() {
    SkinStyle s;
    s.folder = QStringLiteral("Vantel");
    s.nameSuffix = QStringLiteral("2");
    s.backgroundName = QStringLiteral("Background2.bmp");
    s.taskbar = false;
    s.bodyTop = QColor(0xfd, 0xf6, 0xea);
    s.bodyBottom = QColor(0xe9, 0xd6, 0xb8);
    s.bodyRimLight = QColor(0xff, 0xff, 0xff);
    s.bodyRimDark = QColor(0xa9, 0x88, 0x5e);
    s.grain = 0;
    s.bodyRadius = 16;
    s.frame = QColor(0x8a, 0x5a, 0x34);
    s.well = QColor(0xd6, 0xbd, 0x96);
    s.wellShadow = QColor(0x7a, 0x55, 0x2c, 110);
    s.wellRadius = 9;
    s.displayTop = QColor(0x2a, 0x19, 0x0e);
    s.displayBottom = QColor(0x44, 0x2a, 0x18);
    s.displayTint = QColor(0xff, 0x9a, 0x3c);
    s.displayRim = QColor(0xff, 0xf4, 0xe2);
    s.displayRadius = 8;
    s.keyRadius = 100;
    s.keyTop = QColor(0xff, 0xfd, 0xf8);
    s.keyBottom = QColor(0xee, 0xdc, 0xbf);
    s.keyOutline = QColor(0x9a, 0x76, 0x4c);
    s.keyHighlight = QColor(255, 255, 255, 230);
    s.pressedTop = QColor(0xd4, 0xb8, 0x8e);
    s.pressedBottom = QColor(0xec, 0xda, 0xbb);
    s.pressedShadow = QColor(0x6a, 0x45, 0x20, 150);
    s.glyph = QColor(0x6a, 0x40, 0x22);
    s.glyphEmboss = QColor(255, 255, 255, 230);
    s.glyphInactive = QColor(0xcf, 0xb9, 0x98);
    s.glyphLit = QColor(0xf2, 0x6a, 0x0c);
    s.glyphPressed = QColor(0x8c, 0x4a, 0x14);
    s.glow = QColor(0xff, 0x96, 0x28);
    s.accent = QColor(0xff, 0x8a, 0x20);
    s.accentDim = QColor(0xb8, 0x96, 0x6c);
    s.screws = false;
    return s;
}

}  // namespace marlo::skinart
