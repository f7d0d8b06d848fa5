#pragma once

#include <QObject>
#include <array>

#include "base/CaptionSwitch.h"
#include "player/DisplayModel.h"
#include "skins/SkinSlots.h"

class QWidget;

namespace marlo {

class TransCtl;

// The nine skin buttons of the main window and their pictures: a press shows the pressed
// picture, a release shows the button's normal picture again and, only when it lies inside the
// button's active area, reports the button. With a design skin a picture is given as the
// button's mask picture, with a strip skin as its plain picture. Every button has a tooltip
// and a caption for the plain surface, German as designed and English after the caption switch.
class SkinButtons : public QObject, public CaptionedWindow {
    Q_OBJECT
  public:
    explicit SkinButtons(QWidget* window);
    ~SkinButtons() override;

    TransCtl* button(SkinButton which) const { return buttons_[static_cast<size_t>(which)]; }
    SkinKind kind() const { return kind_; }
    const SlotPictures& pictures() const { return pictures_; }

    // Takes the pictures of a newly applied skin.
    void setSkin(const SlotPictures& pictures, SkinKind kind);
    // Slot 1 on every button.
    void showInitialImages();
    // The transport buttons show the picture of their look.
    void showLooks(const DisplayModel& model, bool paused);
    // Gives a slot's picture to a button, as mask or plain picture by the skin kind. A slot
    // without a picture gives the button its plain face.
    void show(SkinButton which, Slot slot);

    // The slot showing a transport button's look.
    static Slot lookSlot(SkinButton which, ButtonLook look, bool paused);
    // Whether a release at `pixels` (inside the button) lies in the button's active area.
    static bool insideActiveArea(SkinButton which, QPointF pixels);

    void applyEnglishCaptions() override;

  signals:
    void released(SkinButton which);

  private:
    void wire(SkinButton which);
    void showTexts();
    Slot normalSlot(SkinButton which) const;

    std::array<TransCtl*, kSkinButtonCount> buttons_{};
    std::array<Slot, kSkinButtonCount> shown_{};
    // The picture each button shows; the display changes every second, the pictures seldom.
    std::array<qint64, kSkinButtonCount> shownPicture_{};
    SlotPictures pictures_;
    SkinKind kind_ = SkinKind::Strip;
    const DisplayModel* model_ = nullptr;
    bool paused_ = false;
};

}  // namespace marlo
