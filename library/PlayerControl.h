#pragma once

#include <QString>

namespace marlo {

// What the library's windows need of the player, which sits above them: what plays, the stops
// that kind switches and deletes require, and the hand-over of the playback list. The player
// implements it.
class PlayerControl {
  public:
    // A title plays (paused counts as playing).
    virtual bool isPlaying() const = 0;
    // The playback entry of the item that plays or is loaded; empty when there is none.
    virtual QString currentEntry() const = 0;
    // An item is loaded, whether or not it plays: its type and archive name are in use.
    virtual bool hasCurrentItem() const = 0;
    virtual void stop() = 0;
    virtual void stopCurrentItem() = 0;
    // "Finish!": the player takes the playback list over.
    virtual void takeOverPlaybackList() = 0;
    // The module volume bars belong to the kind that played; a kind switch hides them.
    virtual void hideVolumeBars() = 0;

  protected:
    ~PlayerControl() = default;
};

}  // namespace marlo
