#pragma once

#include "lyrics/LyricsHost.h"

namespace marlo {

class LibrarySession;
class MediaDevice;
class PlaybackEngine;
class StreamingControl;

// The player as the lyrics window sees it: the item that plays (or, before anything played,
// the selected one), its position on the device that carries it, and a seek through the engine.
class LyricsPlayerLink final : public LyricsPlayer {
  public:
    LyricsPlayerLink(PlaybackEngine& engine, LibrarySession& library, MediaDevice& audio,
                     StreamingControl& streaming)
        : engine_(engine), library_(library), audio_(audio), streaming_(streaming) {}

    QString currentKey() override;
    NowPlaying nowPlaying() override;
    qint64 positionMs() override;
    bool canSeek() override;
    void seekTo(qint64 ms) override;

  private:
    qint64 deviceLengthMs() const;

    PlaybackEngine& engine_;
    LibrarySession& library_;
    MediaDevice& audio_;
    StreamingControl& streaming_;
};

}  // namespace marlo
