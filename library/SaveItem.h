#pragma once

#include <QString>

namespace marlo {

class ItemEditor;
class LibrarySession;

// Saves the item the item editor holds (title, path, artist) for the session's current kind:
// checks it, writes its record, and files its title into the open collection and the lists. For
// CD audio it notes the current track's title and artist in the CD draft instead.
class SaveItem {
  public:
    enum class Result {
        Saved,         // record written, title filed
        CdTrackNoted,  // CD audio: the track went into the draft
        EmptyTitle,    // "Enter title!"; nothing changed, the editor stays open
        InvalidTitle,  // a title that cannot name a member; nothing changed, the editor stays open
        NotSupported,  // "File format not supported!"; nothing written, the fields are cleared
        WriteFailed,   // "Schreibfehler" was shown; the lists were updated anyway
    };
    struct Outcome {
        Result result;
        // The item editor hides and the collection editor shows (not after a drop's save, nor
        // when the editor stays open).
        bool handBack;
    };

    explicit SaveItem(ItemEditor& editor);
    Outcome run();

  private:
    Outcome saveCdTrack();
    Outcome finish(Result result, bool autoAdd);
    // The playback list's entry of a title: the selected one when it is that title, else the first.
    int playbackRowOf(const QString& title) const;

    ItemEditor& editor_;
    LibrarySession& session_;
};

}  // namespace marlo
