#pragma once

#include <QPixmap>
#include <array>
#include <optional>

namespace marlo {

// The six picture buttons of the remote-control window, `Image1` to `Image6`.
enum class RemoteButton { Play, Pause, Stop, Previous, Next, Settings };
inline constexpr std::array<RemoteButton, 6> kRemoteButtons{
    RemoteButton::Play,     RemoteButton::Pause, RemoteButton::Stop,
    RemoteButton::Previous, RemoteButton::Next,  RemoteButton::Settings};

// Which of its main-window slots a button shows: slot 1 (inactive; the rest picture of the
// two-look buttons), slot 2 (normal), slot 3 (pressed), slot 4 (lit).
enum class SlotLook { Inactive, Normal, Pressed, Lit };

// The pictures of one button's slots. The settings button has `Setup1` as inactive and normal
// and `Setup2` as pressed.
struct RemoteSlotPictures {
    QPixmap inactive;
    QPixmap normal;
    QPixmap pressed;
    QPixmap lit;

    // The picture of `look`, or the normal one where the button has no such slot.
    const QPixmap& of(SlotLook look) const;
};
using RemotePictures = std::array<RemoteSlotPictures, 6>;

// What the press rules ask of the player.
struct RemoteFacts {
    bool listEmpty = true;
    bool playing = false;
    bool repeatAll = false;
    bool atFirst = false;
    bool atLast = false;
};

// The player and main window behind the remote-control window. The main window implements
// it: the window calls nothing else.
class RemoteHost {
  public:
    virtual ~RemoteHost() = default;
    virtual RemoteFacts remoteFacts() const = 0;
    // The action of the main window's matching button; Settings opens the settings dialog.
    virtual void remoteAction(RemoteButton button) = 0;
    // The slot the main window's matching button shows now.
    virtual SlotLook shownLook(RemoteButton button) const = 0;
};

// Whether pressing `button`, which shows `shown`, shows its pressed picture: play not on an
// empty list nor while inactive; previous and next likewise, and only when there is an item
// to go to or "Repeat all" wraps round.
bool showsPressed(RemoteButton button, SlotLook shown, const RemoteFacts& facts);

// The button a released key acts as: Space pauses what plays and plays otherwise, Page Up is
// previous, Page Down next.
std::optional<RemoteButton> buttonForKey(int qtKey, bool playing);

}  // namespace marlo
