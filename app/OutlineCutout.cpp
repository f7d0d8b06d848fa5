#include "app/OutlineCutout.h"

#include <QEvent>
#include <QPainter>

namespace marlo {

OutlineCutout::OutlineCutout(QWidget& window) : QWidget(&window) {
    setObjectName(QStringLiteral("OutlineCutout"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(window.rect());
    window.installEventFilter(this);
}

bool OutlineCutout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget()) {
        if (event->type() == QEvent::Resize) {
            setGeometry(parentWidget()->rect());
        } else if (event->type() == QEvent::ChildAdded || event->type() == QEvent::Show) {
            raise();  // over the parts added after it
        }
    }
    return false;
}

void OutlineCutout::paintEvent(QPaintEvent*) {
    const QRegion outline = parentWidget()->mask();
    if (outline.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setClipRegion(QRegion(rect()) - outline);
    painter.fillRect(rect(), Qt::transparent);
}

}  // namespace marlo
