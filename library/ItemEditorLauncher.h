#pragma once

#include <QRect>
#include <QString>

namespace marlo {

// How the collection editor opens the item editor. The collection editor has prepared the
// library session (the editor fields, `editedTitle`, the collection) before each call and hides
// itself right after it; the item editor shows the collection editor again when it is done.
// `over` is the collection editor's frame on the screen: the item editor is placed over it
// (placeWindowOver).
class ItemEditorLauncher {
  public:
    virtual ~ItemEditorLauncher() = default;

    // New item: empty fields; the action chooser offers "Add file", "Add Dir" and "Extensions".
    virtual void openNew(const QRect& over) = 0;
    // Edit: the session's editor fields hold the item read from the store and `editedTitle` is
    // `title`; the action chooser offers only "Add file", selected.
    virtual void openEdit(const QString& title, const QRect& over) = 0;
    // CD mode: title "Track 1", track number 1.
    virtual void openCd(const QRect& over) = 0;
};

}  // namespace marlo
