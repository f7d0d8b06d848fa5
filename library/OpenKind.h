#pragma once

#include "base/Settings.h"

namespace marlo {

class LibrarySession;

// Which collection OpenKind opens.
enum class CollectionSelection {
    Start,        // the remembered index, else the first collection
    AfterDelete,  // the remembered index, or the one before it when it is past the end
    Current,      // the chooser's current text
};

// Loads a kind: the collection chooser from the kind list file (when it must be read again) and
// the chosen collection's titles into the archive list. A missing kind list or collection file
// ends the loading quietly. The archive list is refilled; the playback list is the caller's.
class OpenKind {
  public:
    struct Outcome {
        bool cdAudio = false;  // no library files: chooser and delete/edit buttons are disabled
        // The index came from the configuration: the whole collection was moved into the
        // playback list and the player should start it.
        bool startPlayback = false;
        int archiveCount = 0;
        int playbackCount = 0;
    };

    explicit OpenKind(LibrarySession& session) : session_(session) {}
    Outcome run(MediaKind kind, CollectionSelection selection);

  private:
    bool loadChooser();
    QString chooseName(CollectionSelection selection);
    void loadCollection(const QString& name);

    LibrarySession& session_;
};

}  // namespace marlo
