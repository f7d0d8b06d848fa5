#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QThread>

#include "platform/Prompts.h"
#include "skins/SkinRegister.h"
#include "tests/e2e/ProgramFixture.h"
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
    QImage previous;
    for (int page = 1; page <= 5; ++page) {
        if (page > 1) {
            keys({QStringLiteral("Right")});
            QThread::msleep(300);
        }
        const QImage shot = screenshot(x.geometry(cfg));
        ASSERT_FALSE(shot.isNull());
        EXPECT_NE(shot, previous) << "page " << page << " looks like the one before";
        shot.save(QStringLiteral("%1/settings_%2_page%3.png")
                      .arg(folder, english() ? "en" : "de")
                      .arg(page));
        previous = shot;
    }
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
