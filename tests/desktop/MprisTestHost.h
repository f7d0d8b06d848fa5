#pragma once

#include <optional>

#include "desktop/Mpris.h"

namespace marlo::test {

// The program as the media player interface sees it, over an engine of the tests; the device's
// position is what the test says it is.
class MprisTestHost : public MprisHost {
  public:
    MprisTestHost(PlaybackEngine& engine, DisplayModel& display, LibrarySession& library)
        : engine_(engine), display_(display), library_(library) {}
    PlaybackEngine* engine() override { return &engine_; }
    DisplayModel& display() override { return display_; }
    void raise() override {}
    void quit() override {}
    void open(const QStringList&) override {}
    LibrarySession* library() override { return &library_; }
    std::optional<qint64> heardPositionMs() override { return heard; }
    std::optional<qint64> heard;

  private:
    PlaybackEngine& engine_;
    DisplayModel& display_;
    LibrarySession& library_;
};

}  // namespace marlo::test
