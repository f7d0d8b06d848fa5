#include "library/EditorWindows.h"

#include "base/PlaceWindow.h"
#include "cd/CdBase.h"
#include "library/AddDroppedFiles.h"
#include "library/Editierform.h"
#include "library/LibrarySession.h"
#include "library/Musikform.h"
#include "library/PlayerControl.h"

namespace marlo {

EditorWindows::EditorWindows(LibrarySession& session, Settings& settings,
                             CollectionEditor::Player player)
    : session_(session),
      player_(player),
      editierform_(std::make_unique<Editierform>(session, settings)),
      musikform_(std::make_unique<Musikform>(session, player)) {
    musikform_->setItemEditorLauncher(this);
    QObject::connect(&session.chooser, &CollectionChooser::kindChanged, musikform_.get(),
                     [this](MediaKind) { kindSwitched(); });
    QObject::connect(editierform_.get(), &Editierform::handedBack, musikform_.get(), [this](bool) {
        // It shows where it was left: placed over the item editor it would wander with every
        // round trip, as the two windows differ in size.
        storeSelection();
        musikform_->show();  // refreshes the chooser and counts when shown
        musikform_->raise();
    });

    AddDroppedFiles::Hooks hooks;
    hooks.stopPlayback = [player] {
        if (player.control != nullptr) {
            player.control->stopCurrentItem();
        }
    };
    hooks.showItemEditor = [this] {
        placeWindowOver(*editierform_, musikform_->frameGeometry());
        editierform_->open(Editierform::Mode::NewItem);
        musikform_->hide();
    };
    hooks.enablePathField = [this] { editierform_->setPathFieldEnabled(true); };
    drop_ = std::make_unique<AddDroppedFiles>(session, editierform_->adder(), std::move(hooks));
    musikform_->setDropHandler([this](const QStringList& paths) { drop_->onArchiveList(paths); });
}

EditorWindows::~EditorWindows() = default;

void EditorWindows::showCollectionEditor(const QRect& over) {
    // Both open, the collection editor could switch the kind or open another item under the item
    // being edited.
    if (editierform_->isVisible()) {
        editierform_->raise();
        editierform_->activateWindow();
        return;
    }
    placeWindowOver(*musikform_, over);
    musikform_->show();
    musikform_->raise();
}

void EditorWindows::kindSwitched() {
    editierform_->extensionFilter().reset();
}

void EditorWindows::storeSelection() {
    // Cancel may have taken back a collection, a drop may have made the Auto collection: the
    // next start opens the one shown.
    if (player_.settings != nullptr) {
        CollectionEditor::storeSelection(session_, *player_.settings);
    }
}

void EditorWindows::openNew(const QRect& over) {
    placeWindowOver(*editierform_, over);
    editierform_->open(Editierform::Mode::NewItem);
}

void EditorWindows::openEdit(const QString& title, const QRect& over) {
    placeWindowOver(*editierform_, over);
    editierform_->open(Editierform::Mode::Edit, title);
}

void EditorWindows::openCd(const QRect& over) {
    placeWindowOver(*editierform_, over);
    editierform_->open(Editierform::Mode::Cd);
}

void EditorWindows::setCdAccess(CdDrive* drive, std::function<int()> trackCount,
                                std::function<void()> openCd) {
    editierform_->itemEditor().cdBase().setDrive(drive);
    editierform_->setReopenCd(openCd);
    musikform_->setCdAccess(std::move(trackCount), std::move(openCd));
}

void EditorWindows::setLyricsServerChosen(std::function<void(const QString&)> chosen) {
    editierform_->setLyricsServerChosen(std::move(chosen));
}

void EditorWindows::setServerLists(const QStringList& cddb, const QStringList& lyrics) {
    editierform_->setServerLists(cddb, lyrics);
}

}  // namespace marlo
