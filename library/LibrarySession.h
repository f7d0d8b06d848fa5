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

// Everything the library operations work on: files, store, lists and chooser. The collection
// editor and item editor windows bind to these members.
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

    MediaKind kind() const { return chooser.kind(); }
    // The collection file of the chooser's current text; empty when there is none.
    QString currentCollectionPath() const { return paths.collection(kind(), chooser.text()); }

    // After a failed write: the lists hold the open collection as its file lists it.
    void showWhatTheFilesHold();
};

}  // namespace marlo
