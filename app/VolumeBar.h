#pragma once

#include <QScrollBar>

namespace marlo {

// A module volume bar, 0 to 1000. The vertical one has its maximum at the top; since Qt's
// vertical bars grow downwards (and inverting their appearance leaves the arrows and the drag
// acting the other way), it holds the distance from the maximum, and level() reads it back.
//
// It draws itself: the toolkit's own look at this narrow size gives the groove and the thumb
// nearly the same shade, and a thumb a third of the bar long, so people took the groove above
// the thumb for the thumb and every move for one the other way. Here the thumb is short and
// bright, and the part of the bar on the loud side of it is lit like a level meter.
class VolumeBar : public QScrollBar {
  public:
    static constexpr int kMaximum = 1000;
    // The thumb's face, which nothing else on the bar shows.
    static constexpr QRgb kThumbColour = 0xffffe000;

    VolumeBar(Qt::Orientation orientation, QWidget* parent);

    int level() const;
    void setLevel(int level);

  protected:
    void paintEvent(QPaintEvent* event) override;
    // The arrow keys along the bar move it once it has the focus; other keys go on to the window.
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace marlo
