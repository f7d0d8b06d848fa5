#include "app/VolumeBar.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPolygonF>
#include <QProxyStyle>
#include <QStyleOptionSlider>
#include <algorithm>

namespace marlo {
namespace {

// Long enough to grab, short enough to show where it stands.
constexpr int kThumbLength = 8;

const QColor kGroove(16, 18, 22);
const QColor kLit(110, 96, 0);
const QColor kButton(200, 200, 200);
const QColor kEdge(0, 0, 0);

// The style's own layout and hit testing, with a short thumb: drawing and the mouse agree on
// where each part lies.
class ShortThumbStyle : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_ScrollBarSliderMin) {
            return kThumbLength;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

void drawArrow(QPainter& painter, const QRect& button, Qt::ArrowType direction) {
    painter.fillRect(button, kButton);
    const QRectF r = QRectF(button).adjusted(2.5, 2.5, -2.5, -2.5);
    if (r.width() <= 0 || r.height() <= 0) {
        return;
    }
    const QPointF c = r.center();
    const double h = std::min(r.width(), r.height()) / 2;
    QPolygonF arrow;
    switch (direction) {
        case Qt::UpArrow:
            arrow << QPointF(c.x() - h, c.y() + h / 2) << QPointF(c.x() + h, c.y() + h / 2)
                  << QPointF(c.x(), c.y() - h / 2);
            break;
        case Qt::DownArrow:
            arrow << QPointF(c.x() - h, c.y() - h / 2) << QPointF(c.x() + h, c.y() - h / 2)
                  << QPointF(c.x(), c.y() + h / 2);
            break;
        case Qt::LeftArrow:
            arrow << QPointF(c.x() + h / 2, c.y() - h) << QPointF(c.x() + h / 2, c.y() + h)
                  << QPointF(c.x() - h / 2, c.y());
            break;
        default:
            arrow << QPointF(c.x() - h / 2, c.y() - h) << QPointF(c.x() - h / 2, c.y() + h)
                  << QPointF(c.x() + h / 2, c.y());
            break;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(kEdge);
    painter.drawPolygon(arrow);
}

}  // namespace

VolumeBar::VolumeBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
    auto* style = new ShortThumbStyle;
    style->setParent(this);
    setStyle(style);
    setRange(0, kMaximum);
    setSingleStep(10);
    setPageStep(50);
    // A click gives it the focus, as the arrow keys need.
    setFocusPolicy(Qt::ClickFocus);
}

int VolumeBar::level() const {
    return orientation() == Qt::Vertical ? kMaximum - value() : value();
}

void VolumeBar::setLevel(int level) {
    setValue(orientation() == Qt::Vertical ? kMaximum - level : level);
}

void VolumeBar::paintEvent(QPaintEvent*) {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const auto part = [&](QStyle::SubControl control) {
        return style()->subControlRect(QStyle::CC_ScrollBar, &option, control, this);
    };
    const bool vertical = orientation() == Qt::Vertical;
    const QRect groove = part(QStyle::SC_ScrollBarGroove);
    const QRect thumb = part(QStyle::SC_ScrollBarSlider);
    // The loud side: below the thumb on the vertical bar, left of it on the horizontal one.
    const QRect lit = part(vertical ? QStyle::SC_ScrollBarAddPage : QStyle::SC_ScrollBarSubPage);

    QPainter painter(this);
    painter.fillRect(rect(), kEdge);
    painter.fillRect(groove, kGroove);
    painter.fillRect(lit, kLit);
    painter.setRenderHint(QPainter::Antialiasing);
    drawArrow(painter, part(QStyle::SC_ScrollBarSubLine), vertical ? Qt::UpArrow : Qt::LeftArrow);
    drawArrow(painter, part(QStyle::SC_ScrollBarAddLine),
              vertical ? Qt::DownArrow : Qt::RightArrow);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(thumb, kEdge);
    painter.fillRect(thumb.adjusted(1, 1, -1, -1), QColor::fromRgb(kThumbColour));
}

void VolumeBar::keyPressEvent(QKeyEvent* event) {
    // Only the arrows along the bar: Up on the horizontal bar would turn it down. Space, Page
    // Up and Page Down stay the transport keys of the window.
    const bool along = orientation() == Qt::Vertical
                           ? event->key() == Qt::Key_Up || event->key() == Qt::Key_Down
                           : event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
    if (along) {
        QScrollBar::keyPressEvent(event);
    } else {
        event->ignore();
    }
}

}  // namespace marlo
