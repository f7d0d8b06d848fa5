#include "base/CaptionSwitch.h"

#include <QList>

namespace marlo {
namespace {
bool g_english = false;
QList<CaptionedWindow*>& liveWindows() {
    static QList<CaptionedWindow*> windows;
    return windows;
}
}  // namespace

void CaptionSwitch::apply(const QString& language) {
    if (language.compare(QLatin1String("English"), Qt::CaseInsensitive) != 0) {
        return;
    }
    g_english = true;
    for (CaptionedWindow* window : liveWindows()) {
        window->applyEnglishCaptions();
    }
}

bool CaptionSwitch::englishCaptions() {
    return g_english;
}

void CaptionSwitch::adopt(CaptionedWindow& window) {
    if (g_english) {
        window.applyEnglishCaptions();
    }
}

void CaptionSwitch::registerWindow(CaptionedWindow* window) {
    if (!liveWindows().contains(window)) {
        liveWindows().append(window);
    }
}

void CaptionSwitch::unregisterWindow(CaptionedWindow* window) {
    liveWindows().removeAll(window);
}

void CaptionSwitch::resetForTests() {
    g_english = false;
    liveWindows().clear();
}

}  // namespace marlo
