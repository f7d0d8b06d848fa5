#pragma once

#include <QRect>
#include <QStringList>

namespace marlo {

class LibrarySession;
class LyricsDisplay;
class Musikform;
class PlaybackEngine;

// What the main window needs of the parts the composition root builds around it: the library,
// the player and the editor windows. Each is null until start-up has loaded the library.
class PlayerParts {
  public:
    // Start-up's load of the collection editor: library, devices and engine come into being.
    virtual void loadLibrary(bool restore) = 0;
    virtual LibrarySession* library() = 0;
    virtual PlaybackEngine* engine() = 0;
    // Created on first use once the library is loaded.
    virtual Musikform* collectionEditor() = 0;
    virtual void showCollectionEditor(const QRect& over) = 0;
    // Files dropped on the main window.
    virtual void dropFiles(const QStringList& paths) = 0;
    // The module library's output filter (0 none, 1 low, 2 high, 3 automatic), at once.
    virtual void setModuleFilterMode(int mode) = 0;
    // `ShowLyrics` and the lyrics-window flag that the popup menu and the player share.
    virtual LyricsDisplay* lyricsDisplay() = 0;

  protected:
    ~PlayerParts() = default;
};

}  // namespace marlo
