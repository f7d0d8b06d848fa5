#include "library/StoredCdLyrics.h"

#include "library/LibrarySession.h"

namespace marlo {

StoredCdLyrics::StoredCdLyrics(LibrarySession& session, std::function<QString()> lastDiscId)
    : session_(session), lastDiscId_(std::move(lastDiscId)) {}

QString StoredCdLyrics::selectedPlaylistLine() {
    return session_.playback.selectedIndex() >= 0 ? session_.playback.selectedTitle() : QString();
}

QString StoredCdLyrics::lastDiscId() {
    return lastDiscId_ ? lastDiscId_() : QString();
}

QString StoredCdLyrics::albumOf(const QString& discId) {
    if (discId.isEmpty()) {
        return {};
    }
    const CdInfo info = session_.store.ReadCdInfo(discId, 0);
    return info.known && !isNotPresent(info.album) ? info.album : QString();
}

std::optional<QByteArray> StoredCdLyrics::lyricsOf(const QString& discId, int track) {
    QByteArray text;
    if (discId.isEmpty() || !session_.store.readLyrics(discId, track, text)) {
        return std::nullopt;
    }
    return text;
}

}  // namespace marlo
