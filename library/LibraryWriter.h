#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

namespace marlo {

class ItemStore;
class Prompts;

// Decides when the library's writes reach the disk.
//
// Outside a batch every operation is written at once. Inside a batch (adding a folder, a drop of
// many files) the store is written once at the end and, while the batch runs, whenever the
// flush interval has passed since the last write — one archive rewrite per interval instead of
// one per item. New collection lines wait with the records and are appended only after the
// store holding their records was written, so a crash never leaves a collection listing a title
// whose record is missing.
class LibraryWriter {
  public:
    using Clock = std::function<qint64()>;  // milliseconds on a steady clock
    static constexpr qint64 kDefaultFlushIntervalMs = 2000;

    LibraryWriter(ItemStore& store, Prompts& prompts, Clock clock = {});

    void setFlushInterval(qint64 milliseconds) { flushIntervalMs_ = milliseconds; }

    // A new title line for a collection file; written now or with the batch's next flush.
    void appendToCollection(const QString& collectionPath, const QString& title);
    // Removes the title's lines from a collection file (case-insensitive) through the scratch
    // file; collected writes go first so the lines are in the file. A failure shows
    // "Schreibfehler".
    bool removeFromCollection(const QString& collectionPath, const QString& title,
                              const QString& scratchPath);

    // Called after a write failed and its message was shown, once what was not written has been
    // forgotten: the lists are to show what the files hold again.
    void setFailureHandler(std::function<void()> handler) { onFailure_ = std::move(handler); }

    // Called at the end of each saving operation.
    bool operationDone();
    // Writes everything collected: the store, then the collection lines. A failure shows
    // "Schreibfehler" with the file and the reason; what was not written is dropped.
    bool flush();

    void beginBatch();
    bool endBatch();
    bool inBatch() const { return batchDepth_ > 0; }

  private:
    bool appendPendingLines();
    void failed();

    ItemStore& store_;
    Prompts& prompts_;
    Clock clock_;
    qint64 flushIntervalMs_ = kDefaultFlushIntervalMs;
    qint64 lastFlushMs_ = 0;
    int batchDepth_ = 0;
    QStringList pendingFiles_;                  // in order of first use
    QHash<QString, QStringList> pendingLines_;  // collection path -> titles to append
    std::function<void()> onFailure_;
};

// A batch for the scope of an add of many files: ends (and writes) when it goes out of scope.
class SaveBatch {
  public:
    explicit SaveBatch(LibraryWriter& writer) : writer_(writer) { writer_.beginBatch(); }
    ~SaveBatch() { finish(); }
    SaveBatch(const SaveBatch&) = delete;
    SaveBatch& operator=(const SaveBatch&) = delete;

    // Ends the batch now; true when its last write succeeded. Later calls do nothing.
    bool finish();

  private:
    LibraryWriter& writer_;
    bool finished_ = false;
    bool result_ = true;
};

}  // namespace marlo
