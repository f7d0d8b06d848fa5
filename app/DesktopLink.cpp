#include "app/DesktopLink.h"

#include <QTimer>

#include "app/CompositionRoot.h"
#include "app/LyricsPlayerLink.h"
#include "app/Marlo.h"

namespace marlo {

DesktopLink::DesktopLink(CompositionRoot& root) : root_(root), window_(root.window()) {}

PlaybackEngine* DesktopLink::engine() {
    return root_.engine();
}

DisplayModel& DesktopLink::display() {
    return window_.displayModel();
}

void DesktopLink::raise() {
    if (window_.isMinimized()) {
        window_.showNormal();
    }
    window_.raise();
    window_.activateWindow();
}

// Closing and dropping run their own waits and questions; they start after the caller has its
// answer, as a click would.
void DesktopLink::quit() {
    QTimer::singleShot(0, &window_, [this] { window_.close(); });
}

void DesktopLink::open(const QStringList& paths) {
    QTimer::singleShot(0, &window_, [this, paths] { root_.dropFiles(paths); });
}

LibrarySession* DesktopLink::library() {
    return root_.library();
}

std::optional<qint64> DesktopLink::heardPositionMs() {
    if (LyricsPlayerLink* link = root_.playerLink()) {
        return link->positionMs();
    }
    return std::nullopt;
}

}  // namespace marlo
