#pragma once

#include <QColor>
#include <QImage>
#include <QPolygon>
#include <QString>

namespace marlo::test {

// A picture of one colour with an optional frame of another (the frame's colour is the top-left
// pixel, so with a mask it is the key colour).
QImage framedPicture(QSize size, QColor inside, QColor frame = QColor(), int frameWidth = 0);
// Writes a picture as BMP, creating folders; returns the path.
QString writePicture(const QString& path, const QImage& image);
// A 24-bit Windows bitmap of one colour, made byte by byte without Qt's writer, which loads
// every image plugin.
QByteArray plainBitmapBytes(QSize size, QColor colour);
// The same written to `path`, creating folders; returns the path.
QString writePlainBitmap(const QString& path, QSize size, QColor colour);

// A design skin of the other player made for tests, below `root`:
//   root/Yamp/Yamp.exe                     (the player, two levels above the design file)
//   root/Yamp/Skins/Ocean/Ocean.design
//   root/Yamp/Skins/Ocean/*.bmp            (named in the file relative to root/Yamp/)
// Buttons Play, Stop, Pause, Close and Minimize with distinct colours and a magenta key frame;
// no disk, options, previous or next buttons; the outline is `outline`.
struct DesignSkin {
    QString designPath;
    QString base;  // root/Yamp/
    QSize window{200, 100};
    QColor background{0, 128, 255};
    QPolygon outline;
    QPoint close{160, 60};  // Close button's top-left; its picture is 20 x 12, frame 4
    QColor closeColour{255, 0, 0};
};
DesignSkin writeDesignSkin(const QString& root, const QString& extraGeneral = {});

}  // namespace marlo::test
