#pragma once

#include "desktop/Mpris.h"

namespace marlo {

class CompositionRoot;
class Marlo;

// The running program as the desktop's media player interface and later starts see it.
class DesktopLink final : public MprisHost {
  public:
    explicit DesktopLink(CompositionRoot& root);

    PlaybackEngine* engine() override;
    DisplayModel& display() override;
    // Back from minimised and in front of the other windows.
    void raise() override;
    void quit() override;
    void open(const QStringList& paths) override;
    LibrarySession* library() override;
    std::optional<qint64> heardPositionMs() override;

  private:
    CompositionRoot& root_;
    Marlo& window_;
};

}  // namespace marlo
