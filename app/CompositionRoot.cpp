#include "app/CompositionRoot.h"

#include "app/Marlo.h"
#include "app/PictureShow.h"
#include "app/VideoWindowRoute.h"
#include "library/AddDroppedFiles.h"
#include "library/AddFiles.h"
#include "library/CollectionEditor.h"
#include "library/EditorWindows.h"
#include "library/LibrarySession.h"
#include "library/Musikform.h"
#include "library/OpenKind.h"
#include "platform/Twips.h"
#include "platform/media/MediaDevice.h"
#include "platform/media/ModuleLibrary.h"
#include "platform/media/StreamingControl.h"
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
    playerControl_.reset();
    engine_.reset();
    pictures_.reset();
    video_.reset();
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
    playerControl_ = std::make_unique<EnginePlayerControl>(*engine_, window_->displayModel());
    pictures_ = std::make_unique<PictureShow>(
        *engine_, *library_, settings, [this] { parkMainWindow(); },
        [this](int code) { window_->RemoteMarlo(code); });
    engine_->setRoutes(nullptr, video_.get(), pictures_.get());
    window_->connectEngine(*engine_);

    const OpenKind::Outcome opened = OpenKind(*library_).run(kind, CollectionSelection::Start);
    if (opened.startPlayback) {
        engine_->takeOverPlaybackList();
    }
    // From now on the next start opens the kind and collection shown, however they changed
    // (the editors, a drop on the main window, the item editor's Cancel).
    QObject::connect(&library_->chooser, &CollectionChooser::changed, &library_->chooser,
                     [this] { CollectionEditor::storeSelection(*library_, window_->settings()); });
}

Musikform* CompositionRoot::collectionEditor() {
    if (!editors_ && library_) {
        editors_ = std::make_unique<EditorWindows>(
            *library_, window_->settings(),
            CollectionEditor::Player{playerControl_.get(), &window_->settings()});
    }
    return editors_ ? &editors_->collectionEditor() : nullptr;
}

void CompositionRoot::showCollectionEditor(const QRect& over) {
    if (collectionEditor() == nullptr) {
        return;
    }
    // A picture list stops with its viewer; the missing-file blink ends.
    if (library_->kind() == MediaKind::Pictures) {
        engine_->stop();
    }
    engine_->stopBlinking();
    editors_->showCollectionEditor(over);
}

void CompositionRoot::dropFiles(const QStringList& paths) {
    if (!library_) {
        return;
    }
    if (!drop_) {
        dropAdder_ = std::make_unique<AddFiles>(*library_);
        AddDroppedFiles::Hooks hooks;
        hooks.stopPlayback = [this] { engine_->stopCurrentItem(); };
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
