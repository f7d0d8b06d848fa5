#include "tools/skinart/Glyphs.h"

#include <QPainterPathStroker>
#include <QPolygonF>
#include <QtMath>

namespace marlo::skinart {
namespace {

// Glyph height for a key of this height: large keys get a bold symbol, the small function keys
// one that still reads at a glance.
qreal glyphHeight(qreal cellHeight) {
    if (cellHeight >= 24) {
        return 12;
    }
    if (cellHeight >= 15) {
        return 8;
    }
    return 6;
}

QPainterPath triangle(qreal left, qreal top, qreal width, qreal height, bool pointsRight) {
    QPolygonF poly;
    if (pointsRight) {
        poly << QPointF(left, top) << QPointF(left + width, top + height / 2)
             << QPointF(left, top + height);
    } else {
        poly << QPointF(left + width, top) << QPointF(left, top + height / 2)
             << QPointF(left + width, top + height);
    }
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

QPainterPath skip(QPointF c, qreal g, bool forward) {
    const qreal bar = std::max(1.5, g * 0.18);
    const qreal tri = g * 0.62;
    const qreal total = bar + 2 * tri - g * 0.08;
    const qreal left = c.x() - total / 2;
    const qreal top = c.y() - g / 2;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (forward) {
        path.addPath(triangle(left, top, tri, g, true));
        path.addPath(triangle(left + tri - g * 0.08, top, tri, g, true));
        path.addRect(QRectF(left + total - bar, top, bar, g));
    } else {
        path.addRect(QRectF(left, top, bar, g));
        path.addPath(triangle(left + bar, top, tri, g, false));
        path.addPath(triangle(left + bar + tri - g * 0.08, top, tri, g, false));
    }
    return path;
}

QPainterPath folder(QPointF c, qreal g) {
    const qreal w = g * 1.45;
    const qreal h = g * 1.05;
    const qreal left = c.x() - w / 2;
    const qreal top = c.y() - h / 2;
    const qreal tab = h * 0.22;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    // Tab and body.
    path.addRoundedRect(QRectF(left, top, w * 0.45, tab + 2), 1, 1);
    path.addRoundedRect(QRectF(left, top + tab, w, h - tab), 1.2, 1.2);
    // The opening line of the front flap, cut out.
    QPainterPath flap;
    flap.addRect(QRectF(left + 1.2, top + tab + h * 0.2, w - 2.4, std::max(1.0, h * 0.08)));
    return path.subtracted(flap);
}

QPainterPath cross(QPointF c, qreal g) {
    // The stroke's width counts into the glyph's height.
    const qreal r = g * 0.4;
    QPainterPath lines;
    lines.moveTo(c.x() - r, c.y() - r);
    lines.lineTo(c.x() + r, c.y() + r);
    lines.moveTo(c.x() + r, c.y() - r);
    lines.lineTo(c.x() - r, c.y() + r);
    QPainterPathStroker stroker;
    stroker.setWidth(std::max(1.4, g * 0.26));
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(lines).simplified();
}

QPainterPath gear(QPointF c, qreal g) {
    const int teeth = 8;
    const qreal outer = g * 0.6;
    const qreal inner = g * 0.42;
    QPolygonF poly;
    for (int i = 0; i < teeth * 4; ++i) {
        // Each tooth: rise, top, fall, root.
        const qreal a = (i / 4 + (i % 4) * 0.25) * 2 * M_PI / teeth;
        const bool high = (i % 4) == 1 || (i % 4) == 2;
        const qreal r = high ? outer : inner;
        poly << QPointF(c.x() + r * qCos(a), c.y() + r * qSin(a));
    }
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, g * 0.18, g * 0.18);
    return path.subtracted(hole);
}

}  // namespace

QPainterPath glyphPath(Glyph glyph, const QRectF& cell) {
    const qreal g = glyphHeight(cell.height());
    const QPointF c = cell.center();
    QPainterPath path;
    switch (glyph) {
        case Glyph::Play: {
            const qreal w = g * 0.92;
            // Shifted right a little: a triangle's weight sits left of its box centre.
            return triangle(c.x() - w / 2 + g * 0.08, c.y() - g / 2, w, g, true);
        }
        case Glyph::Pause: {
            const qreal bar = g * 0.32;
            const qreal gap = g * 0.28;
            path.addRoundedRect(QRectF(c.x() - gap / 2 - bar, c.y() - g / 2, bar, g), 0.8, 0.8);
            path.addRoundedRect(QRectF(c.x() + gap / 2, c.y() - g / 2, bar, g), 0.8, 0.8);
            return path;
        }
        case Glyph::Stop: {
            const qreal s = g * 0.86;
            path.addRoundedRect(QRectF(c.x() - s / 2, c.y() - s / 2, s, s), 1.2, 1.2);
            return path;
        }
        case Glyph::Previous:
            return skip(c, g, false);
        case Glyph::Next:
            return skip(c, g, true);
        case Glyph::Open:
            return folder(c, g);
        case Glyph::Close:
            return cross(c, g);
        case Glyph::Minimize: {
            const qreal w = g * 1.3;
            const qreal h = std::max(1.6, g * 0.28);
            path.addRoundedRect(QRectF(c.x() - w / 2, c.y() + g * 0.35 - h, w, h), 0.6, 0.6);
            return path;
        }
        case Glyph::Setup:
            return gear(c, g);
    }
    return path;
}

}  // namespace marlo::skinart
