#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QThread>

#include "tests/e2e/ProgramFixture.h"
#include "tests/support/SkinPictures.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

// The real program with a design skin of our own: a pentagon window at (100, 100).
class SkinE2e : public test::ProgramFixture {
  protected:
    void SetUp() override {
        test::ProgramFixture::SetUp();
        design = test::writeDesignSkin(
            dir.path() + "/players",
            "NumberOfWindowShapePoints=5\r\nP1x=100\r\nP1y=0\r\nP2x=200\r\nP2y=40\r\n"
            "P3x=200\r\nP3y=100\r\nP4x=0\r\nP4y=100\r\nP5x=0\r\nP5y=40\r\n");
        test::writeFile(program + "Set.cfg",
                        "0\r\n0\r\n-1\r\n-1\r\n0\r\n0\r\n1500\r\n1500\r\n0|-1\r\n12\r\n0\r\n0\r\n"
                        "1\r\n0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\nOcean\r\n\r\nTrue\r\n");
        test::writeFile(program + "SkinName.ini", "Ocean\r\n");
        test::writeFile(program + "Skins.ini",
                        "[Ocean]\r\nDesignPath=" + design.designPath.toUtf8() + "\r\n");
        QDir().mkpath(program + "Data");
    }

    QImage screenshot() const {
        QProcess import;
        import.setProcessEnvironment(x.environment());
        import.start(QStringLiteral("import"),
                     {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
        import.waitForFinished(15000);
        return QImage::fromData(import.readAllStandardOutput(), "PNG");
    }

    // The window the pointer is over, as the X server decides it for a click.
    QString windowUnder(QPoint p) const {
        const QString out =
            x.xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                       QString::number(p.x()), QString::number(p.y()),
                       QStringLiteral("getmouselocation"), QStringLiteral("--shell")});
        return QRegularExpression(QStringLiteral("WINDOW=(\\d+)")).match(out).captured(1);
    }

    test::DesignSkin design;
};

TEST_F(SkinE2e, DesignSkinShapesTheWindowAndLetsClicksThroughItsHoles) {
    start();
    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
    ASSERT_FALSE(main.isEmpty()) << "the main window did not appear";
    const QRect g = x.geometry(main);
    ASSERT_EQ(g, QRect(100, 100, 200, 100));

    // The pentagon: its top corners are cut off, the background shows inside.
    const QImage shot = screenshot();
    ASSERT_FALSE(shot.isNull()) << "no screenshot";
    const QRgb background = design.background.rgb();
    EXPECT_EQ(shot.pixel(g.x() + 100, g.y() + 30), background);
    EXPECT_EQ(shot.pixel(g.x() + 5, g.y() + 90), background);
    EXPECT_NE(shot.pixel(g.x() + 3, g.y() + 3), background);
    EXPECT_NE(shot.pixel(g.x() + 196, g.y() + 3), background);
    // The close button is shaped too: its magenta frame is never drawn.
    const QPoint close = g.topLeft() + design.close;
    EXPECT_EQ(shot.pixel(close + QPoint(1, 1)), background);
    EXPECT_EQ(shot.pixel(close + QPoint(10, 6)), design.closeColour.rgb());

    // A corner outside the outline belongs to the root window beneath, not to Marlo.
    const QString mainId = windowUnder(g.topLeft() + QPoint(100, 50));
    ASSERT_FALSE(mainId.isEmpty());
    EXPECT_NE(windowUnder(g.topLeft() + QPoint(3, 3)), mainId);
    EXPECT_NE(windowUnder(g.topLeft() + QPoint(196, 3)), mainId);
    EXPECT_EQ(windowUnder(g.topLeft() + QPoint(3, 60)), mainId);

    // A click on the key-colour frame of Close lands on the background: the program runs on.
    x.click(close.x() + 1, close.y() + 1);
    QThread::msleep(500);
    EXPECT_EQ(marlo.state(), QProcess::Running);
    EXPECT_EQ(x.geometry(main).topLeft(), g.topLeft());
    // A click on the button's picture closes the program.
    x.click(close.x() + 10, close.y() + 6);
    ASSERT_TRUE(marlo.waitForFinished(15000)) << "Close did not end the program";
    EXPECT_EQ(marlo.exitCode(), 0);
}

TEST_F(SkinE2e, AtDoublePixelRatioTheSkinIsScaledByWholePixels) {
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    start(env);
    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
    ASSERT_FALSE(main.isEmpty()) << "the main window did not appear";
    const QRect g = x.geometry(main);
    ASSERT_EQ(g, QRect(200, 200, 400, 200));

    const QImage shot = screenshot();
    ASSERT_FALSE(shot.isNull()) << "no screenshot";
    // Every logical pixel of the close button and its surroundings is a whole 2 x 2 block of
    // one colour: the frame's key colour shows the background, the inside the button's colour.
    const QPoint close = g.topLeft() + 2 * design.close;
    for (int y = -2; y < 14; ++y) {
        for (int x = -2; x < 22; ++x) {
            const bool inside = x >= 4 && x < 16 && y >= 4 && y < 8;
            const QRgb expected = inside ? design.closeColour.rgb() : design.background.rgb();
            for (int d = 0; d < 4; ++d) {
                ASSERT_EQ(shot.pixel(close + QPoint(2 * x + d % 2, 2 * y + d / 2)), expected)
                    << "logical pixel " << x << "," << y;
            }
        }
    }
    x.key(main, QStringLiteral("alt+F4"));
    EXPECT_TRUE(marlo.waitForFinished(15000));
}

}  // namespace
}  // namespace marlo
