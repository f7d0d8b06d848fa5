#pragma once

#include <QDialog>

#include "cd/CloseMatchChooser.h"

class QListWidget;
class QPushButton;

namespace marlo {

// `frmMatches`: a fixed dialog listing the close matches as "category / title"; Select or a
// double click takes the selected line, closing it any other way takes the first match.
class MatchChooser : public QDialog, public CloseMatchChooser {
    Q_OBJECT
  public:
    explicit MatchChooser(QWidget* parent = nullptr);

    int choose(const QList<CloseMatch>& matches, int left, int top) override;

    QListWidget* list() const { return list_; }
    QPushButton* selectButton() const { return select_; }
    // The index chosen by the last showing.
    int chosen() const { return chosen_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void fill(const QList<CloseMatch>& matches);
    void take();

    QListWidget* list_;
    QPushButton* select_;
    int chosen_ = -1;
};

}  // namespace marlo
