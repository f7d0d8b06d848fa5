#include "tools/skinart/PanelArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cstdint>

#include "skins/RemoteLayout.h"
#include "tools/skinart/SkinGeometry.h"
#include "tools/skinart/SkinStyle.h"

namespace marlo::skinart {
namespace {

// A small fixed random sequence: the pictures must come out the same on every run.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

  private:
    std::uint32_t state_;
};

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

void drawBody(QPainter& p, const QSize& size, const SkinStyle& s, std::uint32_t seed) {
    const QRectF all(0, 0, size.width(), size.height());
    p.fillRect(all, s.frame);
    const QRectF body = s.bodyRadius > 0 ? all.adjusted(1.5, 1.5, -1.5, -1.5) : all;
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, s.bodyTop);
    fill.setColorAt(1, s.bodyBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(body, s.bodyRadius, s.bodyRadius);

    if (s.grain > 0) {
        // Brushed metal: long faint horizontal streaks, light and dark.
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        Noise noise(seed);
        const int streaks = size.width() * size.height() / 40;
        for (int i = 0; i < streaks; ++i) {
            const int y = noise.below(size.height());
            const int x = noise.below(size.width() + 60) - 60;
            const int length = 20 + noise.below(140);
            const int alpha = 4 + noise.below(s.grain);
            p.setPen(noise.below(2) ? QColor(255, 255, 255, alpha) : QColor(0, 0, 0, alpha));
            p.drawLine(x, y, x + length, y);
        }
        p.restore();
    } else {
        // A soft sheen from the upper left gives the smooth body its roundness.
        QRadialGradient sheen(QPointF(size.width() * 0.25, -size.height() * 0.3),
                              size.width() * 0.7);
        sheen.setColorAt(0, QColor(255, 255, 255, 120));
        sheen.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(sheen);
        p.drawRoundedRect(body, s.bodyRadius, s.bodyRadius);
    }

    // Bevel: light above and left, dark below and right.
    const QRectF rim =
        s.bodyRadius > 0 ? body.adjusted(0.5, 0.5, -0.5, -0.5) : all.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient bevel(rim.topLeft(), rim.bottomRight());
    bevel.setColorAt(0, s.bodyRimLight);
    bevel.setColorAt(0.5, withAlpha(s.bodyRimLight, 60));
    bevel.setColorAt(1, s.bodyRimDark);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(bevel), 1));
    p.drawRoundedRect(rim, std::max(0.0, s.bodyRadius - 0.5), std::max(0.0, s.bodyRadius - 0.5));
}

// A recess: filled with the well colour, shaded inside at the top, lit at its lower lip.
void drawWell(QPainter& p, const QRectF& r, const SkinStyle& s) {
    const qreal radius = std::min(s.wellRadius, r.height() / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(s.well);
    p.drawRoundedRect(r, radius, radius);
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, s.wellShadow);
    shade.setColorAt(std::min(1.0, 3.0 / r.height()), withAlpha(s.wellShadow, 0));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(shade), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    QLinearGradient lip(r.topLeft(), r.bottomLeft());
    lip.setColorAt(0.6, withAlpha(s.bodyRimLight, 0));
    lip.setColorAt(1, withAlpha(s.bodyRimLight, 110));
    p.setPen(QPen(QBrush(lip), 1));
    p.drawRoundedRect(r.adjusted(-0.5, -0.5, 0.5, 0.5), radius + 0.5, radius + 0.5);
}

// The display glass that the title, artist and times are written on.
void drawDisplay(QPainter& p, const QRectF& r, const SkinStyle& s) {
    QLinearGradient glass(r.topLeft(), r.bottomLeft());
    glass.setColorAt(0, s.displayTop);
    glass.setColorAt(1, s.displayBottom);
    p.setPen(QPen(QColor(0, 0, 0, 200), 1));
    p.setBrush(glass);
    p.drawRoundedRect(r, s.displayRadius, s.displayRadius);

    p.save();
    QPainterPath clip;
    clip.addRoundedRect(r.adjusted(1, 1, -1, -1), s.displayRadius, s.displayRadius);
    p.setClipPath(clip);
    // Faint glow of the lit screen, strongest in the middle.
    QRadialGradient glow(r.center(), r.width() * 0.6);
    glow.setColorAt(0, withAlpha(s.displayTint, 34));
    glow.setColorAt(1, withAlpha(s.displayTint, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRect(r);
    // Scan lines, too faint to fight the text.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(withAlpha(s.displayTint, 10));
    for (int y = static_cast<int>(r.top()) + 2; y < r.bottom(); y += 2) {
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    // Reflection across the upper part of the glass.
    QLinearGradient shine(r.topLeft(), QPointF(r.left(), r.top() + r.height() * 0.45));
    shine.setColorAt(0, QColor(255, 255, 255, 26));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(shine);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.45));
    p.restore();

    // Rim: a thin coloured line below, where the glass meets the body.
    p.setBrush(Qt::NoBrush);
    QLinearGradient rim(r.topLeft(), r.bottomLeft());
    rim.setColorAt(0, QColor(0, 0, 0, 0));
    rim.setColorAt(1, withAlpha(s.displayRim, 150));
    p.setPen(QPen(QBrush(rim), 1));
    p.drawRoundedRect(r.adjusted(-0.5, -0.5, 0.5, 0.5), s.displayRadius + 0.5,
                      s.displayRadius + 0.5);
}

void drawScrew(QPainter& p, QPointF c, const SkinStyle& s) {
    QRadialGradient head(c - QPointF(0.8, 0.8), 3);
    head.setColorAt(0, s.bodyRimLight);
    head.setColorAt(1, s.bodyBottom);
    p.setPen(QPen(s.bodyRimDark, 0.8));
    p.setBrush(head);
    p.drawEllipse(c, 2.4, 2.4);
    p.setPen(QPen(s.bodyRimDark, 0.9));
    p.drawLine(c + QPointF(-1.5, 1.0), c + QPointF(1.5, -1.0));
}

// Beneath the small previous and next keys: a row of level lamps on the metal skin, a speaker
// grille on the smooth one.
void drawOrnament(QPainter& p, const QRectF& r, const SkinStyle& s) {
    p.setPen(Qt::NoPen);
    if (s.screws) {
        const int bars = 16;
        const qreal step = r.width() / bars;
        for (int i = 0; i < bars; ++i) {
            const qreal h = r.height() * (0.35 + 0.65 * ((i * 7 + 3) % 10) / 9.0);
            const QRectF bar(r.left() + i * step + 0.5, r.bottom() - h, step - 1.5, h);
            p.setBrush(i < 11 ? s.accentDim : withAlpha(s.accent, 120));
            p.drawRoundedRect(bar, 0.6, 0.6);
        }
        return;
    }
    for (qreal y = r.top() + 2; y < r.bottom() - 1; y += 4) {
        for (qreal x = r.left() + 3; x < r.right() - 1; x += 4) {
            p.setBrush(withAlpha(s.bodyRimLight, 200));
            p.drawEllipse(QPointF(x, y + 0.6), 1.2, 1.2);
            p.setBrush(withAlpha(s.frame, 170));
            p.drawEllipse(QPointF(x, y), 1.1, 1.1);
        }
    }
}

QRectF around(const ButtonPlace& place, qreal margin) {
    return QRectF(place.pixels()).adjusted(-margin, -margin, margin, margin);
}

}  // namespace

QImage drawBackground(const SkinStyle& s) {
    QImage image(kBackgroundSize, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    drawBody(p, kBackgroundSize, s, 0x5eed1234u);

    // Left column: close, minimise, options and the open key.
    const QRectF column = around(kSchliessenbut, 3).united(around(kSongbut, 3));
    drawWell(p, column, s);
    // The console: display above, the transport keys below.
    const QRectF console = QRectF(QPointF(kPlaybut.pixels().left() - 5, 7),
                                  QPointF(kNextbut.pixels().right() + 9, 95));
    drawWell(p, console, s);
    const QRectF display(console.left() + 3, 9, console.width() - 6,
                         kPlaybut.pixels().top() - 2 - 9);
    drawDisplay(p, display, s);
    // Under the small seek keys.
    const QRect seek = kPreviousbut.pixels().united(kNextbut.pixels());
    drawOrnament(p, QRectF(seek.left() + 2, seek.bottom() + 4, seek.width() - 4, 11), s);
    // The groove in which the module volume bar runs.
    drawWell(p, QRectF(kVolumeBar).adjusted(-3, -3, 3, 3), s);
    p.setPen(QPen(withAlpha(s.accentDim, 200), 1));
    const qreal mid = kVolumeBar.center().x() + 0.5;
    p.drawLine(QPointF(mid, kVolumeBar.top() + 3), QPointF(mid, kVolumeBar.bottom() - 3));

    if (s.screws) {
        const qreal w = kBackgroundSize.width();
        const qreal h = kBackgroundSize.height();
        for (QPointF c : {QPointF(6.5, 6.5), QPointF(w - 6.5, 6.5), QPointF(6.5, h - 6.5),
                          QPointF(w - 6.5, h - 6.5)}) {
            drawScrew(p, c, s);
        }
    }
    return image;
}

QImage drawTaskbar(const SkinStyle& s) {
    std::array<QSize, 6> pictures;
    const std::array<ButtonPlace, 6> buttons{kPlaybut,     kPausebut, kStopbut,
                                             kPreviousbut, kNextbut,  kSetupbut};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        pictures[i] = buttons[i].pixels().size();
    }
    const RemoteLayout layout = RemoteLayout::forPictures(pictures);
    QImage image(layout.size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    drawBody(p, layout.size, s, 0x7a5cb011u);
    drawDisplay(p, QRectF(layout.display()), s);
    // The keys sit in one recess inside the frame lines.
    drawWell(p, QRectF(layout.frame).adjusted(2, 2, -2, -2), s);
    if (s.screws) {
        const qreal h = layout.size.height();
        drawScrew(p, QPointF(5.5, h / 2), s);
        drawScrew(p, QPointF(layout.size.width() - 3.5, h / 2), s);
    }
    return image;
}

}  // namespace marlo::skinart
