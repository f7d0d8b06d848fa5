#include "library/LibraryWriter.h"

#include <QElapsedTimer>

#include "base/WriteErrorText.h"
#include "base/texts/StartupTexts.h"
#include "library/CollectionFile.h"
#include "library/ItemStore.h"
#include "platform/Files.h"
#include "platform/Prompts.h"

namespace marlo {
namespace {

qint64 steadyMilliseconds() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

}  // namespace

LibraryWriter::LibraryWriter(ItemStore& store, Prompts& prompts, Clock clock)
    : store_(store), prompts_(prompts), clock_(clock ? std::move(clock) : steadyMilliseconds) {}

void LibraryWriter::appendToCollection(const QString& collectionPath, const QString& title) {
    if (collectionPath.isEmpty()) {
        return;
    }
    auto it = pendingLines_.find(collectionPath);
    if (it == pendingLines_.end()) {
        pendingFiles_.append(collectionPath);
        it = pendingLines_.insert(collectionPath, {});
    }
    it->append(title);
}

bool LibraryWriter::removeFromCollection(const QString& collectionPath, const QString& title,
                                         const QString& scratchPath) {
    if (!flush()) {
        return false;
    }
    const CollectionFile file(collectionPath);
    if (!file.exists() || file.remove(title, scratchPath)) {
        return true;
    }
    prompts_.message(QString(), writeErrorText(), PromptIcon::None, PromptButtons::Ok,
                     PromptAnswer::Ok);
    failed();
    return false;
}

bool LibraryWriter::operationDone() {
    if (!inBatch() || clock_() - lastFlushMs_ >= flushIntervalMs_) {
        return flush();
    }
    return true;
}

bool LibraryWriter::flush() {
    clearWriteFailure();
    const bool stored = !store_.hasPendingChanges() || store_.commit();  // commit tells the user
    lastFlushMs_ = clock_();
    if (!stored) {
        // What was not written is forgotten: shown or played on, it would be gone after a
        // restart, and its collection lines must never name records that are missing.
        store_.discardPending();
        failed();
        return false;
    }
    if (!appendPendingLines()) {
        prompts_.message(QString(), writeErrorText(), PromptIcon::None, PromptButtons::Ok,
                         PromptAnswer::Ok);
        failed();
        return false;
    }
    return true;
}

void LibraryWriter::failed() {
    pendingLines_.clear();
    pendingFiles_.clear();
    if (onFailure_) {
        onFailure_();
    }
}

bool LibraryWriter::appendPendingLines() {
    while (!pendingFiles_.isEmpty()) {
        const QString path = pendingFiles_.front();
        if (!CollectionFile(path).appendAll(pendingLines_.value(path))) {
            return false;
        }
        pendingLines_.remove(path);
        pendingFiles_.removeFirst();
    }
    return true;
}

void LibraryWriter::beginBatch() {
    if (batchDepth_++ == 0) {
        lastFlushMs_ = clock_();
    }
}

bool LibraryWriter::endBatch() {
    if (batchDepth_ == 0 || --batchDepth_ > 0) {
        return true;
    }
    return flush();
}

bool SaveBatch::finish() {
    if (!finished_) {
        finished_ = true;
        result_ = writer_.endBatch();
    }
    return result_;
}

}  // namespace marlo
