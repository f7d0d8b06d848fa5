#pragma once

#include <QObject>

class QLabel;
class QPushButton;
class QScrollBar;
class QWidget;

namespace marlo {

class DisplayModel;
class PlaybackEngine;
class PositionBar;

// The player's part of the main window: the transport buttons, the position bar and the module
// volume bars, and the display labels rendered from the display model. Plain buttons until a
// skin lays its pictures over them.
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

  private:
    QPushButton* addButton(const char* name, const char* text, int left, int top, int width,
                           int height);

    QWidget* window_;
    DisplayModel& model_;
    Labels labels_;
    QPushButton* play_;
    QPushButton* pause_;
    QPushButton* stop_;
    QPushButton* previous_;
    QPushButton* next_;
    PositionBar* bar_;
    QScrollBar* vscroll_;
    QScrollBar* hscroll_;
};

}  // namespace marlo
