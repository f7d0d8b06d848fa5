// The main window's settings dialog and popup menu, kept apart from its start-up and skin code.
#include "app/Marlo.h"
#include "app/Popup.h"
#include "app/SettingsWindow.h"

namespace marlo {

void Marlo::showSettingsDialog() {
    if (!cfg_) {
        cfg_ = std::make_unique<CFG>(*this, prompts_);
    }
    cfg_->open();
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
