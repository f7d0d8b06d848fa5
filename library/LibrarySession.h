#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "base/Settings.h"
#include "library/ArchiveList.h"
#include "library/ItemRecord.h"
#include "library/ItemStore.h"
#include "library/LibraryPaths.h"
#include "library/LibraryWriter.h"
#include "library/PlaybackList.h"

namespace marlo {

class Prompts;

// The collection chooser (`Kombi1`) as the library operations see it.
struct CollectionChooser {
    QStringList entries;
    QString text;  // the chosen (or typed) collection name
    std::optional<int> rememberedIndex;
    // The index came from the configuration at start-up: the first open then plays the whole
    // collection and forgets the index.
    bool rememberedFromConfiguration = false;
    // Read the kind list again at the next open (kind switch, a collection removed).
    bool reloadEntries = true;
};

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

    MediaKind kind = MediaKind::Audio;
    CollectionChooser chooser;
    ArchiveList archive;
    PlaybackList playback;

    // The collection file of the chooser's current text; empty when there is none.
    QString currentCollectionPath() const { return paths.collection(kind, chooser.text); }
};

}  // namespace marlo
