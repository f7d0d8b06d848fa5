#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QSet>

#include "platform/Prompts.h"
#include "skins/SkinRegister.h"
#include "tests/e2e/ProgramFixture.h"
#include "tests/e2e/SkinShots.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

// The real program with each of the skins every installation has, held against the skin's own
// pictures; the screenshots are kept in the build folder for a person to look at.
class DefaultSkinsE2e : public test::ProgramFixture,
                        public ::testing::WithParamInterface<const char*> {
  protected:
    QImage shootWindow(const QString& skin) {
        UnattendedPrompts prompts;
        SkinRegister(program, prompts).writeDefaults();
        test::writeFile(program + "Set.cfg",
                        "0\r\n0\r\n-1\r\n-1\r\n0\r\n0\r\n1500\r\n1500\r\n0|-1\r\n12\r\n0\r\n0\r\n"
                        "1\r\n0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\n" +
                            skin.toUtf8() + "\r\n\r\nTrue\r\n");
        test::writeFile(program + "SkinName.ini", "Vantel's Design\r\nStandard\r\n");
        QDir().mkpath(program + "Data");
        start();
        const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
        if (main.isEmpty()) {
            ADD_FAILURE() << "the main window did not appear";
            return {};
        }
        const QRect g = x.geometry(main);
        QProcess import;
        import.setProcessEnvironment(x.environment());
        import.start(QStringLiteral("import"),
                     {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
        import.waitForFinished(15000);
        const QImage shot = QImage::fromData(import.readAllStandardOutput(), "PNG").copy(g);
        const QString folder = QStringLiteral(MARLO_PROGRAM_DIR) + "/../screenshots";
        QDir().mkpath(folder);
        shot.save(
            folder + "/" +
            QString(skin).replace(QLatin1Char(' '), QLatin1Char('_')).remove(QLatin1Char('\'')) +
            ".png");
        return shot;
    }
};

TEST_P(DefaultSkinsE2e, MainWindowWearsTheSkinsPictures) {
    const QString skin = QString::fromUtf8(GetParam());
    const QImage shot = shootWindow(skin);
    ASSERT_FALSE(shot.isNull());
    // The window takes the background picture's size (and the position bar below it).
    const QImage background(program + (skin == "Standard" ? "Bilder/Corro/Background.bmp"
                                                          : "Bilder/Vantel/Background2.bmp"));
    ASSERT_FALSE(background.isNull());
    EXPECT_EQ(shot.width(), background.width());
    EXPECT_GE(shot.height(), background.height());
    // Drawn pictures, not a plain surface: many colours, and the background's own pixels in
    // places no button or label covers (its top-right corner).
    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 2) {
        for (int x = 0; x < shot.width(); x += 2) {
            colours.insert(shot.pixel(x, y));
        }
    }
    EXPECT_GT(colours.size(), 100);
    EXPECT_EQ(shot.pixel(shot.width() - 2, 1), background.pixel(background.width() - 2, 1));
    // With nothing to play every button rests on its first picture, where the skin puts it.
    for (const test::RestingButton& button : test::restingButtons(program, skin)) {
        ASSERT_FALSE(button.picture.isNull()) << qPrintable(button.name);
        EXPECT_EQ(test::differingPixels(shot, button.picture, button.at), 0)
            << qPrintable(button.name) << " at " << button.at.x() << "," << button.at.y();
    }
}

INSTANTIATE_TEST_SUITE_P(BothDefaults, DefaultSkinsE2e,
                         ::testing::Values("Standard", "Vantel's Design"));

}  // namespace
}  // namespace marlo
