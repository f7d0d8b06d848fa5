#include "platform/WindowPlacement.h"

#include <algorithm>

namespace marlo {

QPoint placeOverMainWindow(const QRect& mainWindow, const QSize& window, const QSize& screen) {
    int left = mainWindow.left() + (mainWindow.width() - window.width()) / 2;
    int top = mainWindow.top() + static_cast<int>((mainWindow.height() - window.height()) / 2.5);
    left = std::max(left, 0);
    top = std::max(top, 0);
    if (left + window.width() > screen.width()) {
        left = screen.width() - window.width();
    }
    if (top + window.height() > screen.height()) {
        top = screen.height() - window.height();
    }
    return {left, top};
}

QPoint centreOnScreen(const QSize& window, const QRect& screen) {
    return {screen.left() + (screen.width() - window.width()) / 2,
            screen.top() + (screen.height() - window.height()) / 2};
}

}  // namespace marlo
