#pragma once

#include <QRect>
#include <QSize>
#include <algorithm>
#include <array>

namespace marlo {

// Where the remote-control window puts its parts. The title area has a fixed place, so a
// taskbar picture can draw its display behind it; the six buttons follow in a row, each as
// large as its picture, and the window grows to hold the tallest. The default skin's taskbar
// picture is drawn for the size this gives with its own button pictures.
struct RemoteLayout {
    static constexpr int kMinHeight = 40;
    static constexpr int kMargin = 5;
    static constexpr int kLabel1Left = 10;
    static constexpr int kLabel1Width = 38;
    static constexpr int kLabel1Height = 16;
    static constexpr int kLabel2Left = 50;
    static constexpr int kLabel2Width = 210;
    static constexpr int kLabel2Height = 20;
    // The title display drawn behind `Label2` reaches this far around it.
    static constexpr int kDisplayInset = 4;
    static constexpr int kButtonsLeft = 276;
    static constexpr int kButtonGap = 3;
    // The frame lines stand this far outside the row of buttons.
    static constexpr int kFrameGap = 4;

    QSize size;
    QRect label1;
    QRect label2;
    // Play, pause, stop, previous, next, settings.
    std::array<QRect, 6> buttons;
    // The four decorative lines run along this rectangle's edges.
    QRect frame;

    static RemoteLayout forPictures(const std::array<QSize, 6>& pictures) {
        RemoteLayout layout;
        int tallest = 0;
        for (const QSize& picture : pictures) {
            tallest = std::max(tallest, picture.height());
        }
        const int height = std::max(kMinHeight, tallest + 2 * kMargin);
        int x = kButtonsLeft;
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const QSize picture = pictures[i].expandedTo(QSize(0, 0));
            layout.buttons[i] = QRect(QPoint(x, (height - picture.height()) / 2), picture);
            x += picture.width() + (i + 1 < pictures.size() ? kButtonGap : 0);
        }
        layout.frame =
            QRect(QPoint(kButtonsLeft - kFrameGap, 2), QPoint(x - 1 + kFrameGap, height - 3));
        layout.size = QSize(layout.frame.right() + 1 + kMargin, height);
        layout.label1 =
            QRect(kLabel1Left, (height - kLabel1Height) / 2, kLabel1Width, kLabel1Height);
        layout.label2 =
            QRect(kLabel2Left, (height - kLabel2Height) / 2, kLabel2Width, kLabel2Height);
        return layout;
    }

    // The title display around `Label2`.
    QRect display() const {
        return label2.adjusted(-kDisplayInset, -kDisplayInset, kDisplayInset, kDisplayInset);
    }
};

}  // namespace marlo
