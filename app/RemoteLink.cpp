#include "app/RemoteLink.h"

#include "app/Marlo.h"
#include "app/SkinButtons.h"
#include "library/LibrarySession.h"
#include "player/DisplayModel.h"
#include "player/PlaybackEngine.h"
#include "skins/Controller.h"
#include "skins/SkinFiles.h"
#include "skins/SkinLoader.h"

namespace marlo {

namespace {

SkinButton mainButton(RemoteButton button) {
    switch (button) {
        case RemoteButton::Play:
            return SkinButton::Play;
        case RemoteButton::Pause:
            return SkinButton::Pause;
        case RemoteButton::Stop:
            return SkinButton::Stop;
        case RemoteButton::Previous:
            return SkinButton::Previous;
        case RemoteButton::Next:
            return SkinButton::Next;
        case RemoteButton::Settings:
            break;
    }
    return SkinButton::Setup;
}

// The first of a button's slots; the looks follow it in the order inactive, normal, pressed, lit.
Slot firstSlot(RemoteButton button) {
    switch (button) {
        case RemoteButton::Play:
            return Slot::Play1;
        case RemoteButton::Pause:
            return Slot::Pause1;
        case RemoteButton::Stop:
            return Slot::Stop1;
        case RemoteButton::Previous:
            return Slot::Prev1;
        case RemoteButton::Next:
            return Slot::Next1;
        case RemoteButton::Settings:
            break;
    }
    return Slot::Setup1;
}

int slotCount(RemoteButton button) {
    switch (button) {
        case RemoteButton::Play:
        case RemoteButton::Pause:
            return 4;
        case RemoteButton::Settings:
            return 2;
        default:
            return 3;
    }
}

ButtonLook lookOf(const DisplayModel& display, RemoteButton button) {
    switch (button) {
        case RemoteButton::Play:
            return display.play();
        case RemoteButton::Pause:
            return display.pause();
        case RemoteButton::Stop:
            return display.stop();
        case RemoteButton::Previous:
            return display.previous();
        case RemoteButton::Next:
            return display.next();
        case RemoteButton::Settings:
            break;
    }
    return ButtonLook::Enabled;
}

}  // namespace

TaskBackground taskBackgroundOf(const QString& task) {
    TaskBackground background;
    if (task.isEmpty()) {
        return background;
    }
    // Found as the settings dialog's preview finds it: skins made on Windows write "\" and
    // another letter case than the files on disk.
    if (isAbsoluteSkinPath(task)) {
        try {
            background.picture = QPixmap::fromImage(loadSkinPicture(task));
        } catch (const SkinError&) {
            // A picture that does not load leaves the remote its colour.
        }
        return background;
    }
    bool number = false;
    const qlonglong value = task.toLongLong(&number);
    if (number && value >= 0) {
        background.colour =
            QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
    }
    return background;
}

RemotePictures remotePicturesOf(const SlotPictures& skinPictures) {
    RemotePictures pictures;
    for (std::size_t i = 0; i < kRemoteButtons.size(); ++i) {
        const RemoteButton button = kRemoteButtons[i];
        const int first = static_cast<int>(firstSlot(button));
        const int count = slotCount(button);
        auto at = [&](int look) {
            return skinPictures[static_cast<std::size_t>(first + std::min(look, count - 1))];
        };
        // Settings has Setup1 as its inactive and normal picture and Setup2 as pressed.
        const bool setup = button == RemoteButton::Settings;
        pictures[i].inactive = at(0);
        pictures[i].normal = setup ? at(0) : at(1);
        pictures[i].pressed = setup ? at(1) : at(2);
        pictures[i].lit = count == 4 ? at(3) : pictures[i].normal;
    }
    return pictures;
}

RemoteLink::RemoteLink(Marlo& window) : window_(window) {}

RemoteLink::~RemoteLink() = default;

void RemoteLink::show() {
    if (!controller_) {
        controller_ = std::make_unique<Controller>(*this);
        QObject::connect(&window_.display(), &DisplayModel::changed, controller_.get(), [this] {
            controller_->setTickerText(window_.display().ticker());
            controller_->refreshLooks();
        });
    }
    controller_->fill(window_.display().ticker(), window_.remoteBackground(),
                      remotePicturesOf(window_.skinButtons().pictures()));
    controller_->present();
}

void RemoteLink::hide() {
    if (controller_) {
        controller_->dismiss();
    }
}

RemoteFacts RemoteLink::remoteFacts() const {
    RemoteFacts facts;
    LibrarySession* library = window_.library();
    if (library != nullptr) {
        const int count = library->playback.count();
        const int selected = library->playback.selectedIndex();
        facts.listEmpty = count == 0;
        facts.atFirst = selected <= 0;
        facts.atLast = selected >= count - 1;
    }
    facts.playing = window_.display().playing();
    facts.repeatAll = window_.settings().isSet(option::kRepeatAll);
    return facts;
}

void RemoteLink::remoteAction(RemoteButton button) {
    PlaybackEngine* engine = window_.engine();
    if (button == RemoteButton::Settings) {
        window_.showSettingsDialog();
        return;
    }
    if (engine == nullptr) {
        return;
    }
    switch (button) {
        case RemoteButton::Play:
            engine->play();
            break;
        case RemoteButton::Pause:
            engine->pause();
            break;
        case RemoteButton::Stop:
            engine->stop();
            break;
        case RemoteButton::Previous:
            engine->previous();
            break;
        case RemoteButton::Next:
            engine->next();
            break;
        case RemoteButton::Settings:
            break;
    }
}

SlotLook RemoteLink::shownLook(RemoteButton button) const {
    if (button == RemoteButton::Settings) {
        return SlotLook::Normal;
    }
    const bool paused = window_.display().paused();
    const Slot slot =
        SkinButtons::lookSlot(mainButton(button), lookOf(window_.display(), button), paused);
    const int offset = static_cast<int>(slot) - static_cast<int>(firstSlot(button));
    switch (offset) {
        case 0:
            return SlotLook::Inactive;
        case 2:
            return SlotLook::Pressed;
        case 3:
            return SlotLook::Lit;
        default:
            return SlotLook::Normal;
    }
}

}  // namespace marlo
