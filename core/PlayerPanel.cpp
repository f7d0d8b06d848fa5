#include "core/PlayerPanel.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include "core/DisplayModel.h"
#include "core/PlaybackEngine.h"
#include "core/PositionBar.h"
#include "platform/Twips.h"

namespace marlo {
namespace {

QRect twips(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

const char* lookName(ButtonLook look) {
    switch (look) {
        case ButtonLook::Playing:
            return "playing";
        case ButtonLook::Disabled:
            return "disabled";
        case ButtonLook::Enabled:
            return "enabled";
        case ButtonLook::Idle:
            break;
    }
    return "idle";
}

void showLook(QPushButton* button, ButtonLook look) {
    const QByteArray name = lookName(look);
    if (button->property("look").toByteArray() == name) {
        return;
    }
    button->setProperty("look", name);
    // The style sheet picks the look up only after a re-polish.
    button->style()->unpolish(button);
    button->style()->polish(button);
}

QScrollBar* volumeBar(QWidget* window, const char* name, Qt::Orientation orientation,
                      QRect geometry) {
    auto* bar = new QScrollBar(orientation, window);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(0, 1000);
    bar->setSingleStep(10);
    bar->setPageStep(50);
    bar->setValue(100);
    // The vertical bar has its maximum at the top.
    bar->setInvertedAppearance(orientation == Qt::Vertical);
    bar->setGeometry(geometry);
    bar->hide();
    return bar;
}

}  // namespace

PlayerPanel::PlayerPanel(QWidget* window, DisplayModel& model, Labels labels)
    : QObject(window), window_(window), model_(model), labels_(labels) {
    play_ = addButton("Playbut", "Play", 1270, 920, 1035, 450);
    pause_ = addButton("Pausebut", "Pause/Resume", 2320, 920, 570, 450);
    stop_ = addButton("Stopbut", "Stop", 2910, 920, 570, 450);
    previous_ = addButton("Previousbut", "Previous", 3630, 920, 570, 225);
    next_ = addButton("Nextbut", "Next", 4210, 920, 570, 225);
    bar_ = new PositionBar(window);
    bar_->setGeometry(twips(1270, 1440, 3510, 120));
    vscroll_ = volumeBar(window, "VScroll1", Qt::Vertical, twips(5030, 170, 200, 1220));
    hscroll_ = volumeBar(window, "HScroll1", Qt::Horizontal, twips(1270, 1560, 3510, 75));
    window->setStyleSheet(
        QStringLiteral("QPushButton[look=\"playing\"] { background: #2e7d32; color: white; }"
                       "QPushButton[look=\"disabled\"] { color: #777; }"));
    connect(&model_, &DisplayModel::changed, this, &PlayerPanel::render);
    render();
}

QPushButton* PlayerPanel::addButton(const char* name, const char* text, int left, int top,
                                    int width, int height) {
    auto* button = new QPushButton(QString::fromLatin1(text), window_);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(twips(left, top, width, height));
    // Keys belong to the main window, not to whichever button was clicked last.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void PlayerPanel::connectEngine(PlaybackEngine& engine) {
    connect(play_, &QPushButton::clicked, &engine, &PlaybackEngine::play);
    connect(pause_, &QPushButton::clicked, &engine, &PlaybackEngine::pause);
    connect(stop_, &QPushButton::clicked, &engine, &PlaybackEngine::stop);
    connect(previous_, &QPushButton::clicked, &engine, &PlaybackEngine::previous);
    connect(next_, &QPushButton::clicked, &engine, &PlaybackEngine::next);
    connect(bar_, &PositionBar::seekRequested, &engine, &PlaybackEngine::seek);
    connect(vscroll_, &QScrollBar::valueChanged, &engine, &PlaybackEngine::setModuleVolume);
    connect(hscroll_, &QScrollBar::valueChanged, &engine, &PlaybackEngine::setModuleVolume);
}

void PlayerPanel::render() {
    labels_.titel->setText(model_.titel());
    labels_.titel->setToolTip(model_.titelTip());
    labels_.interpret->setText(model_.interpret());
    labels_.interpret->setToolTip(model_.interpretTip());
    labels_.dauer->setText(model_.dauer());
    labels_.posit->setText(model_.posit());
    bar_->setFraction(model_.barFraction());
    vscroll_->setVisible(model_.vscrollVisible());
    hscroll_->setVisible(model_.hscrollVisible());
    showLook(play_, model_.play());
    showLook(pause_, model_.pause());
    showLook(stop_, model_.stop());
    showLook(previous_, model_.previous());
    showLook(next_, model_.next());
}

}  // namespace marlo
