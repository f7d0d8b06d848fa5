#include "skins/RemoteButtons.h"

namespace marlo {

const QPixmap& RemoteSlotPictures::of(SlotLook look) const {
    const QPixmap* wanted = &lit;
    switch (look) {
        case SlotLook::Inactive:
            wanted = &inactive;
            break;
        case SlotLook::Normal:
            wanted = &normal;
            break;
        case SlotLook::Pressed:
            wanted = &pressed;
            break;
        case SlotLook::Lit:
            break;
    }
    // A button without that slot (stop has no lit look) shows its normal picture.
    return wanted->isNull() ? normal : *wanted;
}

bool showsPressed(RemoteButton button, SlotLook shown, const RemoteFacts& facts) {
    switch (button) {
        case RemoteButton::Play:
            return !facts.listEmpty && shown != SlotLook::Inactive;
        case RemoteButton::Previous:
            return !facts.listEmpty && shown != SlotLook::Inactive &&
                   (facts.repeatAll || !facts.atFirst);
        case RemoteButton::Next:
            return !facts.listEmpty && shown != SlotLook::Inactive &&
                   (facts.repeatAll || !facts.atLast);
        case RemoteButton::Pause:
        case RemoteButton::Stop:
        case RemoteButton::Settings:
            break;
    }
    return true;
}

std::optional<RemoteButton> buttonForKey(int qtKey, bool playing) {
    switch (qtKey) {
        case Qt::Key_Space:
            return playing ? RemoteButton::Pause : RemoteButton::Play;
        case Qt::Key_PageUp:
            return RemoteButton::Previous;
        case Qt::Key_PageDown:
            return RemoteButton::Next;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace marlo
