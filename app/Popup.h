#pragma once

#include <QWidget>

class QAction;
class QMenu;

namespace marlo {

class Marlo;

// The invisible window `frmPopup` that holds the main window's popup menu `m_pop`. The main
// window loads it for a right click and unloads it on the events that end it; the "Display
// Lyrics" check comes from the main window's lyrics-window flag each time.
class frmPopup : public QWidget {
    Q_OBJECT
  public:
    explicit frmPopup(Marlo& window);
    ~frmPopup() override;

    // Shows `m_pop` at `at` (screen coordinates); returns when the menu closes. True when
    // "Exit" was chosen.
    bool popUp(const QPoint& at);

    QMenu* menu() const { return menu_; }
    // The lyrics-window flag, which the lyrics window and the player share.
    bool lyricsShown() const;

  private:
    void toggleLyrics();

    Marlo& window_;
    QMenu* menu_;
    QAction* lyrics_;
    bool exitRequested_ = false;
};

}  // namespace marlo
