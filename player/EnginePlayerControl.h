#pragma once

#include "library/PlayerControl.h"

namespace marlo {

class DisplayModel;
class PlaybackEngine;

// The engine and its display model as the library's windows see the player.
class EnginePlayerControl final : public PlayerControl {
  public:
    EnginePlayerControl(PlaybackEngine& engine, DisplayModel& display)
        : engine_(engine), display_(display) {}

    bool isPlaying() const override;
    QString currentEntry() const override;
    bool hasCurrentItem() const override;
    void stop() override;
    void stopCurrentItem() override;
    void takeOverPlaybackList() override;
    void hideVolumeBars() override;

  private:
    PlaybackEngine& engine_;
    DisplayModel& display_;
};

}  // namespace marlo
