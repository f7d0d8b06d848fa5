#include "tests/support/SkinPictures.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include "tests/support/TestFolders.h"

namespace marlo::test {

QImage framedPicture(QSize size, QColor inside, QColor frame, int frameWidth) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(frameWidth > 0 ? frame : inside);
    if (frameWidth > 0) {
        QPainter p(&image);
        p.fillRect(
            QRect(QPoint(0, 0), size).adjusted(frameWidth, frameWidth, -frameWidth, -frameWidth),
            inside);
    }
    return image;
}

QString writePicture(const QString& path, const QImage& image) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    image.save(path, "BMP");
    return path;
}

QByteArray plainBitmapBytes(QSize size, QColor colour) {
    const int width = size.width();
    const int height = size.height();
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    QByteArray bytes;
    const auto put = [&bytes](quint32 value, int count) {
        for (int i = 0; i < count; ++i) {
            bytes.append(static_cast<char>((value >> (8 * i)) & 0xff));
        }
    };
    bytes.append("BM");
    put(54 + rowBytes * height, 4);
    put(0, 4);
    put(54, 4);  // pixels follow the two headers
    put(40, 4);
    put(width, 4);
    put(height, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(rowBytes * height, 4);
    put(2835, 4);
    put(2835, 4);
    // Colours used and important colours: two fields of four bytes.
    put(0, 4);
    put(0, 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            put(colour.blue(), 1);
            put(colour.green(), 1);
            put(colour.red(), 1);
        }
        put(0, rowBytes - width * 3);
    }
    return bytes;
}

QString writePlainBitmap(const QString& path, QSize size, QColor colour) {
    return writeFile(path, plainBitmapBytes(size, colour));
}

DesignSkin writeDesignSkin(const QString& root, const QString& extraGeneral) {
    DesignSkin skin;
    skin.base = root + "/Yamp/";
    const QString folder = skin.base + "Skins/Ocean/";
    writeFile(skin.base + "Yamp.exe", "not a program");
    const QColor magenta(255, 0, 255);
    writePicture(folder + "back.bmp", framedPicture(skin.window, skin.background));
    struct Button {
        const char* section;
        const char* files;  // prefix of its Bitmap1..3 files
        QPoint at;
        QColor colour;
    };
    const Button buttons[] = {
        {"Button Play", "play", {20, 50}, QColor(0, 200, 0)},
        {"Button Stop", "stop", {50, 50}, QColor(200, 200, 0)},
        {"Button Pause", "pause", {80, 50}, QColor(0, 200, 200)},
        {"Button Close", "close", skin.close, skin.closeColour},
        {"Button Minimize", "mini", {130, 60}, QColor(100, 0, 100)},
    };
    QString text =
        "[General]\r\nWindowWidth=200\r\nWindowHeight=100\r\n"
        "Bitmap=Skins\\Ocean\\BACK.bmp\r\n" +
        extraGeneral;
    for (const Button& b : buttons) {
        text += QString("[%1]\r\nLeft=%2\r\nTop=%3\r\n").arg(b.section).arg(b.at.x()).arg(b.at.y());
        for (int look = 1; look <= 3; ++look) {
            const QString file = QString("%1%2.bmp").arg(b.files).arg(look);
            // Each look a little darker, so tests can tell them apart.
            writePicture(
                folder + file,
                framedPicture({20, 12}, b.colour.darker(100 + 30 * (look - 1)), magenta, 4));
            text += QString("Bitmap%1=Skins\\Ocean\\%2\r\n").arg(look).arg(file);
        }
    }
    text +=
        "[Label SongName]\r\nLeft=20\r\nTop=20\r\nWidth=120\r\nHeight=16\r\n"
        "FontColor=\r\nActive Color=0x00FF8000\r\n"
        "[Gauge PlaylistPos]\r\nLeft=20\r\nTop=80\r\nWidth=160\r\nHeight=6\r\n";
    skin.designPath = folder + "Ocean.design";
    writeFile(skin.designPath, text.toUtf8());
    return skin;
}

}  // namespace marlo::test
