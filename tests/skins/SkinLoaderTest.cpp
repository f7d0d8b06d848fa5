#include <gtest/gtest.h>

#include <QFile>

#include "base/IniAccess.h"
#include "base/texts/SkinTexts.h"
#include "platform/Twips.h"
#include "skins/SkinFiles.h"
#include "skins/SkinLoader.h"
#include "skins/SkinRegister.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SkinPictures.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

QRgb pixel(const QPixmap& p, int x = 0, int y = 0) {
    return p.toImage().pixel(x, y);
}

// A strip whose cells are numbered: cell n of strip s is filled with the colour (n*16, s*40, 7).
QColor cellColour(int strip, int cell) {
    return QColor(cell * 16, strip * 40, 7);
}

QImage numberedStrip(int strip, int rows, int columns, QSize cell) {
    QImage image(columns * cell.width(), rows * cell.height(), QImage::Format_RGB32);
    for (int n = 0; n < rows * columns; ++n) {
        const QRect r((n % columns) * cell.width(), (n / columns) * cell.height(), cell.width(),
                      cell.height());
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                image.setPixel(x, y, cellColour(strip, n).rgb());
            }
        }
    }
    return image;
}

class SkinLoaderTest : public ::testing::Test {
  protected:
    void SetUp() override { SkinRegister(tmp.program(), prompts).writeDefaults(); }

    void writeRegister(const QString& section, const QString& key, const QString& value) {
        WriteIniValue(prompts, section, key, value, SkinLoader::registerPath(tmp.program()));
    }

    // A strip skin whose five strips are numbered, registered as `name`.
    void registerNumberedStripSkin(const QString& name) {
        writeRegister(name, "Background",
                      test::writePicture(tmp.program() + name + "/bg.bmp",
                                         test::framedPicture({300, 100}, Qt::darkGray)));
        for (int s = 0; s < kStripCount; ++s) {
            const StripLayout& layout = stripLayouts()[static_cast<size_t>(s)];
            const QString path = tmp.program() + name + "/" + layout.key + ".bmp";
            test::writePicture(path, numberedStrip(s, layout.rows, layout.columns, {10, 6}));
            writeRegister(name, layout.key, path);
        }
    }

    void registerDesign(const QString& name, const QString& designPath) {
        writeRegister(name, "DesignPath", designPath);
    }

    // Rewrites one key of a design file.
    void setDesignValue(const QString& path, const QString& section, const QString& key,
                        const QString& value) {
        WriteIniValue(prompts, section, key, value, path);
    }

    test::TempProgramFolder tmp;
    test::ScriptedPrompts prompts;
    SkinLoader loader{tmp.program()};
};

TEST_F(SkinLoaderTest, EveryCellOfEveryStripLandsInItsSlot) {
    registerNumberedStripSkin("Numbers");
    loader.SelectSkin("Numbers", Qt::black);
    EXPECT_EQ(loader.kind(), SkinKind::Strip);
    const SkinLook look = loader.ApplySkin({});

    int filled = 0;
    for (int s = 0; s < kStripCount; ++s) {
        for (const StripCell& c : stripLayouts()[static_cast<size_t>(s)].cells) {
            const QPixmap& picture = at(look.pictures, c.slot);
            ASSERT_EQ(picture.size(), QSize(10, 6)) << slotName(c.slot);
            EXPECT_EQ(pixel(picture), cellColour(s, c.cell).rgb())
                << slotName(c.slot) << " should hold cell " << c.cell << " of strip " << s;
            EXPECT_EQ(pixel(picture, 9, 5), cellColour(s, c.cell).rgb()) << slotName(c.slot);
            ++filled;
        }
    }
    EXPECT_EQ(filled, kSlotCount);  // every slot is filled by exactly one cell
    // Cell 0 of each strip is its preview.
    EXPECT_EQ(pixel(loader.previews().stop), cellColour(1, 0).rgb());
    EXPECT_EQ(pixel(loader.previews().options), cellColour(4, 0).rgb());
}

TEST_F(SkinLoaderTest, StripSkinPlacesFromAllControlsInTwips) {
    registerNumberedStripSkin("Numbers");
    QSize size;
    // The register writes "Vscroll1"; keys compare without regard to case.
    EXPECT_EQ(loader.ReadPlacement("VScroll1", true, &size), 170);
    EXPECT_EQ(size, QSize(200, 1220));
    EXPECT_EQ(loader.ReadPlacement("Nextbut", false), 4210);

    loader.SelectSkin("Numbers", Qt::black);
    const SkinLook plain = loader.ApplySkin({});
    EXPECT_EQ(plain.windowSize, QSize(300, 100));
    EXPECT_FALSE(plain.outline.has_value());
    EXPECT_EQ(at(plain.buttons, SkinButton::Next).geometry.topLeft(),
              QPoint(twipsToPixels(4210), twipsToPixels(920)));
    EXPECT_EQ(plain.titel.geometry, QRect(twipsToPixels(1300), twipsToPixels(240),
                                          twipsToPixels(3495), twipsToPixels(240)));
    EXPECT_EQ(plain.titel.colour, QColor(255, 255, 0));  // 65535 is yellow
    EXPECT_EQ(plain.titel.fontName, "Arial");
    EXPECT_TRUE(plain.infoLabelsVisible);
    EXPECT_FALSE(plain.hscroll.visible);

    // With the position bar the window is 40 twips taller and the bar fills that strip.
    const SkinLook withBar = loader.ApplySkin({true, false});
    EXPECT_EQ(withBar.windowSize, QSize(300, 100 + twipsToPixels(40)));
    EXPECT_EQ(withBar.axp.geometry, QRect(0, 100, 300, twipsToPixels(40)));
}

TEST_F(SkinLoaderTest, EmptyStripKeyKeepsTheSlotsOfTheSkinBefore) {
    registerNumberedStripSkin("Numbers");
    loader.SelectSkin("Numbers", Qt::black);
    loader.ApplySkin({});
    // "Partial" has its own play strip only.
    writeRegister("Partial", "Background", tmp.program() + "Numbers/bg.bmp");
    const QString play =
        test::writePicture(tmp.program() + "p.bmp", test::framedPicture({10, 24}, Qt::white));
    writeRegister("Partial", "Play", play);
    loader.SelectSkin("Partial", Qt::black);
    const SkinLook look = loader.ApplySkin({});
    EXPECT_EQ(pixel(at(look.pictures, Slot::Play1)), QColor(Qt::white).rgb());
    EXPECT_EQ(pixel(at(look.pictures, Slot::Stop1)), cellColour(1, 2).rgb());
    EXPECT_TRUE(loader.previews().stop.isNull());
}

TEST_F(SkinLoaderTest, DesignSkinFromItsBaseFolderWithOutlineAndSlots) {
    const test::DesignSkin design = test::writeDesignSkin(
        tmp.program() + "Other",
        "NumberOfWindowShapePoints=5\r\nP1x=100\r\nP1y=0\r\nP2x=200\r\nP2y=40\r\n"
        "P3x=170\r\nP3y=100\r\nP4x=30\r\nP4y=100\r\nP5x=0\r\nP5y=40\r\n");
    // Windows style path: backslashes, another letter case.
    registerDesign("Ocean", QString(design.designPath).replace('/', '\\'));
    writeRegister("Ocean", "Task", "255");
    loader.SelectSkin("Ocean", Qt::black);
    EXPECT_EQ(loader.kind(), SkinKind::Design);
    EXPECT_EQ(loader.definition().baseFolder, design.base);
    EXPECT_EQ(loader.previews().swatch, QColor(255, 0, 0));
    EXPECT_TRUE(loader.previews().next.isNull());  // no next button in this design

    const SkinLook look = loader.ApplySkin({});
    EXPECT_EQ(look.windowSize, design.window);
    ASSERT_TRUE(look.outline.has_value());
    EXPECT_EQ(*look.outline, QPolygon({QPoint(100, 0), QPoint(200, 40), QPoint(170, 100),
                                       QPoint(30, 100), QPoint(0, 40)}));
    EXPECT_EQ(at(look.buttons, SkinButton::Close).geometry.topLeft(), design.close);
    EXPECT_FALSE(at(look.buttons, SkinButton::Next).visible);
    EXPECT_FALSE(at(look.buttons, SkinButton::Previous).visible);
    EXPECT_FALSE(at(look.buttons, SkinButton::Song).visible);
    EXPECT_FALSE(look.infoLabelsVisible);
    EXPECT_EQ(look.axp.geometry, QRect(20, 80, 160, 6));

    // Play1 is Bitmap2, Play2 Bitmap1, Play3 the same as Play1, Play4 Bitmap3.
    const QColor play(0, 200, 0);
    EXPECT_EQ(pixel(at(look.pictures, Slot::Play1), 10, 6), play.darker(130).rgb());
    EXPECT_EQ(pixel(at(look.pictures, Slot::Play2), 10, 6), play.rgb());
    EXPECT_EQ(at(look.pictures, Slot::Play3).cacheKey(), at(look.pictures, Slot::Play1).cacheKey());
    EXPECT_EQ(pixel(at(look.pictures, Slot::Play4), 10, 6), play.darker(160).rgb());
    EXPECT_EQ(pixel(at(look.pictures, Slot::Close2), 10, 6), design.closeColour.darker(130).rgb());

    // "Active Color" 0x00FF8000 read as BBGGRR: blue FF, green 80, red 00.
    EXPECT_EQ(look.titel.colour, QColor(0, 0x80, 0xFF));
    // No "Gauge SongPos": width and height 0, so the horizontal bar, not placed.
    EXPECT_FALSE(look.placeHscroll);
    EXPECT_FALSE(look.vscroll.visible);
    // A design skin empties the strips.
    for (const QImage& strip : loader.definition().strips) {
        EXPECT_TRUE(strip.isNull());
    }
}

TEST_F(SkinLoaderTest, DesignValuesDecideColoursGaugesAndButtons) {
    const test::DesignSkin design = test::writeDesignSkin(tmp.program() + "Other");
    registerDesign("Ocean", design.designPath);
    const auto apply = [&](bool module = false) {
        loader.SelectSkin("Ocean", Qt::black);
        return loader.ApplySkin({false, module});
    };
    // Without outline points the window is the rectangle of its background.
    EXPECT_EQ(*apply().outline,
              QPolygon({QPoint(0, 0), QPoint(200, 0), QPoint(200, 100), QPoint(0, 100)}));

    setDesignValue(design.designPath, "Label songName", "FontColor", "0000FF");
    EXPECT_EQ(apply().titel.colour, QColor(255, 0, 0));

    const QString gauge = "Gauge SongPos";
    setDesignValue(design.designPath, gauge, "Left", "5");
    setDesignValue(design.designPath, gauge, "Top", "6");
    setDesignValue(design.designPath, gauge, "Width", "100");
    setDesignValue(design.designPath, gauge, "Height", "10");
    SkinLook look = apply(true);
    EXPECT_TRUE(look.hscroll.visible);
    EXPECT_FALSE(look.vscroll.visible);
    EXPECT_EQ(look.hscroll.geometry, QRect(5, 6, 100, 10));
    setDesignValue(design.designPath, gauge, "Width", "10");
    setDesignValue(design.designPath, gauge, "Height", "100");
    look = apply(true);
    EXPECT_TRUE(look.vscroll.visible);
    EXPECT_FALSE(look.hscroll.visible);
    EXPECT_EQ(look.vscroll.geometry, QRect(5, 6, 10, 100));
    setDesignValue(design.designPath, gauge, "Width", "100");
    EXPECT_TRUE(apply(true).hscroll.visible);  // equal sizes: horizontal

    // Next without Bitmap1 hides Previous too, whatever Previous holds.
    setDesignValue(design.designPath, "Button Previous Song", "Bitmap1", "Skins\\Ocean\\play1.bmp");
    setDesignValue(design.designPath, "Button Previous Song", "Left", "1");
    setDesignValue(design.designPath, "Button Previous Song", "Top", "1");
    look = apply();
    EXPECT_FALSE(at(look.buttons, SkinButton::Previous).visible);

    // A missing bitmap key gives the picture Play1 holds.
    setDesignValue(design.designPath, "Button Minimize", "Bitmap2", "");
    look = apply();
    EXPECT_EQ(at(look.pictures, Slot::Min2).cacheKey(), at(look.pictures, Slot::Play1).cacheKey());
}

TEST_F(SkinLoaderTest, BrokenSkinsFailClearlyAndLeaveTheSkinBefore) {
    const test::DesignSkin design = test::writeDesignSkin(tmp.program() + "Other");
    registerDesign("Ocean", design.designPath);
    loader.SelectSkin("Ocean", Qt::black);
    const SkinLook good = loader.ApplySkin({});
    const qint64 play1 = at(good.pictures, Slot::Play1).cacheKey();

    const auto failure = [&](const QString& name) -> QString {
        try {
            loader.SelectSkin(name, Qt::black);
            loader.ApplySkin({});
        } catch (const SkinError& e) {
            return e.message();
        }
        return {};
    };

    setDesignValue(design.designPath, "Button Close", "Top", "");
    EXPECT_TRUE(failure("Ocean").contains("\"Top\"")) << failure("Ocean").toStdString();
    setDesignValue(design.designPath, "Button Close", "Top", "10");
    setDesignValue(design.designPath, "Label songName", "Active Color", "blue");
    EXPECT_TRUE(failure("Ocean").contains("Active Color"));
    setDesignValue(design.designPath, "Label songName", "Active Color", "FF0000");
    QFile::remove(design.base + "Skins/Ocean/stop2.bmp");
    EXPECT_TRUE(failure("Ocean").contains("stop2.bmp"));
    EXPECT_FALSE(failure("Nobody").isEmpty());  // not registered
    registerDesign("Lost", tmp.program() + "nowhere.design");
    EXPECT_TRUE(failure("Lost").contains("nowhere.design"));
    // None of these replaced the pictures of the skin that worked.
    EXPECT_EQ(at(loader.pictures(), Slot::Play1).cacheKey(), play1);

    // A strip skin whose placement is not a number.
    registerNumberedStripSkin("Numbers");
    writeRegister("All Controls", "Stopbut", "x,920");
    EXPECT_TRUE(failure("Numbers").contains("Stopbut"));
}

TEST_F(SkinLoaderTest, DamagedDesignFilesFailOrApplyButNeverCrash) {
    const test::DesignSkin design = test::writeDesignSkin(tmp.program() + "Other");
    registerDesign("Ocean", design.designPath);
    const QByteArray original = test::readFile(design.designPath);
    const QList<QByteArray> damages = {
        "[General]\r\nNumberOfWindowShapePoints=999999999\r\nP1x=nan\r\nP2y=-1e308\r\n",
        "[General]\r\nWindowWidth=inf\r\nWindowHeight=-5\r\n",
        "[Gauge SongPos]\r\nWidth=1e300\r\nHeight=-1e300\r\nLeft=x\r\n",
        "[Label songName]\r\nActive Color=\xff\xfe\x00zz\r\nFontSize=-3\r\n",
        QByteArray(4000, '\0'),
    };
    quint32 seed = 7;
    for (int round = 0; round < 25; ++round) {
        QByteArray bytes = original + damages[round % damages.size()];
        for (int i = 0; i < 40; ++i) {  // scatter random bytes over the file
            seed = seed * 1664525u + 1013904223u;
            bytes[static_cast<int>(seed % static_cast<quint32>(bytes.size()))] =
                static_cast<char>(seed >> 24);
        }
        test::writeFile(design.designPath, bytes);
        try {
            loader.SelectSkin("Ocean", Qt::black);
            const SkinLook look = loader.ApplySkin({});
            EXPECT_GE(look.windowSize.width(), 1);
            EXPECT_LE(look.outline->size(), 4096);
        } catch (const SkinError& e) {
            EXPECT_FALSE(e.message().isEmpty());
        }
    }
}

// Counts and colour numbers far beyond any real one are clamped before they become integers.
TEST_F(SkinLoaderTest, ValuesBeyondEveryRangeAreClamped) {
    const QString huge = "1" + QString(30, '0');
    const test::DesignSkin design = test::writeDesignSkin(
        tmp.program() + "Other",
        "NumberOfWindowShapePoints=99999999999\r\nP1x=5\r\nP1y=6\r\nP2x=7\r\nP2y=8\r\n");
    registerDesign("Ocean", design.designPath);
    writeRegister("Ocean", "Task", huge);
    loader.SelectSkin("Ocean", Qt::black);
    EXPECT_EQ(loader.previews().swatch, QColor(Qt::white));
    SkinLook look = loader.ApplySkin({});
    ASSERT_TRUE(look.outline);
    ASSERT_EQ(look.outline->size(), 4096);  // the first points the file gives, not a rectangle
    EXPECT_EQ(look.outline->at(1), QPoint(7, 8));

    registerNumberedStripSkin("Numbers");
    writeRegister("All Controls", "Color", huge);
    writeRegister("All Controls", "Size", huge);
    loader.SelectSkin("Numbers", Qt::black);
    look = loader.ApplySkin({});
    EXPECT_EQ(look.titel.colour, QColor(Qt::white));
    EXPECT_EQ(look.titel.pointSize, 1000.0);
}

// Spared, a design button picture that does not load empties its slot and is named; the others
// load. Required, the same skin fails.
TEST_F(SkinLoaderTest, SparedPicturesLeaveOnlyTheirSlotsEmpty) {
    const test::DesignSkin design = test::writeDesignSkin(tmp.program() + "Other");
    registerDesign("Ocean", design.designPath);
    const QString stop = design.base + "Skins/Ocean/stop2.bmp";
    ASSERT_TRUE(QFile::remove(stop));
    loader.SelectSkin("Ocean", Qt::black);
    EXPECT_THROW(loader.ApplySkin({}), SkinError);
    loader.SelectSkin("Ocean", Qt::black, SkinLoader::Pictures::Spared);
    const SkinLook look = loader.ApplySkin({});
    EXPECT_TRUE(at(look.pictures, Slot::Stop3).isNull());
    EXPECT_FALSE(at(look.pictures, Slot::Stop1).isNull());
    EXPECT_FALSE(at(look.pictures, Slot::Close1).isNull());
    EXPECT_EQ(loader.sparedPictures(), QStringList{stop});
}

TEST_F(SkinLoaderTest, MissingPicturesAreNamedAsTheSkinNamesThem) {
    registerNumberedStripSkin("Numbers");
    EXPECT_TRUE(loader.missingPictures("Numbers").isEmpty());
    const QString stop = tmp.program() + "Numbers/Stop.bmp";
    QFile::remove(stop);
    EXPECT_EQ(loader.missingPictures("Numbers"), QStringList{stop});

    const test::DesignSkin design = test::writeDesignSkin(tmp.program() + "Other");
    registerDesign("Ocean", design.designPath);
    EXPECT_TRUE(loader.missingPictures("Ocean").isEmpty());
    // The design names its pictures with "\"; the list shows the path with "/".
    const QString close =
        resolveSkinPath(design.base + SkinIni(design.designPath).value("Button Close", "Bitmap2"));
    ASSERT_TRUE(QFile::remove(close));
    EXPECT_EQ(loader.missingPictures("Ocean"), QStringList{close});
    registerDesign("Gone", tmp.program() + "gone.design");
    EXPECT_EQ(loader.missingPictures("Gone"), QStringList{tmp.program() + "gone.design"});
}

TEST(SkinFiles, BaseFolderIsTheOutermostFolderWithThePlayer) {
    test::TempProgramFolder tmp;
    const QString root = tmp.program();
    test::writeFile(root + "a/b/c/d/x.design", "[General]");
    EXPECT_EQ(designBaseFolder(root + "a/b/c/d/x.design"), root + "a/b/c/d/");
    test::writeFile(root + "a/b/c/yamp.EXE", "");
    EXPECT_EQ(designBaseFolder(root + "a/b/c/d/x.design"), root + "a/b/c/");
    test::writeFile(root + "a/Yamp.exe", "");
    EXPECT_EQ(designBaseFolder(root + "a/b/c/d/x.design"), root + "a/");
    // Windows separators in the path.
    EXPECT_EQ(designBaseFolder(QString(root + "a/b/c/d/x.design").replace('/', '\\')), root + "a/");
}

bool imagePluginLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

TEST(SkinFiles, PicturesAreReadByTheirContentAndBitmapsNeedNoImagePlugin) {
    test::TempProgramFolder tmp;
    const QString root = tmp.program();
    const QByteArray bitmap = test::plainBitmapBytes(QSize(3, 2), QColor(255, 0, 0));
    test::writeFile(root + "bitmap.bmp", bitmap);
    test::writeFile(root + "cut.bmp", bitmap.left(20));

    ASSERT_FALSE(imagePluginLoaded());
    const QImage read = loadSkinPicture(root + "bitmap.bmp");
    EXPECT_EQ(read.size(), QSize(3, 2));
    EXPECT_EQ(read.pixel(2, 1), QColor(255, 0, 0).rgb());
    EXPECT_FALSE(imagePluginLoaded());
    EXPECT_THROW(loadSkinPicture(root + "cut.bmp"), SkinError);
    EXPECT_THROW(loadSkinPicture(root + "missing.bmp"), SkinError);

    // A picture that is not what its name says still loads.
    QImage green(2, 2, QImage::Format_RGB32);
    green.fill(QColor(0, 255, 0));
    ASSERT_TRUE(green.save(root + "png-named.bmp", "PNG"));
    EXPECT_EQ(loadSkinPicture(root + "png-named.bmp").pixel(1, 1), QColor(0, 255, 0).rgb());
}

}  // namespace
}  // namespace marlo
