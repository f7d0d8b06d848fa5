#pragma once

#include <QMetaObject>

#include "lyrics/LyricsHost.h"

namespace marlo {

class DisplayModel;
class LibrarySession;
class MediaDevice;
class PlaybackEngine;
class StreamingControl;

// The player as the lyrics window sees it: the item that plays (or, before anything played,
// the selected one), its position on the device that carries it, and a seek through the engine.
class LyricsPlayerLink final : public LyricsPlayer {
  public:
    LyricsPlayerLink(PlaybackEngine& engine, DisplayModel& display, LibrarySession& library,
                     MediaDevice& audio, StreamingControl& streaming)
        : engine_(engine),
          display_(display),
          library_(library),
          audio_(audio),
          streaming_(streaming) {}
    ~LyricsPlayerLink() override;

    QString currentKey() override;
    NowPlaying nowPlaying() override;
    qint64 positionMs() override;
    bool running() override;
    bool canSeek() override;
    void seekTo(qint64 ms) override;
    // The display model changes with everything the window follows.
    void setChangeListener(std::function<void()> listener) override;

  private:
    qint64 deviceLengthMs() const;

    PlaybackEngine& engine_;
    DisplayModel& display_;
    LibrarySession& library_;
    MediaDevice& audio_;
    StreamingControl& streaming_;
    QMetaObject::Connection listening_;
};

}  // namespace marlo
