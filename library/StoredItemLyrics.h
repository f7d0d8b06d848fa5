#pragma once

#include "lyrics/LyricsHost.h"

namespace marlo {

class LibrarySession;

// Lyrics of audio items in the item store; each store is written at once.
class StoredItemLyrics : public ItemLyricsStore {
  public:
    explicit StoredItemLyrics(LibrarySession& session) : session_(session) {}

    std::optional<QByteArray> storedLyrics(const QString& title) override;
    void storeLyrics(const QString& title, const QByteArray& lyrics) override;

  private:
    LibrarySession& session_;
};

}  // namespace marlo
