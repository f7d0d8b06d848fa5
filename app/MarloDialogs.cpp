// The main window's settings dialog and popup menu, kept apart from its start-up and skin code.
#include "app/Marlo.h"
#include "app/Popup.h"
#include "app/RemoteLink.h"
#include "app/SettingsWindow.h"
#include "skins/Controller.h"

namespace marlo {

CFG& Marlo::settingsWindow() {
    if (!cfg_) {
        cfg_ = std::make_unique<CFG>(*this, prompts_);
    }
    return *cfg_;
}

void Marlo::showSettingsDialog() {
    settingsWindow().open();
}

TaskBackground Marlo::remoteBackground() {
    TaskBackground background = taskBackgroundOf(skins_.definition().task);
    if (background.picture.isNull()) {
        // Without a taskbar picture the remote takes the colour of the settings dialog's
        // swatch, the one "Color" last chose; the dialog is made for it when it is not yet.
        background.colour = settingsWindow().taskColour();
    }
    return background;
}

void Marlo::setModuleFilterMode(int mode) {
    if (parts_ != nullptr) {
        parts_->setModuleFilterMode(mode);
    }
}

void Marlo::openPopup(const QPoint& at) {
    if (!popup_) {
        popup_ = std::make_unique<frmPopup>(*this);
    }
    if (popup_->popUp(at)) {
        close();
    }
}

}  // namespace marlo
