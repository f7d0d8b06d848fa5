// Times the two skin costs a user can feel: building the shape of a design button (done on every
// press and release when not cached) and laying a whole design skin onto the main window.
// Prints mask_build_ms=<median> and apply_skin_ms=<median>.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/Marlo.h"
#include "app/SkinButtons.h"
#include "platform/Prompts.h"
#include "skins/ShapeMask.h"

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A 300 x 200 button: a key-colour background with a filled ellipse and a ring, so the rows
// have several runs as real shaped buttons do.
QImage designButton(QColor colour) {
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRect(10, 10, 280, 180));
    p.setBrush(QColor(255, 0, 255));
    p.drawEllipse(QRect(60, 50, 180, 100));
    p.setBrush(colour.darker());
    p.drawEllipse(QRect(110, 80, 80, 40));
    return image;
}

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(bytes);
    }
}

// A design skin with every button and a 12-point outline, like a full skin of the other player.
QString writeDesignSkin(const QString& root) {
    const QString folder = root + "/Yamp/Skins/Bench/";
    QDir().mkpath(folder);
    write(root + "/Yamp/Yamp.exe", "x");
    QImage background(400, 220, QImage::Format_RGB32);
    background.fill(QColor(20, 60, 120));
    background.save(folder + "back.bmp", "BMP");
    QByteArray text =
        "[General]\r\nWindowWidth=400\r\nWindowHeight=220\r\nBitmap=Skins\\Bench\\back.bmp\r\n"
        "NumberOfWindowShapePoints=12\r\n";
    for (int i = 1; i <= 12; ++i) {
        text += QString("P%1x=%2\r\nP%1y=%3\r\n")
                    .arg(i)
                    .arg(200 + static_cast<int>(195 * std::cos(i * 0.5236)))
                    .arg(110 + static_cast<int>(105 * std::sin(i * 0.5236)))
                    .toUtf8();
    }
    const char* sections[] = {
        "Button Play",     "Button Stop",      "Button Pause",         "Button Close",
        "Button Minimize", "Button Next Song", "Button Previous Song", "Button Disk Operations",
        "Button Options"};
    int n = 0;
    for (const char* section : sections) {
        text += QString("[%1]\r\nLeft=%2\r\nTop=40\r\n").arg(section).arg(10 + n * 40).toUtf8();
        for (int look = 1; look <= 3; ++look) {
            const QString file = QString("b%1_%2.bmp").arg(n).arg(look);
            QImage button = designButton(QColor(30 * n, 200 - 20 * look, 90)).scaled(60, 40);
            button.save(folder + file, "BMP");
            text += QString("Bitmap%1=Skins\\Bench\\%2\r\n").arg(look).arg(file).toUtf8();
        }
        ++n;
    }
    text +=
        "[Label songName]\r\nLeft=20\r\nTop=10\r\nWidth=300\r\nHeight=16\r\n"
        "FontColor=00FFFF\r\nFontName=DejaVu Sans\r\nFontSize=9\r\n"
        "[Gauge PlaylistPos]\r\nLeft=20\r\nTop=190\r\nWidth=360\r\nHeight=8\r\n"
        "[Gauge SongPos]\r\nLeft=380\r\nTop=30\r\nWidth=8\r\nHeight=150\r\n";
    write(folder + "Bench.design", text);
    return folder + "Bench.design";
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    const QImage button = designButton(QColor(0, 160, 60));
    std::vector<double> masks;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer t;
        t.start();
        const QRegion shape = marlo::ShapeMask::build(button);
        masks.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        if (shape.isEmpty()) {
            return 1;
        }
    }
    std::printf("mask_build_ms=%.3f\n", median(masks));

    QTemporaryDir dir;
    const QString design = writeDesignSkin(dir.path());
    write(dir.path() + "/Skins.ini", "[Bench]\r\nDesignPath=" + design.toUtf8() + "\r\n");
    marlo::QtPrompts prompts;
    marlo::Marlo window(marlo::ProgramFolders::at(dir.path()), prompts);
    std::vector<double> applies;
    for (int i = 0; i < 30; ++i) {
        marlo::ShapeMask::clearCache();  // each apply loads new pictures, as a real switch does
        QElapsedTimer t;
        t.start();
        if (!window.useSkin(QStringLiteral("Bench"))) {
            std::printf("apply failed\n");
            return 1;
        }
        window.showInitialImages();
        applies.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::printf("apply_skin_ms=%.3f\n", median(applies));
    return 0;
}
