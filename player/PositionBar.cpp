#include "player/PositionBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace marlo {

PositionBar::PositionBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("AXP"));
    setCursor(Qt::PointingHandCursor);
}

void PositionBar::setFraction(double fraction) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    // Repaint only when the filled part grows by a pixel: a song's position changes every tick.
    const bool visible = qRound(width() * fraction) != qRound(width() * fraction_);
    fraction_ = fraction;
    if (visible) {
        update();
    }
}

void PositionBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 0, 60));
    // Colour 12 of the 16-colour palette: light red.
    p.fillRect(QRectF(0, 0, width() * fraction_, height()), QColor(255, 0, 0));
}

void PositionBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && width() > 0 && rect().contains(event->pos())) {
        emit seekRequested(static_cast<double>(event->position().x()) / width());
    }
}

}  // namespace marlo
