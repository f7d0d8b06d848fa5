#include "app/SkinButtons.h"

#include "base/texts/RemoteTexts.h"
#include "base/texts/SkinTexts.h"
#include "platform/Twips.h"
#include "skins/TransCtl.h"

namespace marlo {
namespace {

struct PlainButton {
    SkinButton which;
    const TextPair* caption;
    const TextPair* tip;
    QRect twips;  // on the plain surface, before a skin places it
};

const PlainButton kPlainButtons[] = {
    {SkinButton::Mini, &texts::kButtonMinimize, &texts::kTipMinimize, {270, 380, 705, 180}},
    {SkinButton::Next, &texts::kButtonNext, &texts::remote::kNextTip, {4210, 920, 570, 225}},
    {SkinButton::Pause, &texts::kButtonPause, &texts::remote::kPauseTip, {2320, 920, 570, 450}},
    {SkinButton::Play, &texts::kButtonPlay, &texts::remote::kPlayTip, {1270, 920, 1035, 450}},
    {SkinButton::Stop, &texts::kButtonStop, &texts::remote::kStopTip, {2910, 920, 570, 450}},
    {SkinButton::Previous,
     &texts::kButtonPrevious,
     &texts::remote::kPreviousTip,
     {3630, 920, 570, 225}},
    {SkinButton::Close, &texts::kButtonClose, &texts::kTipClose, {270, 150, 705, 180}},
    {SkinButton::Song, &texts::kButtonOpen, &texts::kTipOpen, {270, 610, 705, 300}},
    {SkinButton::Setup,
     &texts::kButtonSetup,
     &texts::remote::kSettingsTip,
     {3630, 1145, 1150, 225}},
};

QSize plainSize(SkinButton which) {
    for (const PlainButton& plain : kPlainButtons) {
        if (plain.which == which) {
            return {twipsToPixels(plain.twips.width()), twipsToPixels(plain.twips.height())};
        }
    }
    return {};
}

bool isTransport(SkinButton which) {
    return which == SkinButton::Play || which == SkinButton::Pause || which == SkinButton::Stop ||
           which == SkinButton::Previous || which == SkinButton::Next;
}

}  // namespace

SkinButtons::SkinButtons(QWidget* window) : QObject(window) {
    for (const PlainButton& plain : kPlainButtons) {
        auto* button = new TransCtl(window);
        button->setObjectName(QString::fromLatin1(marlo::objectName(plain.which)));
        button->setGeometry(twipsToPixels(plain.twips.x()), twipsToPixels(plain.twips.y()),
                            twipsToPixels(plain.twips.width()),
                            twipsToPixels(plain.twips.height()));
        buttons_[static_cast<size_t>(plain.which)] = button;
        shown_[static_cast<size_t>(plain.which)] = restSlot(plain.which);
        wire(plain.which);
    }
    showTexts();
    CaptionSwitch::registerWindow(this);
}

SkinButtons::~SkinButtons() {
    CaptionSwitch::unregisterWindow(this);
}

void SkinButtons::applyEnglishCaptions() {
    showTexts();
}

void SkinButtons::showTexts() {
    const bool english = CaptionSwitch::englishCaptions();
    for (const PlainButton& plain : kPlainButtons) {
        TransCtl* b = button(plain.which);
        b->setPlainCaption(QString::fromUtf8(english ? plain.caption->en : plain.caption->de));
        b->setToolTipText(QString::fromUtf8(english ? plain.tip->en : plain.tip->de));
    }
}

void SkinButtons::wire(SkinButton which) {
    TransCtl* b = button(which);
    connect(b, &TransCtl::MouseDown, this, [this, which](qint16 mouse, qint16, float, float) {
        if (mouse == 1) {
            show(which, pressedSlot(which));
        }
    });
    connect(b, &TransCtl::MouseUp, this, [this, which](qint16 mouse, qint16, float x, float y) {
        if (mouse != 1) {
            return;
        }
        show(which, normalSlot(which));
        if (insideActiveArea(which, QPointF(x, y))) {
            emit released(which);
        }
    });
}

Slot SkinButtons::normalSlot(SkinButton which) const {
    if (isTransport(which) && model_ != nullptr) {
        return lookSlot(which,
                        which == SkinButton::Play       ? model_->play()
                        : which == SkinButton::Pause    ? model_->pause()
                        : which == SkinButton::Stop     ? model_->stop()
                        : which == SkinButton::Previous ? model_->previous()
                                                        : model_->next(),
                        paused_);
    }
    return restSlot(which);
}

void SkinButtons::setSkin(const SlotPictures& pictures, SkinKind kind) {
    pictures_ = pictures;
    kind_ = kind;
}

void SkinButtons::show(SkinButton which, Slot slot) {
    const QPixmap& picture = at(pictures_, slot);
    const auto index = static_cast<size_t>(which);
    shown_[index] = slot;
    if (picture.isNull()) {
        // A picture the skin lacks (it did not load): the button shows its plain face where
        // the skin placed it.
        TransCtl* b = button(which);
        if (!b->Picture().isNull()) {
            b->setPicture(QPixmap());
            b->resize(plainSize(which));
        }
        shownPicture_[index] = 0;
        return;
    }
    if (shownPicture_[index] == picture.cacheKey() &&
        button(which)->masked() == (kind_ == SkinKind::Design)) {
        return;
    }
    shownPicture_[index] = picture.cacheKey();
    TransCtl* b = button(which);
    if (kind_ == SkinKind::Design) {
        b->setMaskPicture(picture);
    } else {
        b->setPicture(picture);
    }
}

void SkinButtons::showInitialImages() {
    static constexpr SkinButton kOrder[] = {
        SkinButton::Song,  SkinButton::Close,    SkinButton::Mini,
        SkinButton::Setup, SkinButton::Play,     SkinButton::Stop,
        SkinButton::Pause, SkinButton::Previous, SkinButton::Next};
    for (SkinButton which : kOrder) {
        show(which, restSlot(which));
    }
}

void SkinButtons::showLooks(const DisplayModel& model, bool paused) {
    model_ = &model;
    paused_ = paused;
    static constexpr SkinButton kTransport[] = {SkinButton::Play, SkinButton::Pause,
                                                SkinButton::Stop, SkinButton::Previous,
                                                SkinButton::Next};
    for (SkinButton which : kTransport) {
        const Slot slot = normalSlot(which);
        // A press in progress keeps its pressed picture until the release.
        if (shown_[static_cast<size_t>(which)] != pressedSlot(which) ||
            !button(which)->underMouse()) {
            show(which, slot);
        }
    }
}

Slot SkinButtons::lookSlot(SkinButton which, ButtonLook look, bool paused) {
    // Slot 1 inactive, 2 normal, 4 lit (play while playing, pause while paused).
    const bool inactive = look == ButtonLook::Idle || look == ButtonLook::Disabled;
    switch (which) {
        case SkinButton::Play:
            return look == ButtonLook::Playing ? Slot::Play4 : inactive ? Slot::Play1 : Slot::Play2;
        case SkinButton::Pause:
            if (paused) {
                return Slot::Pause4;
            }
            return inactive ? Slot::Pause1 : Slot::Pause2;
        case SkinButton::Stop:
            return inactive ? Slot::Stop1 : Slot::Stop2;
        case SkinButton::Previous:
            return look == ButtonLook::Disabled ? Slot::Prev1 : Slot::Prev2;
        case SkinButton::Next:
            return look == ButtonLook::Disabled ? Slot::Next1 : Slot::Next2;
        default:
            return restSlot(which);
    }
}

bool SkinButtons::insideActiveArea(SkinButton which, QPointF pixels) {
    const QSize area = activeAreaTwips(which);
    const double x = pixels.x() * kTwipsPerPixel;
    const double y = pixels.y() * kTwipsPerPixel;
    return x >= 0 && y >= 0 && x <= area.width() && y <= area.height();
}

}  // namespace marlo
