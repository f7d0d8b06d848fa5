#include "library/StoredItemLyrics.h"

#include "library/LibrarySession.h"

namespace marlo {

std::optional<QByteArray> StoredItemLyrics::storedLyrics(const QString& title) {
    QByteArray text;
    if (title.isEmpty() || !session_.store.readItemLyrics(title, text)) {
        return std::nullopt;
    }
    return text;
}

void StoredItemLyrics::storeLyrics(const QString& title, const QByteArray& lyrics) {
    if (title.isEmpty()) {
        return;
    }
    session_.store.putItemLyrics(title, lyrics);
    session_.writer.operationDone();
}

}  // namespace marlo
