#pragma once

#include <QDialog>

#include "lyrics/SongChooser.h"

class QListWidget;
class QPushButton;

namespace marlo {

// The song chooser `frmSelect`: lists the hits of a lyrics search and returns the selected one.
// The button, a double click and closing the window all take the selected line, so closing it
// without a choice takes the first hit.
class SongSelect : public QDialog, public SongChooser {
    Q_OBJECT

  public:
    explicit SongSelect(QWidget* parent = nullptr);

    int chooseSong(const QList<LyricsHit>& hits) override;

    QListWidget* songs() const { return songs_; }
    QPushButton* selectButton() const { return select_; }

    // Every way out (button, double click, close box, Escape) ends here.
    void done(int result) override;

  private:
    QListWidget* songs_;
    QPushButton* select_;
    int chosen_ = 0;
};

}  // namespace marlo
