// The committed pictures of the two default skins against what the strip loader cuts from
// them, and against a fresh run of the generator that drew them.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <vector>

#include "skins/RemoteLayout.h"

namespace marlo {
namespace {

QString bilder() {
    return QStringLiteral(MARLO_SOURCE_DIR "/assets/Bilder");
}

// The pixel size of a button's pictures: the area in which a release counts, in twips.
QSize cellOf(int widthTwips, int heightTwips) {
    return {widthTwips / 15, heightTwips / 15};
}
const QSize kPlayCell = cellOf(1035, 450);
const QSize kPauseStopCell = cellOf(570, 450);
const QSize kSeekCell = cellOf(570, 225);
const QSize kOpenCell = cellOf(705, 450);
const QSize kFunctionCell = cellOf(705, 180);

// Top-left corners of the buttons in the default "All Controls" section, in twips.
QPoint placed(int left, int top) {
    return {static_cast<int>(std::lround(left / 15.0)), static_cast<int>(std::lround(top / 15.0))};
}

struct StripCase {
    const char* baseName;
    int rows;
    int columns;
    QSize cell;
    // Where each column's button sits on the default background.
    std::vector<QPoint> places;
};

const std::vector<StripCase>& strips() {
    static const std::vector<StripCase> cases{
        {"Play", 4, 1, kPlayCell, {placed(1270, 920)}},
        {"Stop", 4, 2, kPauseStopCell, {placed(2910, 920), placed(2320, 920)}},
        {"Seek", 4, 2, kSeekCell, {placed(3630, 920), placed(4210, 920)}},
        {"Open", 4, 1, kOpenCell, {placed(270, 920)}},
        {"Function", 4, 3, kFunctionCell, {placed(270, 150), placed(270, 380), placed(270, 610)}},
    };
    return cases;
}

struct Skin {
    const char* folder;
    const char* suffix;
    const char* background;
};
const Skin kSkins[] = {{"Corro", "", "Background.bmp"}, {"Vantel", "2", "Background2.bmp"}};

QImage load(const QString& path) {
    QImage image(path);
    return image.convertToFormat(QImage::Format_RGB32);
}

QString stripPath(const Skin& skin, const StripCase& strip) {
    return QStringLiteral("%1/%2/%3%4.bmp").arg(bilder(), skin.folder, strip.baseName, skin.suffix);
}

// Key-colour pixels a flood from the cell's edge cannot reach would be holes in the face.
int unreachedKeyPixels(const QImage& cell, QRgb key) {
    const int w = cell.width();
    const int h = cell.height();
    std::vector<char> seen(static_cast<std::size_t>(w * h), 0);
    std::vector<QPoint> todo;
    for (int x = 0; x < w; ++x) {
        todo.push_back({x, 0});
        todo.push_back({x, h - 1});
    }
    for (int y = 0; y < h; ++y) {
        todo.push_back({0, y});
        todo.push_back({w - 1, y});
    }
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h) {
            continue;
        }
        char& s = seen[static_cast<std::size_t>(p.y() * w + p.x())];
        if (s || cell.pixel(p) != key) {
            continue;
        }
        s = 1;
        todo.insert(todo.end(),
                    {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    int unreached = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (cell.pixel(x, y) == key && !seen[static_cast<std::size_t>(y * w + x)]) {
                ++unreached;
            }
        }
    }
    return unreached;
}

TEST(DefaultSkinPictures, StripsHaveTheLoadersGridsAndFitTheirBackground) {
    for (const Skin& skin : kSkins) {
        const QImage background =
            load(QStringLiteral("%1/%2/%3").arg(bilder(), skin.folder, skin.background));
        ASSERT_FALSE(background.isNull()) << skin.background;
        for (const StripCase& strip : strips()) {
            SCOPED_TRACE(stripPath(skin, strip).toStdString());
            const QImage image = load(stripPath(skin, strip));
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.width(), strip.columns * strip.cell.width());
            EXPECT_EQ(image.height(), strip.rows * strip.cell.height());
            for (int column = 0; column < strip.columns; ++column) {
                const QPoint at = strip.places[static_cast<std::size_t>(column)];
                EXPECT_TRUE(background.rect().contains(QRect(at, strip.cell)));
                std::vector<QImage> looks;
                for (int row = 0; row < strip.rows; ++row) {
                    const QImage cell = image.copy(
                        QRect(QPoint(column * strip.cell.width(), row * strip.cell.height()),
                              strip.cell));
                    const QRgb key = cell.pixel(0, 0);
                    // Shown plain, the corners meet the recess the background draws around
                    // the button; taken as a mask, only those corners turn transparent.
                    EXPECT_EQ(key, background.pixel(at.x() - 1, at.y() + strip.cell.height() / 2))
                        << "column " << column << " row " << row;
                    EXPECT_EQ(unreachedKeyPixels(cell, key), 0)
                        << "column " << column << " row " << row;
                    EXPECT_NE(cell.pixel(strip.cell.width() / 2, strip.cell.height() / 2), key);
                    looks.push_back(cell);
                }
                // Normal, inactive, lit and pressed must each look different.
                for (std::size_t a = 0; a < looks.size(); ++a) {
                    for (std::size_t b = a + 1; b < looks.size(); ++b) {
                        EXPECT_NE(looks[a], looks[b]) << "rows " << a << " and " << b;
                    }
                }
            }
        }
    }
}

TEST(DefaultSkinPictures, TaskbarPictureHasTheRemoteWindowsSizeForStandardsButtons) {
    const QImage taskbar = load(bilder() + QStringLiteral("/Corro/Taskbar.bmp"));
    ASSERT_FALSE(taskbar.isNull());
    const RemoteLayout layout = RemoteLayout::forPictures(
        {kPlayCell, kPauseStopCell, kPauseStopCell, kSeekCell, kSeekCell, kFunctionCell});
    EXPECT_EQ(taskbar.size(), layout.size);
    EXPECT_EQ(taskbar.size().height(), RemoteLayout::kMinHeight);
}

TEST(DefaultSkinPictures, GeneratorDrawsExactlyTheCommittedFiles) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    QProcess generator;
    generator.start(QStringLiteral(MARLO_SKIN_ART), {out.path()});
    ASSERT_TRUE(generator.waitForFinished(60000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();

    for (const Skin& skin : kSkins) {
        const QDir committed(QStringLiteral("%1/%2").arg(bilder(), skin.folder));
        const QDir fresh(QStringLiteral("%1/%2").arg(out.path(), skin.folder));
        const QStringList names = committed.entryList(QDir::Files, QDir::Name);
        ASSERT_EQ(names, fresh.entryList(QDir::Files, QDir::Name)) << skin.folder;
        for (const QString& name : names) {
            const QImage a = load(committed.filePath(name));
            const QImage b = load(fresh.filePath(name));
            EXPECT_FALSE(a.isNull()) << name.toStdString();
            EXPECT_EQ(a, b) << skin.folder << "/" << name.toStdString()
                            << ": run skin_art on assets/Bilder and commit its output";
        }
    }
    // The default register names these files.
    for (const char* path :
         {"Corro/Background.bmp", "Corro/Taskbar.bmp", "Corro/Play.bmp", "Corro/Stop.bmp",
          "Corro/Seek.bmp", "Corro/Open.bmp", "Corro/Function.bmp", "Vantel/Background2.bmp",
          "Vantel/Play2.bmp", "Vantel/Stop2.bmp", "Vantel/Seek2.bmp", "Vantel/Open2.bmp",
          "Vantel/Function2.bmp"}) {
        EXPECT_TRUE(QFileInfo::exists(bilder() + QLatin1Char('/') + QLatin1String(path))) << path;
    }
}

}  // namespace
}  // namespace marlo
