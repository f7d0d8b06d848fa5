#pragma once

#include <QStringList>
#include <memory>

#include "app/PlayerParts.h"
#include "platform/ProgramFolders.h"

namespace marlo {

class AddDroppedFiles;
class AddFiles;
class CdAudioDevice;
class CdTrackRoute;
class EditorWindows;
class EnginePlayerControl;
class ItemEditor;
class Marlo;
class MediaDevice;
class PictureShow;
class ModuleLibrary;
class LyricsPlayerLink;
class StoredCdLyrics;
class StoredItemLyrics;
class Prompts;
class StreamingControl;
class VideoWindowRoute;

// Builds and owns the parts of a running Marlo: the main window, and, once start-up loads the
// library, the library session, the three file devices, the playback engine, the editor windows
// and the drop flow of the main window. The main window reaches them through PlayerParts.
class CompositionRoot final : public PlayerParts {
  public:
    CompositionRoot(ProgramFolders folders, Prompts& prompts);
    // Around a window made elsewhere (a test's window with seams filled in).
    CompositionRoot(ProgramFolders folders, Prompts& prompts, std::unique_ptr<Marlo> window);
    ~CompositionRoot();
    CompositionRoot(const CompositionRoot&) = delete;
    CompositionRoot& operator=(const CompositionRoot&) = delete;

    Marlo& window() { return *window_; }
    // The CD drive (such as /dev/sr0) or CUE sheet the CD lists play from; empty: the system's
    // default drive. Set before start-up loads the library.
    void setCdSource(const QString& source) { cdSource_ = source; }

    void loadLibrary(bool restore) override;
    LibrarySession* library() override { return library_.get(); }
    PlaybackEngine* engine() override { return engine_.get(); }
    // The item as the windows that follow the sound see it; null before the library is open.
    LyricsPlayerLink* playerLink() { return lyricsPlayer_.get(); }
    Musikform* collectionEditor() override;
    void showCollectionEditor(const QRect& over) override;
    void dropFiles(const QStringList& paths) override;
    void setModuleFilterMode(int mode) override;
    LyricsDisplay* lyricsDisplay() override { return lyrics_.get(); }
    // The module library the module items play through (once the library is loaded).
    ModuleLibrary* moduleLibrary() { return modules_.get(); }

    // The player's opening of the CD: the disc's tracks become the playback list, with their
    // titles when the store knows the disc.
    void openCd();

  private:
    // Pictures show with the main window at the top right of the screen.
    void parkMainWindow();

    ProgramFolders folders_;
    Prompts& prompts_;
    // The window outlives the player: the engine writes the window's display model.
    std::unique_ptr<Marlo> window_;
    std::unique_ptr<LibrarySession> library_;
    std::unique_ptr<MediaDevice> audio_;
    std::unique_ptr<StreamingControl> streaming_;
    std::unique_ptr<ModuleLibrary> modules_;
    // Declared before the engine, so it goes after it: the engine may stop a video as it goes.
    std::unique_ptr<VideoWindowRoute> video_;
    QString cdSource_;
    std::unique_ptr<CdAudioDevice> cdDevice_;
    std::unique_ptr<CdTrackRoute> cdRoute_;
    std::unique_ptr<StoredCdLyrics> lyricsSource_;
    std::unique_ptr<StoredItemLyrics> itemLyrics_;
    std::unique_ptr<LyricsPlayerLink> lyricsPlayer_;
    // The lyrics server the window asks for songs without lyrics: the item editor's choice.
    QString lyricsServer_;
    std::unique_ptr<LyricsDisplay> lyrics_;
    std::unique_ptr<PlaybackEngine> engine_;
    std::unique_ptr<EnginePlayerControl> playerControl_;
    std::unique_ptr<PictureShow> pictures_;
    std::unique_ptr<ItemEditor> dropEditor_;
    std::unique_ptr<AddFiles> dropAdder_;
    std::unique_ptr<AddDroppedFiles> drop_;
    std::unique_ptr<EditorWindows> editors_;
};

}  // namespace marlo
