#include <gtest/gtest.h>

#include <QDir>

#include "base/CaptionSwitch.h"
#include "base/Catalogue.h"
#include "base/TimeText.h"
#include "platform/Files.h"
#include "platform/ProgramFolders.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

TEST(TimeText, MinutesAndSecondsOfADay) {
    Catalogue::setLanguage(UiLanguage::English);
    EXPECT_EQ(timeText(65000), QStringLiteral("01:05 min:sec"));
    EXPECT_EQ(timeText((61 * 60 + 5) * 1000), QStringLiteral("01:05 min:sec"));  // hours drop
    EXPECT_EQ(timeText(0), QStringLiteral("00:00 min:sec"));
    EXPECT_EQ(timeText(59'600), QStringLiteral("01:00 min:sec"));  // nearest second
    Catalogue::setLanguage(UiLanguage::German);
    EXPECT_EQ(timeText(130000), QStringLiteral("02:10 Min:Sek"));
    EXPECT_EQ(minutesSeconds(25LL * 3600 * 1000 + 3000), QStringLiteral("00:03"));
}

TEST(WindowPlacement, OverTheMainWindowAndOnTheScreen) {
    const QSize screen(1024, 768);
    // Centred horizontally; top = main top + (main height - height) / 2.5.
    EXPECT_EQ(placeOverMainWindow({100, 100, 400, 300}, {200, 50}, screen), QPoint(200, 200));
    // Never above or left of the screen.
    EXPECT_EQ(placeOverMainWindow({0, 0, 100, 50}, {300, 200}, screen), QPoint(0, 0));
    // Moved back inside the right and bottom edges.
    EXPECT_EQ(placeOverMainWindow({900, 700, 200, 100}, {300, 200}, screen), QPoint(724, 568));
    EXPECT_EQ(centreOnScreen({360, 110}, {0, 0, 1024, 768}), QPoint(332, 329));
}

TEST(Twips, FifteenAPixel) {
    EXPECT_EQ(twipsToPixels(1440), 96);
    EXPECT_EQ(twipsToPixels(1300), 87);
    EXPECT_EQ(pixelsToTwips(96), 1440.0);
}

TEST(FileExists, OnlyForFiles) {
    test::TempProgramFolder tmp;
    EXPECT_FALSE(fileExists(QString()));
    EXPECT_FALSE(fileExists(tmp.program()));  // a folder
    EXPECT_FALSE(fileExists(tmp.program() + "missing"));
    EXPECT_FALSE(fileExists(QStringLiteral("Z:\\no\\drive.mp3")));
    EXPECT_TRUE(fileExists(test::writeFile(tmp.program() + "a.wav", "x")));
}

TEST(ProgramFolders, ExecutableFolderOrPerUserFolder) {
    test::TempProgramFolder tmp;
    const ProgramFolders portable = ProgramFolders::discover(tmp.program());
    EXPECT_EQ(portable.program, tmp.program());
    EXPECT_EQ(portable.data, tmp.program() + "Data/");

    // /proc takes no new files, not even from root: it stands for an installed copy.
    const QString readOnly = QStringLiteral("/proc");
    const QByteArray oldXdg = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (tmp.program() + "xdg").toUtf8());
    const ProgramFolders installed = ProgramFolders::discover(readOnly);
    qputenv("XDG_DATA_HOME", oldXdg);
    EXPECT_EQ(installed.program, tmp.program() + "xdg/marlo/");
    EXPECT_EQ(installed.assets, QStringLiteral("/proc/"));
    EXPECT_TRUE(QDir(installed.program).exists());
}

TEST(ProgramFolders, InstalledCopyTakesSharedAssetsAndKeepsItsFilesPerUser) {
    test::TempProgramFolder tmp;
    const QString root = tmp.program();
    QDir().mkpath(root + "usr/bin");
    QDir().mkpath(root + "usr/share/marlo/Bilder");
    const QByteArray oldXdg = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (root + "xdg").toUtf8());
    // bin/ is writable here (root, or a prefix of one's own): still the per-user folder.
    const ProgramFolders installed = ProgramFolders::discover(root + "usr/bin");
    // A portable copy that happens to lie in a bin/ has its pictures beside itself.
    QDir().mkpath(root + "usr/bin/Bilder");
    const ProgramFolders portable = ProgramFolders::discover(root + "usr/bin");
    qputenv("XDG_DATA_HOME", oldXdg);
    EXPECT_EQ(installed.program, root + "xdg/marlo/");
    EXPECT_EQ(installed.assets, root + "usr/share/marlo/");
    EXPECT_EQ(portable.program, root + "usr/bin/");
    EXPECT_EQ(portable.assets, root + "usr/bin/");
}

class Recorder : public CaptionedWindow {
  public:
    int switched = 0;
    void applyEnglishCaptions() override { ++switched; }
};

TEST(CaptionSwitch, OnlyEnglishInAnyCaseSwitches) {
    CaptionSwitch::resetForTests();
    Recorder early;
    CaptionSwitch::registerWindow(&early);
    CaptionSwitch::apply(QStringLiteral("Deutsch"));
    EXPECT_EQ(early.switched, 0);
    EXPECT_FALSE(CaptionSwitch::englishCaptions());
    CaptionSwitch::apply(QStringLiteral("english"));
    EXPECT_EQ(early.switched, 1);
    // A window created later takes the English captions when it is made.
    Recorder late;
    CaptionSwitch::adopt(late);
    EXPECT_EQ(late.switched, 1);
    CaptionSwitch::resetForTests();
}

}  // namespace
}  // namespace marlo
