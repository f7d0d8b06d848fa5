#include "base/PlaceWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "platform/WindowPlacement.h"

namespace marlo {

bool compositorPlacesWindows() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

namespace {

// The compositor places a transient child over its parent, as the move cannot: the parent is
// the window whose frame `other` is.
void makeTransientChild(QWidget& window, const QRect& other) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* candidate : windows) {
        if (candidate != &window && candidate->isVisible() && candidate->frameGeometry() == other &&
            candidate->windowHandle() != nullptr) {
            window.winId();  // the native window, to hang on its parent before it shows
            window.windowHandle()->setTransientParent(candidate->windowHandle());
            return;
        }
    }
}

}  // namespace

void placeWindowOver(QWidget& window, const QRect& other) {
    const QScreen* screen = QGuiApplication::screenAt(other.center());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    window.move(placeOverMainWindow(other, window.frameGeometry().size(), screenSize));
    if (compositorPlacesWindows()) {
        makeTransientChild(window, other);
    }
}

}  // namespace marlo
