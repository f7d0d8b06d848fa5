#pragma once

#include <functional>

#include "lyrics/LyricsDisplay.h"

namespace marlo {

class LibrarySession;

// The stored lyrics of CD tracks as the lyrics window reads them: the playback list's selected
// line, the disc's information record and its lyrics members in the item store. The disc opened
// last is the player's.
class StoredCdLyrics : public CdLyricsSource {
  public:
    StoredCdLyrics(LibrarySession& session, std::function<QString()> lastDiscId);

    QString selectedPlaylistLine() override;
    QString lastDiscId() override;
    QString albumOf(const QString& discId) override;
    std::optional<QByteArray> lyricsOf(const QString& discId, int track) override;

  private:
    LibrarySession& session_;
    std::function<QString()> lastDiscId_;
};

}  // namespace marlo
