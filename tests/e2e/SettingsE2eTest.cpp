#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QThread>

#include "platform/IniFile.h"
#include "platform/Prompts.h"
#include "skins/SkinRegister.h"
#include "tests/e2e/ProgramFixture.h"
#include "tests/e2e/SkinShots.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

// The real program with the default skins, "Standard" on, driven through its popup menu and
// settings window. The pages of the settings window are kept as screenshots in the build folder
// for a person to look at.
class SettingsE2e : public test::ProgramFixture, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        test::ProgramFixture::SetUp();
        UnattendedPrompts prompts;
        SkinRegister(program, prompts).writeDefaults();
        const QByteArray language = english() ? "True" : "False";
        test::writeFile(program + "Set.cfg",
                        "0\r\n0\r\n-1\r\n-1\r\n0\r\n0\r\n1500\r\n1500\r\n0|-1\r\n12\r\n0\r\n0\r\n"
                        "1\r\n0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\nStandard\r\n\r\n" +
                            language + "\r\n");
        test::writeFile(program + "SkinName.ini", "Vantel's Design\r\nStandard\r\n");
        QDir().mkpath(program + "Data");
    }
    bool english() const { return GetParam(); }

    QImage screenshot(const QRect& area) const {
        QProcess import;
        import.setProcessEnvironment(x.environment());
        import.start(QStringLiteral("import"),
                     {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
        import.waitForFinished(15000);
        return QImage::fromData(import.readAllStandardOutput(), "PNG").copy(area);
    }
    void keys(const QStringList& names) const {
        for (const QString& name : names) {
            x.xdotool({QStringLiteral("key"), name});
            QThread::msleep(150);
        }
    }
    // A right click on the main window's background opens the popup menu; `item` keys choose.
    void popupChoose(const QRect& main, const QStringList& item) const {
        x.xdotool({QStringLiteral("mousemove"), QString::number(main.right() - 8),
                   QString::number(main.top() + 8), QStringLiteral("click"), QStringLiteral("3")});
        QThread::msleep(700);
        keys(item);
    }
};

TEST_P(SettingsE2e, PopupOpensSettingsWhoseOkayReskinsAndExitKeepsTheSkin) {
    start();
    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
    ASSERT_FALSE(main.isEmpty()) << "the main window did not appear";
    const QRect g = x.geometry(main);
    QThread::msleep(500);
    const QImage before = screenshot(g);

    // "Setup" is the second item.
    popupChoose(g, {QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")});
    const QString title =
        english() ? QStringLiteral("^Settings$") : QStringLiteral("^Einstellungen$");
    const QString cfg = x.waitForWindow(title);
    ASSERT_FALSE(cfg.isEmpty()) << "the settings window did not appear";
    QThread::msleep(500);

    // Its five pages, one after the other from the tab bar, which has the focus.
    const QString folder = QStringLiteral(MARLO_PROGRAM_DIR) + "/../screenshots";
    QDir().mkpath(folder);
    QList<QImage> pages;
    for (int page = 1; page <= 5; ++page) {
        if (page > 1) {
            keys({QStringLiteral("Right")});
            QThread::msleep(300);
        }
        const QImage shot = screenshot(x.geometry(cfg));
        ASSERT_FALSE(shot.isNull());
        for (qsizetype other = 0; other < pages.size(); ++other) {
            EXPECT_NE(shot, pages[other]) << "page " << page << " looks like page " << other + 1;
        }
        shot.save(QStringLiteral("%1/settings_%2_page%3.png")
                      .arg(folder, english() ? "en" : "de")
                      .arg(page));
        pages << shot;
    }
    // The "Skins" page previews the skin on: its background and the first cell of its play
    // strip, each made to fit the preview as the page does.
    const IniFile skins(program + "Skins.ini");
    const auto preview = [](const QImage& picture) {
        return picture.scaled(96, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage background(skins.read("Standard", "Background", {}));
    const QImage play(skins.read("Standard", "Play", {}));
    ASSERT_FALSE(background.isNull());
    ASSERT_FALSE(play.isNull());
    EXPECT_TRUE(test::findIn(pages[2], preview(background), 4)) << "no background preview";
    EXPECT_TRUE(test::findIn(pages[2], preview(test::stripCellOf(play, 4, 1, 0)), 4))
        << "no play preview";
    // Back to "Skins", into `Combo1`, one entry up: "Vantel's Design". Then back through the
    // tab bar to the last two buttons of the window, "Abbruch" and before it "Okay".
    keys({QStringLiteral("Left"), QStringLiteral("Left"), QStringLiteral("Tab"),
          QStringLiteral("Up"), QStringLiteral("shift+Tab"), QStringLiteral("shift+Tab"),
          QStringLiteral("shift+Tab"), QStringLiteral("space")});
    QThread::msleep(1000);
    EXPECT_TRUE(x.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                           QStringLiteral("--name"), title})
                    .isEmpty())
        << "Okay did not hide the settings window";
    const QImage after = screenshot(x.geometry(main));
    ASSERT_EQ(after.size(), before.size());
    EXPECT_NE(after, before) << "the window still wears the skin it had";
    after.save(QStringLiteral("%1/settings_%2_okay.png").arg(folder, english() ? "en" : "de"));
    // It wears "Vantel's Design": its background's corner and its buttons' first pictures.
    const QImage vantel(skins.read("Vantel's Design", "Background", {}));
    ASSERT_FALSE(vantel.isNull());
    EXPECT_EQ(after.pixel(after.width() - 2, 1), vantel.pixel(vantel.width() - 2, 1));
    // Okay refreshes Previous and Next for the empty list: Previous may show its normal look
    // (the first cell of the strip) instead of its rest picture.
    const QImage seek(skins.read("Vantel's Design", "Seek", {}));
    const QImage previousNormal =
        test::stripCellOf(seek, 4, 2, 0).convertToFormat(QImage::Format_RGB32);
    for (const test::RestingButton& button : test::restingButtons(program, "Vantel's Design")) {
        const int differing = test::differingPixels(after, button.picture, button.at);
        EXPECT_TRUE(differing == 0 ||
                    (button.name == "Previousbut" &&
                     test::differingPixels(after, previousNormal, button.at) == 0))
            << qPrintable(button.name) << ": " << differing << " pixels differ";
    }

    // "Exit" is the last item: one step up from none.
    popupChoose(x.geometry(main), {QStringLiteral("Up"), QStringLiteral("Return")});
    ASSERT_TRUE(marlo.waitForFinished(15000)) << "Exit did not end the program";
    EXPECT_EQ(marlo.exitCode(), 0);
    const QList<QByteArray> lines = test::readFile(program + "Set.cfg").split('\n');
    ASSERT_GE(lines.size(), 22);
    EXPECT_EQ(lines[21].trimmed(), "Vantel's Design");
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, SettingsE2e, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "English" : "German");
                         });

}  // namespace
}  // namespace marlo
