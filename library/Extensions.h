#pragma once

#include <QDialog>

#include "base/CaptionSwitch.h"
#include "base/Settings.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace marlo {

class ExtensionFilter;

// The extensions window: the patterns of one media kind, all selected at first; Okay (or Enter)
// appends the selected ones to the extension filter and closes. Escape closes without
// changing the filter.
class Extensions : public QDialog, public CaptionedWindow {
    Q_OBJECT
  public:
    explicit Extensions(ExtensionFilter& filter, QWidget* parent = nullptr);

    // Offers the patterns of `kind`, all selected.
    void setKind(MediaKind kind);

    void applyEnglishCaptions() override;

  private:
    void okay();

    ExtensionFilter& filter_;
    QLabel* label_;
    QListWidget* list_;
    QPushButton* okayButton_;
};

}  // namespace marlo
