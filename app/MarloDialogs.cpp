// The main window's settings dialog and popup menu, kept apart from its start-up and skin code.
#include "app/Marlo.h"

#include <QMenu>

#include "app/Popup.h"
#include "app/RemoteLink.h"
#include "app/SettingsWindow.h"
#include "library/Musikform.h"
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

void Marlo::openCollectionEditorInstead() {
    openCollectionEditor();
    Musikform* editor = collectionEditor();
    // With the item editor open the collection editor stays hidden; so does nothing else.
    if (editor == nullptr || !editor->isVisible()) {
        return;
    }
    if (!watchingEditor_) {
        editor->installEventFilter(this);
        watchingEditor_ = true;
    }
    hiddenForEditor_ = true;
    hide();
}

void Marlo::showAfterEditor() {
    if (hiddenForEditor_ && !shutDown_) {
        hiddenForEditor_ = false;
        show();
    }
}

void Marlo::openPopup(const QPoint& at) {
    if (popupUp_) {
        return;
    }
    if (!popup_) {
        popup_ = std::make_unique<frmPopup>(*this);
    }
    popupUp_ = true;
    popupUnloadAsked_ = false;
    const bool exit = popup_->popUp(at);
    popupUp_ = false;
    // Asked while its menu was up, the unload waits until the menu has returned.
    if (popupUnloadAsked_) {
        popup_.reset();
    }
    if (exit) {
        close();
    }
}

void Marlo::closePopup() {
    if (!popup_) {
        return;
    }
    if (popupUp_) {
        popupUnloadAsked_ = true;
        popup_->menu()->close();
        return;
    }
    popup_.reset();
}

}  // namespace marlo
