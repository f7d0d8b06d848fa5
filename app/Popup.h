#pragma once

#include <QWidget>

class QAction;
class QMenu;

namespace marlo {

class Marlo;

// The invisible window `frmPopup` that holds the main window's popup menu `m_pop`. It stays
// made once opened, so the "Display Lyrics" check survives between openings.
class frmPopup : public QWidget {
    Q_OBJECT
  public:
    explicit frmPopup(Marlo& window);
    ~frmPopup() override;

    // Shows `m_pop` at `at` (screen coordinates); returns when the menu closes. True when
    // "Exit" was chosen. While it is open the menu holds the mouse and the keyboard, so a press
    // anywhere else, on the main window or its labels included, closes it without a choice.
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
