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
    // "Exit" was chosen.
    bool popUp(const QPoint& at);
    // Closes the menu when it is open (the main window was pressed or activated).
    void dismiss();

    QMenu* menu() const { return menu_; }
    bool lyricsShown() const { return lyricsShown_; }

  private:
    void toggleLyrics();

    Marlo& window_;
    QMenu* menu_;
    QAction* lyrics_;
    bool lyricsShown_ = false;
    bool exitRequested_ = false;
};

}  // namespace marlo
