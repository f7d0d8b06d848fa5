#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

struct zip;

namespace marlo {

// A zip archive used as a store of small named members (the library's "Marlo.zip").
//
// The member index stays in memory between operations and members are read straight into memory.
// put() and remove() only collect changes; commit() writes them all with one rewrite of the
// archive, into a new file beside it that then replaces it by a rename, so a crash at any moment
// leaves the old or the new archive. Reads see the collected changes at once.
//
// Member names compare without regard to case, as file names do where these stores came from: a
// put under another letter case replaces the member and takes the new spelling.
//
// An archive that exists but cannot be read as a zip is never written over: open() renames it
// aside ("<name>.damaged-<date>-<time>") and the new store starts with every member that is
// still whole in it.
class ZipStore {
  public:
    enum class OpenState {
        Closed,      // open() not called yet
        Ready,       // the archive was read, or there was none and the store is empty
        MovedAside,  // the archive was damaged and now lies at movedAsidePath(); the store holds
                     // what salvaged() says
        Unusable,    // the archive can be neither read nor moved aside; nothing will be written
    };

    explicit ZipStore(QString archivePath);
    ~ZipStore();  // uncommitted changes are dropped
    ZipStore(const ZipStore&) = delete;
    ZipStore& operator=(const ZipStore&) = delete;

    // Reads the member index. Leftover temporary files of an interrupted rewrite are removed.
    // Reads need it; put(), remove() and commit() call it themselves when it was not called.
    OpenState open();
    OpenState state() const { return state_; }
    const QString& path() const { return path_; }
    const QString& movedAsidePath() const { return movedAsidePath_; }

    // What open() brought over from a damaged archive into the new store, which it then wrote.
    struct Salvaged {
        int saved = 0;
        QStringList lost;  // members found in the damaged archive whose data was not whole
    };
    const Salvaged& salvaged() const { return salvaged_; }

    bool contains(const QString& name) const;
    // The member's bytes; false when it is missing or cannot be read (see lastReadError()).
    bool read(const QString& name, QByteArray& content) const;
    // libzip's error code of the last failed read of an existing member, 0 when it was missing.
    int lastReadError() const { return lastReadError_; }

    void put(const QString& name, const QByteArray& content);
    void remove(const QString& name);

    bool hasPendingChanges() const { return !pending_.isEmpty(); }
    int pendingCount() const { return static_cast<int>(pending_.size()); }
    // Writes the collected changes. On failure the archive on disk is unchanged and the changes
    // stay collected for the next try.
    bool commit();
    // Forgets the collected changes, so reads show the archive on disk again (after a commit
    // that failed, nothing is shown that a restart would not find).
    void discardPending() { pending_.clear(); }

    // Current member names (committed and collected), in no particular order.
    QStringList names() const;
    int count() const;

  private:
    struct Pending {
        QString name;
        QByteArray content;
        bool removed = false;
    };

    bool openArchive(int flags);
    void closeArchive();
    void rebuildIndex();
    bool moveAside();
    void salvage();
    void removeLeftoverTemporaries() const;
    static QString key(const QString& name) { return name.toCaseFolded(); }

    QString path_;
    QString movedAsidePath_;
    QString unusableReason_;  // the system's word for why the archive is unusable
    Salvaged salvaged_;
    OpenState state_ = OpenState::Closed;
    zip* archive_ = nullptr;
    QHash<QString, qint64> index_;         // folded name -> member index in archive_
    QHash<QString, QString> storedNames_;  // folded name -> name as stored
    QHash<QString, Pending> pending_;      // folded name -> collected change
    mutable int lastReadError_ = 0;
};

}  // namespace marlo
