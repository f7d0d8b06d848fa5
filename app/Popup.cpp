#include "app/Popup.h"

#include <QAction>
#include <QMenu>

#include "app/Marlo.h"
#include "base/texts/SettingsTexts.h"
#include "library/LibrarySession.h"
#include "lyrics/LyricsDisplay.h"

namespace marlo {
namespace {

QAction* addItem(QMenu* menu, const char* name, const TextPair& caption) {
    QAction* action = menu->addAction(Catalogue::text(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

frmPopup::frmPopup(Marlo& window) : QWidget(nullptr), window_(window) {
    setObjectName(QStringLiteral("frmPopup"));
    setWindowTitle(Catalogue::text(texts::popup::kTitle));
    menu_ = new QMenu(Catalogue::text(texts::popup::kMenu), this);
    menu_->setObjectName(QStringLiteral("m_pop"));
    connect(addItem(menu_, "m_open", texts::popup::kOpen), &QAction::triggered, this,
            [this] { window_.openCollectionEditorInstead(); });
    connect(addItem(menu_, "m_set", texts::popup::kSetup), &QAction::triggered, this,
            [this] { window_.showSettingsDialog(); });
    menu_->addSeparator();
    lyrics_ = addItem(menu_, "DispLyrics", texts::popup::kDisplayLyrics);
    lyrics_->setCheckable(true);
    connect(lyrics_, &QAction::triggered, this, &frmPopup::toggleLyrics);
    menu_->addSeparator();
    connect(addItem(menu_, "m_exit", texts::popup::kExit), &QAction::triggered, this,
            [this] { exitRequested_ = true; });
}

frmPopup::~frmPopup() = default;

bool frmPopup::popUp(const QPoint& at) {
    exitRequested_ = false;
    lyrics_->setChecked(lyricsShown());
    menu_->exec(at);
    return exitRequested_;
}

void frmPopup::toggleLyrics() {
    LyricsDisplay* display = window_.lyricsDisplay();
    LibrarySession* library = window_.library();
    // Lyrics belong to songs: not to a video or picture list, nor to an empty list.
    if (display == nullptr || library == nullptr || library->playback.count() == 0 ||
        library->kind() == MediaKind::Video || library->kind() == MediaKind::Pictures) {
        lyrics_->setChecked(lyricsShown());
        return;
    }
    if (display->windowWanted()) {
        display->hideLyrics();
    } else {
        display->showLyrics();
    }
    lyrics_->setChecked(display->windowWanted());
}

bool frmPopup::lyricsShown() const {
    return window_.lyricsWindowShown();
}

}  // namespace marlo
