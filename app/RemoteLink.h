#pragma once

#include <memory>

#include "skins/RemoteButtons.h"

namespace marlo {

class Controller;
class Marlo;

// The remote-control window behind the minimised main window: it is filled with the current
// skin's pictures and the player's title, and its buttons act as the main window's do.
class RemoteLink : public RemoteHost {
  public:
    explicit RemoteLink(Marlo& window);
    ~RemoteLink() override;

    void show();
    void hide();
    Controller* controller() const { return controller_.get(); }

    RemoteFacts remoteFacts() const override;
    void remoteAction(RemoteButton button) override;
    SlotLook shownLook(RemoteButton button) const override;

  private:
    Marlo& window_;
    std::unique_ptr<Controller> controller_;
};

}  // namespace marlo
