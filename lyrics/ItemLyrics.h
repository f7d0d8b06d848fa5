#pragma once

#include "lyrics/LyricsHost.h"
#include "lyrics/SyncedLyrics.h"

namespace marlo {

// The lyrics an audio item has without asking a server, first hit wins: stored for the item,
// an ".lrc" beside its file, the file's tag, a MIDI file's lyric events.
struct ItemLyrics {
    SyncedLyrics lyrics;
    bool stored = false;  // they came from the item store
    QString album;        // the file tag's, for asking a server

    static ItemLyrics find(const NowPlaying& item, ItemLyricsStore* store);
};

}  // namespace marlo
