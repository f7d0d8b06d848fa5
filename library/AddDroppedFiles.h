#pragma once

#include <QStringList>
#include <functional>
#include <optional>

#include "base/Settings.h"
#include "library/AddFiles.h"

namespace marlo {

class LibrarySession;

// The kind a file dropped on the main window belongs to, by its ending (any letter case):
// audio, video or pictures; nullopt for anything else, archives and folders included.
std::optional<MediaKind> dropKindOf(const QString& path);

// Files dropped on the collection editor's archive list or on the main window become items.
// The windows around the library take part through the hooks; an unset hook is skipped.
class AddDroppedFiles {
  public:
    struct Hooks {
        std::function<void()> stopPlayback;  // with the viewer closed
        // Archive list, single file: the item editor shows the read file for the user to
        // complete, the collection editor hides.
        std::function<void()> showItemEditor;
        // Archive list, all files added: the item editor's path field is enabled again.
        std::function<void()> enablePathField;
        // Main window, after the last file: the player takes the playback list over.
        std::function<void()> takeOverPlaybackList;
    };

    struct Outcome {
        bool taken = false;    // the drop was handled at all
        bool refused = false;  // a main-window drop stopped at a file it cannot take
        AddFiles::Report report;
    };

    AddDroppedFiles(LibrarySession& session, AddFiles& adder, Hooks hooks)
        : session_(session), adder_(adder), hooks_(std::move(hooks)) {}

    bool busy() const { return busy_; }

    // Drop on the archive list: ignored for CD audio; asks whether to add all files (each read
    // and saved) or only to read the first into the item editor. Endings compare
    // case-sensitively here.
    Outcome onArchiveList(const QStringList& files);

    // Drop on the main window: each file goes, in order, into the "Auto collection" of its
    // kind, switching kinds as needed; a file of no known kind ends the drop with a message.
    // Afterwards the whole Auto collection is the playback list and the player takes it.
    Outcome onMainWindow(const QStringList& files);

  private:
    void createAutoCollection();
    void switchKind(MediaKind kind);
    void openAutoCollection();
    void refuse(const QString& path);
    static void call(const std::function<void()>& hook) {
        if (hook) {
            hook();
        }
    }

    LibrarySession& session_;
    AddFiles& adder_;
    Hooks hooks_;
    bool busy_ = false;
};

}  // namespace marlo
