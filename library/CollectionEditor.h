#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>

#include "base/Settings.h"
#include "library/ItemRecord.h"
#include "library/OpenKind.h"

namespace marlo {

class LibrarySession;
class PlayerControl;

// What the collection editor does, without its window: moving titles between the archive list
// and the playback list, switching kinds and collections, creating collections, preparing the
// item editor, deleting items and collections, and handing the playback list to the player.
// Messages and questions go through the session's prompts.
class CollectionEditor : public QObject {
    Q_OBJECT
  public:
    // The player side; each may be null (no player yet, or a test without one).
    struct Player {
        PlayerControl* control = nullptr;
        Settings* settings = nullptr;  // kind and collection number, stored on exit
    };
    // A number in [0, 1).
    using RandomSource = std::function<double()>;

    enum class DeleteResult {
        Nothing,            // no selection, no collection, or CD audio
        RefusedPlaying,     // a title plays; the user was told
        Declined,           // the user answered No
        Deleted,            // the item is gone, its collection stays
        CollectionRemoved,  // the item or collection is gone with its collection
        Failed,             // the user was told; the lists show the files as they are now
    };

    CollectionEditor(LibrarySession& session, Player player, RandomSource random = {},
                     QObject* parent = nullptr);

    LibrarySession& session() { return session_; }
    MediaKind kind() const;

    // The entry now playing: the playback entry whose text equals the title being played, while
    // a title plays. Empty otherwise.
    QString playingEntry() const;
    bool titlePlaying() const { return !playingEntry().isEmpty(); }

    // ---- Moving titles --------------------------------------------------------------------
    // "Add >" and a double-click in the archive list: these archive rows, top to bottom, to the
    // end of the playback list.
    void addToPlayback(const QList<int>& archiveRows);
    // "Add all >".
    void addAllToPlayback();
    // "< Add" and a double-click in the playback list; false for the entry now playing.
    bool returnToArchive(int playbackRow);
    // "< Add all": everything but the entry now playing, which becomes the first and current.
    void returnAllToArchive();
    // "Random": the whole archive list into the playback list in random order.
    void randomOrder();

    // ---- Kinds and collections ------------------------------------------------------------
    static MediaKind nextKind(MediaKind kind);
    // The kind switch and the keys F2 to F5: stops playback, empties both lists and opens the
    // first collection of the kind.
    OpenKind::Outcome switchKind(MediaKind kind);
    // A choice in the collection chooser.
    OpenKind::Outcome chooseCollection(int index);
    // Enter in the chooser with a typed name: false (after a hint) when the kind already has a
    // collection of this exact name; otherwise as prepareNewItem.
    bool newCollection(const QString& name);
    // Makes the collection: chooser entry, empty lists, line in the kind list file. Also the
    // step of the drop flow that files dropped files into a new collection. False (after a
    // message) for a name that cannot name a file.
    bool createCollection(const QString& name);
    // Step 1 of "New item" for kinds other than CD audio, with the name in the chooser's text
    // field ("Auto collection" when it is empty): creates the collection when the kind list
    // lacks it, or opens it when another one is shown. True when the item editor may open;
    // false (after a message) for a name that cannot name a file.
    bool prepareNewItem(const QString& typedName);
    // "Edit": the title of the selected playback entry, which the item editor reads; empty
    // without a selection or for CD audio.
    QString prepareEdit() const;

    // CD audio: the playback list becomes one entry per track, the two-digit track number, two
    // blanks and the title; a CD the store does not know lists its tracks without titles. For
    // the player's opening of a CD.
    void listCdTracks(int trackCount, const CdInfo& info);

    // ---- Deleting ---------------------------------------------------------------------------
    DeleteResult deleteSelectedItem();
    DeleteResult deleteCollection();

    // "Finish!": the player takes the playback list over.
    void finish();
    // Keys F6 to F10: the player's Stop, while a title plays.
    void stopPlayback();

    // Titles (case-folded) that collection files of the current kind other than `exceptPath`
    // list. Their records are shared and survive a delete.
    QSet<QString> titlesListedElsewhere(const QString& exceptPath) const;
    static bool isUsableCollectionName(const QString& name);
    // The kind and the collection the session shows, as the next start opens them. Also for the
    // item editor's Cancel and the drop flows, which change them without this class.
    static void storeSelection(const LibrarySession& session, Settings& settings);

  private:
    OpenKind::Outcome open(CollectionSelection selection);
    void stopIfPlaying();
    void forgetChooser();
    void rememberCurrentIndex();
    void storeSelection();
    // Deletes the records of `titles` that no other collection lists; false when the store
    // could not be written.
    bool deleteRecords(const QStringList& titles, const QString& collectionPath);

    LibrarySession& session_;
    Player player_;
    RandomSource random_;
};

}  // namespace marlo
