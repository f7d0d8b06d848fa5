#include "library/AddFiles.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QStringListModel>
#include <QTimer>
#include <QWidget>
#include <utility>
#include <vector>

#include "base/texts/AddingTexts.h"
#include "library/ArchiveAccess.h"
#include "library/ArchiveMemberRef.h"
#include "library/FileTitle.h"
#include "library/ItemEditor.h"
#include "library/ItemFormats.h"
#include "library/LibrarySession.h"
#include "library/SaveItem.h"
#include "library/ZipListe.h"
#include "platform/Files.h"
#include "platform/Prompts.h"

namespace marlo {
namespace {

// Long enough that event handling costs little of an add, short enough that the window redraws
// and the count moves smoothly.
constexpr qint64 kEventsIntervalMs = 50;

enum Refusal { kNoRefusal = 0, kFormatRefusal = 1, kTitleRefusal = 2 };

// Whether the file of a filed item is still there: the archive, for a member.
bool filedFileExists(const QString& path) {
    const std::optional<ArchiveMemberRef> member = splitMemberReference(path);
    return fileExists(member ? member->archivePath : path);
}

qint64 nowMs() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

bool endsWith(const QString& path, const char* ending, EndingCase endings) {
    return path.endsWith(QLatin1String(ending), endings == EndingCase::Sensitive
                                                    ? Qt::CaseSensitive
                                                    : Qt::CaseInsensitive);
}

// An archive to list; a folder with an archive's ending is refused as a folder.
bool isArchivePath(const QString& path, EndingCase endings) {
    return (endsWith(path, ".zip", endings) || endsWith(path, ".rar", endings) ||
            endsWith(path, ".ace", endings)) &&
           !QFileInfo(path).isDir();
}

// The busy pointer for the scope of an add; nested adds keep one.
class BusyPointer {
  public:
    BusyPointer() {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            shown_ = true;
        }
    }
    ~BusyPointer() {
        if (shown_) {
            QGuiApplication::restoreOverrideCursor();
        }
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

  private:
    bool shown_ = false;
};

}  // namespace

namespace {
int runningAdds = 0;

struct AfterAdds {
    QPointer<QObject> context;
    std::function<void()> action;
};
std::vector<AfterAdds>& afterAdds() {
    static std::vector<AfterAdds> waiting;
    return waiting;
}
}  // namespace

bool AddFiles::anyRunning() {
    return runningAdds > 0;
}

void AddFiles::whenNoneRunning(QObject* context, std::function<void()> action) {
    if (!anyRunning()) {
        action();
        return;
    }
    afterAdds().push_back({context, std::move(action)});
}

AddFiles::Running::Running() {
    ++runningAdds;
}

AddFiles::Running::~Running() {
    if (--runningAdds > 0) {
        return;
    }
    // From the event loop: the add's own caller finishes first.
    for (AfterAdds& waiting : std::exchange(afterAdds(), {})) {
        if (!waiting.context.isNull()) {
            QTimer::singleShot(0, waiting.context.data(), std::move(waiting.action));
        }
    }
}

AddFiles::AddFiles(ItemEditor& editor) : editor_(editor), session_(editor.session()) {}

void AddFiles::fill(const FileReading& reading) {
    ItemEditorFields& editor = editor_.fields;
    if (reading.folder) {
        session_.prompts.inform(Catalogue::title(texts::kFolderRefused),
                                Catalogue::body(texts::kFolderRefused), PromptIcon::Error);
        editor.title.clear();
        editor.path.clear();
        return;
    }
    editor.title = reading.title;
    editor.path = reading.path;
    editor.artist = reading.artist;
}

void AddFiles::ReadMp3Tag(const QString& path) {
    fill(marlo::ReadMp3Tag(path));
}

void AddFiles::ReadGeneric(const QString& path) {
    fill(marlo::ReadGeneric(path));
}

AddFiles::Report AddFiles::AddFile(const QString& path, EndingCase endings) {
    if (endsWith(path, ".mp3", endings)) {
        ReadMp3Tag(path);
    } else if (isArchivePath(path, endings)) {
        return AddArchiveMembers(path);
    } else {
        ReadGeneric(path);
    }
    return {};
}

void AddFiles::saveRead(Report& report, bool autoAdd) {
    ItemEditorFields& editor = editor_.fields;
    if (editor.title.isEmpty()) {
        editor.clear();
        ++report.skipped;
        return;
    }
    QString typeTag;
    // In the order SaveItem checks.
    int refusal = kNoRefusal;
    if (!isUsableTitle(editor.title)) {
        refusal = kTitleRefusal;
    } else if (!acceptItemPath(session_.kind(), editor.path, typeTag)) {
        refusal = kFormatRefusal;
    }
    // One message per kind of refusal is enough to tell the user; a box per file of a large
    // folder or archive would have to be clicked away thousands of times.
    if (refusal != kNoRefusal && refusalsShown_.contains(refusal)) {
        editor.clear();
        ++report.skipped;
        return;
    }
    if (refusal == kNoRefusal) {
        editor.title = titleKeepingOthers(editor.title, editor.path);
    }
    editor.autoAdd = autoAdd;
    const SaveItem::Outcome outcome = SaveItem(editor_).run();
    editor.autoAdd = false;
    if (refusal != kNoRefusal) {
        refusalsShown_.insert(refusal);
    }
    report.handBack = report.handBack || outcome.handBack;
    if (outcome.result == SaveItem::Result::Saved ||
        outcome.result == SaveItem::Result::WriteFailed) {
        ++report.saved;
    } else {
        editor.clear();  // an invalid title keeps the fields for the one-file flows only
        ++report.skipped;
    }
}

QString AddFiles::titleKeepingOthers(const QString& title, const QString& path) {
    // A title names its record, so a file named like one filed from elsewhere (the "01 Intro"
    // of a second album) would replace that record and every collection listing it would play
    // the new file. It gets a numbered title instead. The same file again, or one whose filed
    // file is gone (a folder the user moved and adds anew), takes the record over as before.
    ItemStore& store = session_.store;
    const MediaKind kind = session_.kind();
    QString candidate = title;
    for (int n = 2; store.hasItem(kind, candidate); ++n) {
        const QString filed = store.ReadItem(kind, candidate).path;
        if (QDir::cleanPath(filed) == QDir::cleanPath(path) || !filedFileExists(filed)) {
            break;
        }
        candidate = QStringLiteral("%1 (%2)").arg(title).arg(n);
    }
    return candidate;
}

void AddFiles::letEventsRun(int done, int total, bool force) {
    if (!force && nowMs() - lastEventsMs_ < kEventsIntervalMs) {
        return;
    }
    lastEventsMs_ = nowMs();
    if (progress_) {
        progress_(done, total);
    }
    // Repaints, timers and device notices go on; clicks and keys wait until the add is done, so
    // nothing can start a second add or change the lists under this one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

AddFiles::Report AddFiles::addManyPaths(const QStringList& paths, bool autoAdd,
                                        const std::function<bool(const QString&)>& read) {
    const bool outermost = !busy_;
    if (outermost) {
        refusalsShown_.clear();
    }
    busy_ = true;
    Report report;
    {
        Running running;
        BusyPointer pointer;
        SaveBatch batch(session_.writer);
        letEventsRun(0, static_cast<int>(paths.size()), true);
        for (int i = 0; i < paths.size(); ++i) {
            if (read(paths[i])) {
                saveRead(report, autoAdd);
            }
            letEventsRun(i + 1, static_cast<int>(paths.size()), false);
        }
        if (progress_) {
            progress_(static_cast<int>(paths.size()), static_cast<int>(paths.size()));
        }
    }
    busy_ = !outermost;
    return report;
}

AddFiles::Report AddFiles::addMany(const QStringList& paths, EndingCase endings, bool autoAdd) {
    Report inner;
    Report total = addManyPaths(paths, autoAdd, [&](const QString& path) {
        const bool archive = isArchivePath(path, endings);
        const Report added = AddFile(path, endings);
        // An archive among the files ran its own add; what it saved counts here too.
        inner.saved += added.saved;
        inner.skipped += added.skipped;
        inner.handBack = inner.handBack || added.handBack;
        return !archive;
    });
    total.saved += inner.saved;
    total.skipped += inner.skipped;
    total.handBack = total.handBack || inner.handBack;
    return total;
}

void AddFiles::collectFolder(const QString& folder, bool recurse, const QStringList& patterns,
                             QStringList& files, QSet<QString>& visited) const {
    const QDir dir(folder);
    // A link back up the tree would walk forever.
    if (visited.contains(dir.canonicalPath())) {
        return;
    }
    visited.insert(dir.canonicalPath());
    if (recurse) {
        const QStringList subfolders =
            dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
        for (const QString& sub : subfolders) {
            collectFolder(dir.filePath(sub), true, patterns, files, visited);
        }
    }
    const QStringList names = dir.entryList(patterns, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        files.append(dir.filePath(name));
    }
}

AddFiles::Report AddFiles::AddFolderFromBrowser(const QStringList& patterns) {
    const QString folder =
        session_.prompts.folder(Catalogue::text(texts::kChooseFolder), QDir::rootPath());
    if (folder.isEmpty()) {
        return {};
    }
    return AddFolder(folder, patterns);
}

AddFiles::Report AddFiles::AddFolder(const QString& folder, const QStringList& patterns) {
    const QDir dir(folder);
    bool recurse = false;
    if (!dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty()) {
        recurse =
            session_.prompts.message(Catalogue::title(texts::kAddSubfolders),
                                     Catalogue::body(texts::kAddSubfolders), PromptIcon::Question,
                                     PromptButtons::YesNo, PromptAnswer::Yes) == PromptAnswer::Yes;
    }
    QStringList files;
    QSet<QString> visited;
    {
        BusyPointer pointer;
        collectFolder(folder, recurse, patterns, files, visited);
    }
    return addManyPaths(files, false, [this](const QString& path) {
        if (path.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive)) {
            ReadMp3Tag(path);
        } else {
            ReadGeneric(path);
        }
        return true;
    });
}

AddFiles::Report AddFiles::AddArchiveMembers(const QString& archivePath) {
    QStringListModel listing;
    ArchiveAccess access(session_.prompts);
    switch (archiveKindOf(archivePath)) {
        case ArchiveKind::Zip:
            access.ListZip(archivePath, listing);
            break;
        case ArchiveKind::Rar:
            access.ListRar(archivePath, listing);
            break;
        case ArchiveKind::Ace:
            access.ListAce(archivePath, listing);
            break;
        case ArchiveKind::None:
            break;
    }
    const QStringList members = listing.stringList();
    ItemEditorFields& editor = editor_.fields;
    editor.clear();
    if (members.isEmpty()) {
        session_.prompts.inform(Catalogue::title(texts::kArchiveUnreadable),
                                Catalogue::body(texts::kArchiveUnreadable).arg(archivePath),
                                PromptIcon::Information);
        return {};
    }
    const bool all =
        session_.prompts.message(Catalogue::title(texts::kAddAllMembers),
                                 Catalogue::body(texts::kAddAllMembers), PromptIcon::None,
                                 PromptButtons::YesNo, PromptAnswer::Yes) == PromptAnswer::Yes;
    if (all) {
        QStringList paths;
        for (const QString& member : members) {
            paths.append(ArchiveMemberRef{archivePath, member}.joined());
        }
        const int prefix = static_cast<int>(archivePath.size()) + 1;
        return addManyPaths(paths, false, [&](const QString& path) {
            editor.path = path;
            editor.title = titleFromFileName(path.mid(prefix));
            editor.artist.clear();
            return true;
        });
    }
    editor.path = archivePath + QLatin1Char('|');
    const QString member = chooseMember_ ? chooseMember_(members) : defaultChooseMember(members);
    if (member.isEmpty()) {
        editor.path.clear();  // nothing chosen: no half path is left for a save
        return {};
    }
    editor.path += member;
    editor.title = titleFromFileName(member);
    return {};
}

QString AddFiles::defaultChooseMember(const QStringList& members) {
    ZipListe chooser(chooserParent_);
    chooser.members().setStringList(members);
    QString chosen;
    QObject::connect(&chooser, &ZipListe::memberChosen,
                     [&chosen](const QString& name, const QString&) { chosen = name; });
    if (chooserParent_ != nullptr) {
        const QRect over = chooserParent_->window()->frameGeometry();
        chooser.move(over.center() - QPoint(chooser.width() / 2, chooser.height() / 2));
    }
    chooser.exec();
    return chosen;
}

}  // namespace marlo
