#pragma once

#include <memory>

#include "skins/RemoteButtons.h"
#include "skins/SkinSlots.h"

namespace marlo {

class Controller;
class Marlo;
struct TaskBackground;

// The remote's pictures from the main window's slots: inactive, normal, pressed and lit are a
// button's slots 1 to 4 (a button with three has no lit picture of its own); Settings shows
// `Setup1` and `Setup2` pressed.
RemotePictures remotePicturesOf(const SlotPictures& skinPictures);
// The skin's taskbar value: a picture's path, or a colour number BBGGRR as the register keeps
// it.
TaskBackground taskBackgroundOf(const QString& task);

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
