#include "library/AddDroppedFiles.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScopeGuard>
#include <utility>

#include "base/texts/AddingTexts.h"
#include "library/AddFiles.h"
#include "library/ItemEditor.h"
#include "library/ItemFormats.h"
#include "library/KindListFile.h"
#include "library/LibrarySession.h"
#include "library/OpenKind.h"
#include "platform/Prompts.h"

namespace marlo {
namespace {

struct KindEndings {
    MediaKind kind;
    std::initializer_list<const char*> endings;
};

// Tested in this order.
const KindEndings kDropKinds[] = {
    {MediaKind::Audio,
     {".mp3", ".mp2", ".ra", ".snd", ".au", ".mid", ".it", ".s3m", ".xm", ".mod", ".wav"}},
    {MediaKind::Video, {".mpg", ".mov", ".rm", ".avi", ".aas", ".flc", ".fli"}},
    {MediaKind::Pictures, {".gif", ".jpg", ".bmp"}},
};

// Restores the pointer and the busy flag however the drop ends.
class DropScope {
  public:
    explicit DropScope(bool& busy) : busy_(busy) {
        busy_ = true;
        pointer_ = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
        if (pointer_) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        }
    }
    ~DropScope() {
        if (pointer_) {
            QGuiApplication::restoreOverrideCursor();
        }
        busy_ = false;
    }
    DropScope(const DropScope&) = delete;
    DropScope& operator=(const DropScope&) = delete;

  private:
    bool& busy_;
    AddFiles::Running running_;
    bool pointer_ = false;
};

}  // namespace

std::optional<MediaKind> dropKindOf(const QString& path) {
    if (QFileInfo(path).isDir()) {
        return std::nullopt;
    }
    for (const KindEndings& kind : kDropKinds) {
        if (endsWithOneOf(path, kind.endings)) {
            return kind.kind;
        }
    }
    if (endsWithOneOf(path, kMoreAudioEndings) || isModulePath(path)) {
        return MediaKind::Audio;
    }
    if (endsWithOneOf(path, kMoreVideoEndings)) {
        return MediaKind::Video;
    }
    if (endsWithOneOf(path, kMorePictureEndings)) {
        return MediaKind::Pictures;
    }
    return std::nullopt;
}

void AddDroppedFiles::createAutoCollection() {
    CollectionChooser& chooser = session_.chooser;
    chooser.addEntry(kAutoCollection);
    chooser.setText(kAutoCollection);
    chooser.rememberedIndex = chooser.currentIndex();
    session_.archive.clear();
    session_.playback.clear();
    // Appending creates the kind list when there is none yet.
    KindListFile(session_.paths.kindList(session_.kind())).append(kAutoCollection);
}

AddDroppedFiles::Outcome AddDroppedFiles::onArchiveList(const QStringList& files) {
    Outcome outcome;
    if (AddFiles::anyRunning() || files.isEmpty() || session_.kind() == MediaKind::CdAudio) {
        return outcome;
    }
    outcome.taken = true;
    if (session_.chooser.text().isEmpty()) {
        call(hooks_.stopPlayback);
        createAutoCollection();
    }
    const bool all =
        session_.prompts.message(Catalogue::title(texts::kAddAllDropped),
                                 Catalogue::body(texts::kAddAllDropped), PromptIcon::Question,
                                 PromptButtons::YesNo, PromptAnswer::Yes) == PromptAnswer::Yes;
    if (!all) {
        outcome.report = adder_.AddFile(files.front(), EndingCase::Sensitive);
        call(hooks_.showItemEditor);
        return outcome;
    }
    {
        DropScope scope(busy_);
        outcome.report = adder_.addMany(files, EndingCase::Sensitive, false);
    }
    call(hooks_.enablePathField);
    return outcome;
}

void AddDroppedFiles::switchKind(MediaKind kind) {
    CollectionChooser& chooser = session_.chooser;
    chooser.forget();
    chooser.rememberedIndex.reset();
    session_.archive.clear();
    session_.playback.clear();
    chooser.setKind(kind);
}

void AddDroppedFiles::openAutoCollection() {
    CollectionChooser& chooser = session_.chooser;
    if (chooser.reloadEntries) {
        QStringList names;
        KindListFile(session_.paths.kindList(session_.kind())).read(names);
        chooser.setEntries(names);
        chooser.reloadEntries = false;
    }
    // Titles saved so far must be in the collection file before it is read again.
    session_.writer.flush();
    const int found = KindListFile::findAutoCollection(chooser.entries());
    session_.archive.clear();
    session_.playback.clear();
    if (found < 0) {
        createAutoCollection();
    } else {
        chooser.setText(chooser.entries().at(found));
        chooser.rememberedIndex = found;
    }
    chooser.rememberedFromConfiguration = false;
    OpenKind(session_).run(session_.kind(), CollectionSelection::Current);
}

void AddDroppedFiles::refuse(const QString& path) {
    const MessagePair& message =
        QFileInfo(path).isDir() ? texts::kFolderRefused : texts::kDropNotSupported;
    session_.prompts.inform(Catalogue::title(message), Catalogue::body(message),
                            QFileInfo(path).isDir() ? PromptIcon::Error : PromptIcon::Information);
}

AddDroppedFiles::Outcome AddDroppedFiles::onMainWindow(const QStringList& files) {
    Outcome outcome;
    if (AddFiles::anyRunning() || files.isEmpty()) {
        return outcome;
    }
    outcome.taken = true;
    call(hooks_.stopPlayback);
    // An item being edited in the item editor is not this drop's: its saves must not rename
    // it. The edit goes on afterwards unless the drop switched to another kind.
    const MediaKind kindBefore = session_.kind();
    const QString edited = std::exchange(adder_.editor().fields.editedTitle, QString());
    const auto restoreEdit = qScopeGuard([&] {
        if (session_.kind() == kindBefore) {
            adder_.editor().fields.editedTitle = edited;
        }
    });
    {
        DropScope scope(busy_);
        SaveBatch batch(session_.writer);
        adder_.beginRun();
        bool opened = false;
        for (int i = 0; i < files.size(); ++i) {
            const QString& path = files[i];
            const std::optional<MediaKind> kind = dropKindOf(path);
            // A drop from the desktop names files that exist; a command line may not.
            if (!kind || !QFileInfo::exists(path)) {
                // Files before this one stay added; the rest of the drop is not looked at.
                refuse(path);
                outcome.refused = true;
                return outcome;
            }
            if (*kind != session_.kind()) {
                switchKind(*kind);
                opened = false;
            }
            if (!opened) {
                openAutoCollection();
                opened = true;
            }
            adder_.AddFile(path, EndingCase::Insensitive);
            adder_.saveRead(outcome.report, true);
            adder_.letEventsRun(i + 1, static_cast<int>(files.size()), false);
        }
        session_.playback.appendMany(session_.archive.takeAll());
        batch.finish();
    }
    call(hooks_.takeOverPlaybackList);
    return outcome;
}

}  // namespace marlo
