#pragma once

#include <QWidget>

namespace marlo {

// Where the compositor knows no window shapes (Wayland), the outline of a design skin is the
// window's alpha: this sheet lies over all of the window's parts and clears what lies outside
// the window's mask, so the desktop shows there. Clicks pass through it; the mask itself is the
// window's input region.
class OutlineCutout : public QWidget {
  public:
    // The window must have a translucent background.
    explicit OutlineCutout(QWidget& window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace marlo
