#pragma once

#include <QDialog>
#include <QStringListModel>

#include "base/CaptionSwitch.h"

class QLabel;
class QListView;
class QModelIndex;

namespace marlo {

// The archive chooser: lists the members of one archive; a click (or Enter) on a member hands
// its name and the title made from it to whoever asked, clears the list and closes.
// Escape closes without a choice.
class ZipListe : public QDialog, public CaptionedWindow {
    Q_OBJECT
  public:
    explicit ZipListe(QWidget* parent = nullptr);

    // The member names shown in `List1`; the listing operations fill it.
    QStringListModel& members() { return members_; }

    void applyEnglishCaptions() override;

  signals:
    // `title` is made from the member name without its folders.
    void memberChosen(const QString& memberName, const QString& title);

  private:
    void choose(const QModelIndex& index);

    QStringListModel members_;
    QLabel* label_;
    QListView* list_;
};

}  // namespace marlo
