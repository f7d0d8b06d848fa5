#pragma once

#include <QObject>

class QLabel;
class QWidget;

namespace marlo {

class DisplayModel;
class PlaybackEngine;
class PositionBar;
class SkinButtons;
class VolumeBar;

// The player's part of the main window: the transport buttons, the position bar and the module
// volume bars, and the display labels rendered from the display model. The buttons are skin
// buttons with a plain face until a skin gives them pictures.
class PlayerPanel : public QObject {
    Q_OBJECT
  public:
    struct Labels {
        QLabel* titel;
        QLabel* interpret;
        QLabel* dauer;
        QLabel* posit;
    };
    PlayerPanel(QWidget* window, DisplayModel& model, Labels labels);

    // Buttons, bar and volume act on this engine.
    void connectEngine(PlaybackEngine& engine);
    void render();

    // All nine skin buttons; the panel acts on the transport ones.
    SkinButtons& buttons() { return *buttons_; }

  private:
    QWidget* window_;
    DisplayModel& model_;
    Labels labels_;
    SkinButtons* buttons_;
    PositionBar* bar_;
    VolumeBar* vscroll_;
    VolumeBar* hscroll_;
};

}  // namespace marlo
