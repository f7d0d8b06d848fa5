#pragma once

#include <QColor>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <array>

#include "base/CaptionSwitch.h"
#include "skins/HorizontalDrag.h"
#include "skins/Marquee.h"
#include "skins/RemoteButtons.h"
#include "skins/RemoteLayout.h"

class QLabel;

namespace marlo {

// The remote-control window's background: the skin's taskbar picture when it names one, else a
// colour; with neither the window keeps the colour it has.
struct TaskBackground {
    QPixmap picture;
    QColor colour;
};

// The remote-control window: a frameless strip that stands in for the minimised main window,
// with the scrolling title and six picture buttons that act through the host. It sits on top
// of all windows at the bottom of the work area and can be dragged sideways.
class Controller : public QWidget, public CaptionedWindow {
    Q_OBJECT
  public:
    static constexpr int kMarqueeIntervalMs = 150;
    static inline const QColor kOwnColour{0x2e, 0x32, 0x38};

    explicit Controller(RemoteHost& host, QWidget* parent = nullptr);
    ~Controller() override;

    // Filling at minimise: the player's scrolling text (the title already followed by its 60
    // blanks), the background, the buttons' slot pictures; every button then shows the slot
    // its main-window button shows.
    void fill(const QString& ticker, const TaskBackground& background,
              const RemotePictures& pictures);
    // A new scrolling text from the player (already followed by its blanks); the same text
    // again keeps the rotation where it is.
    void setTickerText(const QString& text);
    // The buttons follow the looks of the main window's buttons; a held button keeps its
    // pressed picture until released.
    void refreshLooks();
    // One tick of `Timer1`: the title turns by one character.
    void tick();

    // Placed at the left edge of the screen with its bottom on the bottom of the work area,
    // shown on top, the marquee running.
    void present();
    // Hidden with the marquee stopped (the main window is restored).
    void dismiss();

    QColor backgroundColour() const { return colour_; }
    const Marquee& marquee() const { return marquee_; }
    QTimer& marqueeTimer() { return timer_; }
    const RemoteLayout& layout() const { return layout_; }

    void applyEnglishCaptions() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void arrange();
    void chooseTextColour();
    void showLook(RemoteButton button, SlotLook look);
    void act(RemoteButton button);
    bool buttonMouse(std::size_t index, QEvent* event);
    bool dragMouse(QEvent* event);
    QRect screenGeometry() const;

    RemoteHost& host_;
    Marquee marquee_;
    HorizontalDrag drag_;
    QTimer timer_;
    QString lastTicker_;
    QPixmap picture_;
    QColor colour_ = kOwnColour;
    RemotePictures pictures_;
    RemoteLayout layout_;
    QLabel* label1_;
    QLabel* label2_;
    std::array<QLabel*, 6> images_{};
    std::array<bool, 6> held_{};
};

}  // namespace marlo
