#include "tools/skinart/ButtonArt.h"

#include <QLinearGradient>
#include <QPainter>

#include "tools/skinart/SkinStyle.h"

namespace marlo::skinart {
namespace {

QColor mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t),
                            static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

void drawFace(QPainter& p, const QRectF& key, qreal radius, Look look, const SkinStyle& s) {
    QLinearGradient face(key.topLeft(), key.bottomLeft());
    switch (look) {
        case Look::Normal:
            face.setColorAt(0, s.keyTop);
            face.setColorAt(1, s.keyBottom);
            break;
        case Look::Inactive:
            // Flatter and sunk toward the recess: it cannot be pressed now.
            face.setColorAt(0, mix(s.keyTop, s.well, 0.45));
            face.setColorAt(1, mix(s.keyBottom, s.well, 0.35));
            break;
        case Look::Lit:
            face.setColorAt(0, mix(s.keyTop, s.glow, 0.10));
            face.setColorAt(1, mix(s.keyBottom, s.glow, 0.16));
            break;
        case Look::Pressed:
            face.setColorAt(0, s.pressedTop);
            face.setColorAt(1, s.pressedBottom);
            break;
    }
    p.setPen(QPen(s.keyOutline, 1));
    p.setBrush(face);
    p.drawRoundedRect(key, radius, radius);

    const QRectF inner = key.adjusted(1, 1, -1, -1);
    const qreal innerRadius = std::max(0.0, radius - 1);
    QLinearGradient rim(inner.topLeft(), inner.bottomLeft());
    if (look == Look::Pressed) {
        rim.setColorAt(0, s.pressedShadow);
        rim.setColorAt(0.5, withAlpha(s.pressedShadow, 0));
    } else {
        const int alpha =
            look == Look::Inactive ? s.keyHighlight.alpha() / 3 : s.keyHighlight.alpha();
        rim.setColorAt(0, withAlpha(s.keyHighlight, alpha));
        rim.setColorAt(0.45, withAlpha(s.keyHighlight, 0));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(rim), 1));
    p.drawRoundedRect(inner, innerRadius, innerRadius);

    if (look == Look::Lit && key.height() >= 20) {
        // A lamp along the bottom edge of the big keys.
        const qreal w = key.width() * 0.46;
        const QRectF lamp(key.center().x() - w / 2, key.bottom() - 4, w, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(s.glow, 70));
        p.drawRoundedRect(lamp.adjusted(-2, -1, 2, 1), 2, 2);
        p.setBrush(s.accent);
        p.drawRoundedRect(lamp, 1, 1);
    }
}

void drawGlyph(QPainter& p, const QRectF& key, Glyph glyph, Look look, const SkinStyle& s) {
    // The lamp of a lit big key takes the bottom; its symbol moves up a little to match.
    QRectF box = key;
    if (look == Look::Lit && key.height() >= 20) {
        box.translate(0, -1.5);
    }
    if (look == Look::Pressed) {
        // Pushed in: the symbol moves down, by less on the small keys that have no room.
        box.translate(0.5, key.height() >= 20 ? 1 : 0.5);
    }
    const QPainterPath path = glyphPath(glyph, box);
    p.setPen(Qt::NoPen);
    switch (look) {
        case Look::Normal:
            p.setBrush(s.glyphEmboss);
            p.drawPath(path.translated(0, 1));
            p.setBrush(s.glyph);
            break;
        case Look::Inactive:
            p.setBrush(s.glyphInactive);
            break;
        case Look::Lit:
            // A halo built from wide soft strokes, then the bright symbol.
            p.setBrush(Qt::NoBrush);
            for (int width : {6, 4, 2}) {
                p.setPen(
                    QPen(withAlpha(s.glow, 36), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.drawPath(path);
            }
            p.setPen(Qt::NoPen);
            p.setBrush(s.glyphLit);
            break;
        case Look::Pressed:
            p.setBrush(s.glyphPressed);
            break;
    }
    p.drawPath(path);
}

}  // namespace

void drawKey(QPainter& p, const QRect& cell, Glyph glyph, Look look, const SkinStyle& s) {
    p.save();
    p.setClipRect(cell);
    p.fillRect(cell, s.well);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Half-pixel inset puts the 1-pixel outline on whole pixels.
    const QRectF key = QRectF(cell).adjusted(1.5, 1.5, -1.5, -1.5);
    const qreal radius = std::min(s.keyRadius, key.height() / 2);
    drawFace(p, key, radius, look, s);
    drawGlyph(p, key, glyph, look, s);
    p.restore();
}

}  // namespace marlo::skinart
