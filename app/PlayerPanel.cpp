#include "app/PlayerPanel.h"

#include <QLabel>
#include <QSignalBlocker>

#include "app/SkinButtons.h"
#include "app/VolumeBar.h"
#include "platform/Twips.h"
#include "player/DisplayModel.h"
#include "player/PlaybackEngine.h"
#include "player/PositionBar.h"

namespace marlo {
namespace {

QRect twips(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

constexpr int kInitialVolume = 100;

VolumeBar* volumeBar(QWidget* window, const char* name, Qt::Orientation orientation,
                     QRect geometry) {
    auto* bar = new VolumeBar(orientation, window);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setLevel(kInitialVolume);
    bar->setGeometry(geometry);
    bar->hide();
    return bar;
}

}  // namespace

PlayerPanel::PlayerPanel(QWidget* window, DisplayModel& model, Labels labels)
    : QObject(window), window_(window), model_(model), labels_(labels) {
    buttons_ = new SkinButtons(window);
    bar_ = new PositionBar(window);
    bar_->setGeometry(twips(1270, 1440, 3510, 120));
    vscroll_ = volumeBar(window, "VScroll1", Qt::Vertical, twips(5030, 170, 200, 1220));
    hscroll_ = volumeBar(window, "HScroll1", Qt::Horizontal, twips(1270, 1560, 3510, 75));
    connect(&model_, &DisplayModel::changed, this, &PlayerPanel::render);
    render();
}

void PlayerPanel::connectEngine(PlaybackEngine& engine) {
    connect(buttons_, &SkinButtons::released, &engine, [&engine](SkinButton which) {
        switch (which) {
            case SkinButton::Play:
                engine.play();
                break;
            case SkinButton::Pause:
                engine.pause();
                break;
            case SkinButton::Stop:
                engine.stop();
                break;
            case SkinButton::Previous:
                engine.previous();
                break;
            case SkinButton::Next:
                engine.next();
                break;
            default:
                break;
        }
    });
    connect(bar_, &PositionBar::seekRequested, &engine, &PlaybackEngine::seek);
    // Both bars are the one module volume: moving one moves the other, so neither shows a level
    // the next module would not play at.
    for (VolumeBar* moved : {vscroll_, hscroll_}) {
        VolumeBar* other = moved == vscroll_ ? hscroll_ : vscroll_;
        connect(moved, &QScrollBar::valueChanged, &engine, [moved, other, &engine] {
            const int level = moved->level();
            const QSignalBlocker quiet(other);
            other->setLevel(level);
            engine.setModuleVolume(level);
        });
    }
    engine.setModuleVolume(vscroll_->level());
}

void PlayerPanel::render() {
    // The model changes every tick while a song plays; tooltips are only set when they differ,
    // since each one sends its own event.
    labels_.titel->setText(model_.titel());
    if (labels_.titel->toolTip() != model_.titelTip()) {
        labels_.titel->setToolTip(model_.titelTip());
    }
    labels_.interpret->setText(model_.interpret());
    if (labels_.interpret->toolTip() != model_.interpretTip()) {
        labels_.interpret->setToolTip(model_.interpretTip());
    }
    labels_.dauer->setText(model_.dauer());
    labels_.posit->setText(model_.posit());
    bar_->setFraction(model_.barFraction());
    vscroll_->setVisible(model_.vscrollVisible());
    hscroll_->setVisible(model_.hscrollVisible());
    buttons_->showLooks(model_, model_.paused());
}

}  // namespace marlo
