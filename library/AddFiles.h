#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

#include "library/TitleReaders.h"

class QObject;
class QWidget;

namespace marlo {

class ItemEditor;
class LibrarySession;

// How the add flows compare the endings that choose a reader ("*.mp3", "*.zip", "*.rar",
// "*.ace"): the item editor and drops on the archive list take them case-sensitively (a file
// ending in .MP3 is read by its name), drops on the main window and the folder add do not.
enum class EndingCase { Sensitive, Insensitive };

// New items from files, folders and archive members: reads each file's proposal into the item
// editor's fields and, when many files are added at once, saves each with SaveItem. Long adds
// keep the program responsive: pending events other than user input run every few dozen
// milliseconds, the busy pointer shows and the count of files done is reported.
class AddFiles {
  public:
    // Shows the archive chooser with these members; the chosen member's name, empty when none
    // was chosen. The default is the `ZipListe` window, modal.
    using MemberChooser = std::function<QString(const QStringList& members)>;
    using Progress = std::function<void(int filesDone, int filesTotal)>;

    struct Report {
        int saved = 0;    // items written
        int skipped = 0;  // empty title or refused by SaveItem
        // Some save asked for the item editor to hide and the collection editor to show.
        bool handBack = false;
    };

    explicit AddFiles(ItemEditor& editor);

    ItemEditor& editor() { return editor_; }

    void setMemberChooser(MemberChooser chooser) { chooseMember_ = std::move(chooser); }
    void setProgress(Progress progress) { progress_ = std::move(progress); }
    // Parent of the default archive chooser, placed over it.
    void setChooserParent(QWidget* parent) { chooserParent_ = parent; }

    bool busy() const { return busy_; }

    // Some add of many files runs (in any window): the lists and the store are in use, so
    // other adds and drops wait, and windows that would end the add stay open.
    static bool anyRunning();
    // Runs `action` once no add of many files runs: at once when none does, else from the event
    // loop after the last one ended (not when `context` is gone by then).
    static void whenNoneRunning(QObject* context, std::function<void()> action);
    // Marks an add of many files for its scope.
    class Running {
      public:
        Running();
        ~Running();
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;
    };

    // Lets pending events other than user input run, at most every few dozen milliseconds
    // unless forced, and reports the count of files done first.
    void letEventsRun(int done, int total, bool force);

    // Reads one file into the editor fields by its ending: mp3 by its tag, archives by listing
    // their members (AddArchiveMembers), any other by ReadGeneric. A folder is refused with a
    // message and leaves the fields cleared.
    Report AddFile(const QString& path, EndingCase endings);
    // Fill the editor fields (the folder message shown when the path is a folder).
    void ReadMp3Tag(const QString& path);
    void ReadGeneric(const QString& path);

    // Asks for a folder in the folder browser and adds it; nothing when the browser is
    // cancelled.
    Report AddFolderFromBrowser(const QStringList& patterns);
    // Adds the files of `folder` matching `patterns` (any letter case); when it has subfolders,
    // asks whether to add them too, depth first, subfolders before the folder's own files.
    Report AddFolder(const QString& folder, const QStringList& patterns);

    // Lists the archive's members and asks whether to add them all; No opens the chooser for
    // one member, which fills path and title for the user to complete.
    Report AddArchiveMembers(const QString& archivePath);

    // Adds many files one by one (AddFile, then SaveItem when a title was read), in one write
    // batch. `autoAdd` files the titles into the playback list (drops on the main window).
    Report addMany(const QStringList& paths, EndingCase endings, bool autoAdd);

    // Begins an add made of single reads and saves (saveRead): refusal messages show again.
    void beginRun() { refusalsShown_.clear(); }

    // Saves what the editor fields hold, as the many-file flows do: nothing for an empty
    // title; a refusal message of SaveItem is shown once per add, later refusals of the same
    // kind skip quietly.
    void saveRead(Report& report, bool autoAdd);

  private:
    void fill(const FileReading& reading);
    QString titleKeepingOthers(const QString& title, const QString& path);
    void collectFolder(const QString& folder, bool recurse, const QStringList& patterns,
                       QStringList& files, QSet<QString>& visited) const;
    Report addManyPaths(const QStringList& paths, bool autoAdd,
                        const std::function<bool(const QString&)>& read);

    QString defaultChooseMember(const QStringList& members);

    ItemEditor& editor_;
    LibrarySession& session_;
    MemberChooser chooseMember_;
    Progress progress_;
    QWidget* chooserParent_ = nullptr;
    bool busy_ = false;
    qint64 lastEventsMs_ = 0;
    QSet<int> refusalsShown_;  // kinds of SaveItem refusal shown during the running add
};

}  // namespace marlo
