#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "base/Settings.h"
#include "library/ArchiveList.h"
#include "library/CollectionChooser.h"
#include "library/ItemRecord.h"
#include "library/ItemStore.h"
#include "library/LibraryPaths.h"
#include "library/LibraryWriter.h"
#include "library/PlaybackList.h"

namespace marlo {

class Prompts;

// The item editor's hand-over to SaveItem.
struct ItemEditorFields {
    QString title;         // `Text1`
    QString path;          // `Text2`
    QString artist;        // `Text3`
    QString editedTitle;   // the title when editing began; empty for a new item
    bool autoAdd = false;  // set by file dropping: the title goes into the playback list

    void clear() {
        title.clear();
        path.clear();
        artist.clear();
    }
};

// A CD's information while the item editor enters it track by track.
struct CdDraft {
    QString discId;
    QString album;
    int currentTrack = 1;
    QList<CdTrackInfo> tracks;  // track n at index n - 1
};

// Everything the library operations work on: files, store, lists, chooser and editor state. The
// collection editor and item editor windows bind to these members.
class LibrarySession {
  public:
    LibrarySession(const QString& dataFolder, Prompts& prompts, LibraryWriter::Clock clock = {});
    LibrarySession(const LibrarySession&) = delete;
    LibrarySession& operator=(const LibrarySession&) = delete;

    LibraryPaths paths;
    Prompts& prompts;
    ItemStore store;
    LibraryWriter writer;

    CollectionChooser chooser;
    ArchiveList archive;
    PlaybackList playback;
    ItemEditorFields editor;
    CdDraft cd;

    MediaKind kind() const { return chooser.kind(); }
    // The collection file of the chooser's current text; empty when there is none.
    QString currentCollectionPath() const { return paths.collection(kind(), chooser.text()); }
};

}  // namespace marlo
