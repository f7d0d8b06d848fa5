#pragma once

#include <QWidget>

namespace marlo {

// The position bar `AXP`: a light-red rectangle from the left edge over the full height, as wide
// as the played fraction. A click asks to seek to the clicked fraction.
class PositionBar : public QWidget {
    Q_OBJECT
  public:
    explicit PositionBar(QWidget* parent = nullptr);
    void setFraction(double fraction);
    double fraction() const { return fraction_; }

  signals:
    void seekRequested(double fraction);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    double fraction_ = 0;
};

}  // namespace marlo
