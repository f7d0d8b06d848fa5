#pragma once

#include <QStringList>
#include <functional>
#include <memory>

#include "library/CollectionEditor.h"
#include "library/ItemEditorLauncher.h"

namespace marlo {

class AddDroppedFiles;
class CdDrive;
class Editierform;
class LibrarySession;
class Musikform;
struct Settings;

// The collection editor and the item editor it opens, joined: New, Edit and drops on the
// archive list go to the item editor, which hands back to the collection editor when done.
class EditorWindows : public ItemEditorLauncher {
  public:
    EditorWindows(LibrarySession& session, Settings& settings, CollectionEditor::Player player);
    ~EditorWindows() override;

    Musikform& collectionEditor() { return *musikform_; }
    Editierform& itemEditor() { return *editierform_; }

    void openNew(const QRect& over) override;
    void openEdit(const QString& title, const QRect& over) override;
    void openCd(const QRect& over) override;

    // The main window's Open: the collection editor placed over `over` and shown. While the item
    // editor is open it stays in front instead; the collection editor comes back when it is done.
    void showCollectionEditor(const QRect& over);

    // CD audio: the drive the item editor's CD database client reads, the number of tracks of
    // the disc in it (0: none), and the player's opening of the CD, which lists its tracks.
    void setCdAccess(CdDrive* drive, std::function<int()> trackCount, std::function<void()> openCd);
    // The server boxes of the item editor, as start-up filled them.
    void setServerLists(const QStringList& cddb, const QStringList& lyrics);
    void setLyricsServerChosen(std::function<void(const QString&)> chosen);

    // The kind shown changed (the collection editor's switch, a drop on the main window): the
    // extensions narrowed in the item editor belonged to the old kind.
    void kindSwitched();

  private:
    // The settings follow the kind and collection the session now shows.
    void storeSelection();

    LibrarySession& session_;
    CollectionEditor::Player player_;
    std::unique_ptr<Editierform> editierform_;
    std::unique_ptr<Musikform> musikform_;
    std::unique_ptr<AddDroppedFiles> drop_;
};

}  // namespace marlo
