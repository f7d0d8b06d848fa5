#include "base/PlaceWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/WindowPlacement.h"

namespace marlo {

void placeWindowOver(QWidget& window, const QRect& other) {
    const QScreen* screen = QGuiApplication::screenAt(other.center());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    window.move(placeOverMainWindow(other, window.frameGeometry().size(), screenSize));
}

}  // namespace marlo
