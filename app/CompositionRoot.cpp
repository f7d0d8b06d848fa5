#include "app/CompositionRoot.h"

#include "app/LyricsPlayerLink.h"
#include "app/Marlo.h"
#include "app/PictureShow.h"
#include "app/VideoWindowRoute.h"
#include "cd/CdAudioDevice.h"
#include "library/AddDroppedFiles.h"
#include "library/AddFiles.h"
#include "library/CollectionEditor.h"
#include "library/EditorWindows.h"
#include "library/ItemEditor.h"
#include "library/LibrarySession.h"
#include "library/Musikform.h"
#include "library/OpenKind.h"
#include "library/StoredCdLyrics.h"
#include "library/StoredItemLyrics.h"
#include "lyrics/LyricsDisplay.h"
#include "lyrics/LyricsServerList.h"
#include "platform/Twips.h"
#include "platform/media/MediaDevice.h"
#include "platform/media/ModuleLibrary.h"
#include "platform/media/StreamingControl.h"
#include "player/CdTrackRoute.h"
#include "player/EnginePlayerControl.h"
#include "player/PlaybackEngine.h"
#include "viewers/PictureLayout.h"

namespace marlo {

CompositionRoot::CompositionRoot(ProgramFolders folders, Prompts& prompts)
    : CompositionRoot(folders, prompts, std::make_unique<Marlo>(folders, prompts)) {}

CompositionRoot::CompositionRoot(ProgramFolders folders, Prompts& prompts,
                                 std::unique_ptr<Marlo> window)
    : folders_(std::move(folders)), prompts_(prompts), window_(std::move(window)) {
    window_->setParts(this);
}

CompositionRoot::~CompositionRoot() {
    // The editors and the drop flow hold the session and the player; they go first.
    editors_.reset();
    drop_.reset();
    dropAdder_.reset();
    dropEditor_.reset();
    playerControl_.reset();
    engine_.reset();
    pictures_.reset();
    video_.reset();
    cdRoute_.reset();
    lyrics_.reset();
}

void CompositionRoot::loadLibrary(bool restore) {
    Settings& settings = window_->settings();
    library_ = std::make_unique<LibrarySession>(folders_.data, prompts_);
    const auto kind = static_cast<MediaKind>(settings.listKind);
    library_->chooser.setKind(kind);
    if (restore && settings.collectionNumber >= 0) {
        library_->chooser.rememberedIndex = settings.collectionNumber;
        library_->chooser.rememberedFromConfiguration = true;
    }
    audio_ = createFileMediaDevice();
    streaming_ = createStreamingControl();
    modules_ = createModuleLibrary();
    engine_ = std::make_unique<PlaybackEngine>(
        EngineLibrary::of(*library_), settings, PlaybackDevices{*audio_, *streaming_, *modules_},
        window_->displayModel(), folders_.program + QStringLiteral("Extracted"));
    video_ = std::make_unique<VideoWindowRoute>(*engine_, settings, prompts_, *window_,
                                                [this](int code) { window_->RemoteMarlo(code); });
    cdDevice_ = std::make_unique<CdAudioDevice>(cdSource_);
    cdRoute_ = std::make_unique<CdTrackRoute>(*cdDevice_, prompts_);
    cdRoute_->setEngine(engine_.get());
    lyricsSource_ = std::make_unique<StoredCdLyrics>(
        *library_, [this] { return cdRoute_ ? cdRoute_->discId() : QString(); });
    lyrics_ = std::make_unique<LyricsDisplay>(*lyricsSource_, prompts_);
    itemLyrics_ = std::make_unique<StoredItemLyrics>(*library_);
    lyricsPlayer_ = std::make_unique<LyricsPlayerLink>(*engine_, window_->displayModel(), *library_,
                                                       *audio_, *streaming_);
    lyricsServer_ = chosenLyricsServer(folders_.program);
    lyrics_->follow(*lyricsPlayer_, itemLyrics_.get(), [this] { return lyricsServer_; });
    cdRoute_->setLyrics(lyrics_.get());
    playerControl_ = std::make_unique<EnginePlayerControl>(*engine_, window_->displayModel());
    pictures_ = std::make_unique<PictureShow>(
        *engine_, *library_, settings, [this] { parkMainWindow(); },
        [this](int code) { window_->RemoteMarlo(code); });
    engine_->setRoutes(cdRoute_.get(), video_.get(), pictures_.get());
    window_->connectEngine(*engine_);

    const OpenKind::Outcome opened = OpenKind(*library_).run(kind, CollectionSelection::Start);
    if (opened.cdAudio) {
        openCd();
        engine_->takeOverPlaybackList();
    } else if (opened.startPlayback) {
        engine_->takeOverPlaybackList();
    }
    // From now on the next start opens the kind and collection shown, however they changed
    // (the editors, a drop on the main window, the item editor's Cancel).
    QObject::connect(&library_->chooser, &CollectionChooser::changed, &library_->chooser,
                     [this] { CollectionEditor::storeSelection(*library_, window_->settings()); });
}

void CompositionRoot::openCd() {
    if (!cdRoute_) {
        return;
    }
    const int count = cdRoute_->openDisc() ? cdRoute_->trackCount() : 0;
    CollectionEditor(*library_, CollectionEditor::Player{})
        .listCdTracks(count, library_->store.ReadCdInfo(cdRoute_->discId(), count));
}

Musikform* CompositionRoot::collectionEditor() {
    if (!editors_ && library_) {
        editors_ = std::make_unique<EditorWindows>(
            *library_, window_->settings(),
            CollectionEditor::Player{playerControl_.get(), &window_->settings()});
        editors_->setCdAccess(
            cdDevice_.get(), [this] { return cdRoute_->probeTrackCount(); }, [this] { openCd(); });
        editors_->setServerLists(window_->cdDatabaseServers(), window_->lyricsServers());
        editors_->setLyricsServerChosen([this](const QString& entry) {
            lyricsServer_ = entry;
            rememberLyricsServer(folders_.program, entry);
        });
    }
    return editors_ ? &editors_->collectionEditor() : nullptr;
}

void CompositionRoot::showCollectionEditor(const QRect& over) {
    if (collectionEditor() == nullptr) {
        return;
    }
    // A picture list stops with its viewer closed; the missing-file blink ends.
    if (library_->kind() == MediaKind::Pictures) {
        engine_->stopAndCloseViewer();
    }
    engine_->stopBlinking();
    editors_->showCollectionEditor(over);
}

void CompositionRoot::dropFiles(const QStringList& paths) {
    if (!library_) {
        return;
    }
    if (!drop_) {
        // Drops on the main window save through fields of their own: an item half entered in
        // the item editor stays as it is.
        dropEditor_ = std::make_unique<ItemEditor>(*library_);
        dropAdder_ = std::make_unique<AddFiles>(*dropEditor_);
        AddDroppedFiles::Hooks hooks;
        // A video or picture on screen, full screen perhaps, closes even when the drop is refused.
        hooks.stopPlayback = [this] { engine_->stopAndCloseViewer(); };
        hooks.takeOverPlaybackList = [this] { engine_->takeOverPlaybackList(); };
        drop_ = std::make_unique<AddDroppedFiles>(*library_, *dropAdder_, std::move(hooks));
    }
    drop_->onMainWindow(paths);
}

void CompositionRoot::parkMainWindow() {
    Marlo& window = *window_;
    if (window.windowState() != Qt::WindowNoState) {
        return;
    }
    const QRect screen = window.screenGeometry();
    const QPoint twips = parkedPositionTwips(static_cast<int>(pixelsToTwips(screen.width())),
                                             static_cast<int>(pixelsToTwips(window.width())));
    window.move(screen.topLeft() + QPoint(twipsToPixels(twips.x()), twipsToPixels(twips.y())));
}

void CompositionRoot::setModuleFilterMode(int mode) {
    if (modules_) {
        modules_->setOption(ModuleLibrary::kOptionFilterMode, mode);
    }
}

}  // namespace marlo
