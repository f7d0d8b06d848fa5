#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "tests/e2e/ProgramFixture.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

class StartupE2e : public test::ProgramFixture {
  protected:
    void closeWithAltF4(const QString& window) {
        x.key(window, QStringLiteral("alt+F4"));
        ASSERT_TRUE(marlo.waitForFinished(15000)) << "Alt+F4 did not end the program";
        EXPECT_EQ(marlo.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(marlo.exitCode(), 0);
    }
};

TEST_F(StartupE2e, FirstRunAsksTheLanguageAndLeavesANewConfiguration) {
    start();
    const QString chooser = x.waitForWindow(QStringLiteral("Wähle Sprache"));
    ASSERT_FALSE(chooser.isEmpty()) << "the language chooser did not appear";
    // The two flag buttons share the bottom row; "English" is the right one.
    const QRect g = x.geometry(chooser);
    x.click(g.x() + g.width() * 3 / 4, g.y() + g.height() - 35);

    const QString message = x.waitForWindow(QStringLiteral("^New databank$"));
    ASSERT_FALSE(message.isEmpty()) << "no English new-database message";
    x.key(message, QStringLiteral("Return"));

    // Where the desktop has no opener for the read-me (this machine), the program says where
    // it is.
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) {
        const QString readme = x.waitForWindow(QStringLiteral("^Read me$"));
        ASSERT_FALSE(readme.isEmpty()) << "the missing read-me opener was not told";
        x.key(readme, QStringLiteral("Return"));
    }

    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
    ASSERT_FALSE(main.isEmpty()) << "the main window did not appear";
    EXPECT_TRUE(QDir(program + "Data").exists());
    closeWithAltF4(main);

    // Centred 360 x 110 window on 1024 x 768: (332, 329) pixels in twips; options 12 and 15.
    const QByteArray expected =
        "0\r\n0\r\n-1\r\n-1\r\n0\r\n0\r\n4980\r\n4935\r\n0|-1\r\n12\r\n0\r\n0\r\n1\r\n0\r\n0\r\n"
        "0\r\n\r\n\r\n\r\n0\r\n0\r\nStandard\r\n\r\nTrue\r\n";
    EXPECT_EQ(test::readFile(program + "Set.cfg"), expected);
    EXPECT_EQ(test::readFile(program + "SkinName.ini"), "Vantel's Design\r\nStandard\r\n");
    const QByteArray skins = test::readFile(program + "Skins.ini");
    EXPECT_TRUE(skins.startsWith("[All Controls]\r\nMinibut=270,380\r\n"));
    EXPECT_TRUE(skins.contains("[Standard]\r\nBackground=" + program.toUtf8() +
                               "Bilder/Corro/Background.bmp\r\n"));
}

TEST_F(StartupE2e, PreparedConfigurationStartsWithoutAskingAndSavesMoves) {
    const QByteArray prepared =
        "0\r\n1\r\n3\r\n6\r\n1\r\n150\r\n1500\r\n1500\r\n2|4\r\n10\r\n0\r\n0\r\n1\r\n0\r\n0\r\n"
        "1\r\n/music\r\n/pics\r\n/video\r\n7\r\n80\r\nVantel's Design\r\nme@example.org\r\n"
        "False\r\n";
    test::writeFile(program + "Set.cfg", prepared);
    test::writeFile(program + "SkinName.ini", "Vantel's Design\r\nStandard\r\n");
    QDir().mkpath(program + "Data");
    start();

    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
    ASSERT_FALSE(main.isEmpty());
    EXPECT_TRUE(x.xdotool({QStringLiteral("search"), QStringLiteral("--name"),
                           QStringLiteral("Wähle Sprache")})
                    .isEmpty());
    const QRect g = x.geometry(main);
    EXPECT_EQ(g.topLeft(), QPoint(100, 100));

    // Drag by the background from (10, 10) inside the window to 60 right and 30 down.
    x.xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(g.x() + 10),
               QString::number(g.y() + 10), QStringLiteral("mousedown"), QStringLiteral("1")});
    for (int step = 1; step <= 6; ++step) {
        x.xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                   QString::number(g.x() + 10 + 10 * step),
                   QString::number(g.y() + 10 + 5 * step)});
    }
    x.xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    QThread::msleep(300);
    EXPECT_EQ(x.geometry(main).topLeft(), QPoint(160, 130));
    closeWithAltF4(main);

    // Everything as it was but the position: 160 x 15 and 130 x 15 twips.
    QByteArray expected = prepared;
    expected.replace("150\r\n1500\r\n1500\r\n", "150\r\n2400\r\n1950\r\n");
    EXPECT_EQ(test::readFile(program + "Set.cfg"), expected);
}

}  // namespace
}  // namespace marlo
