#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "cd/MatchChooser.h"

namespace marlo {
namespace {

const QList<CloseMatch> kMatches{
    {QStringLiteral("misc"), QStringLiteral("DiscArtist / DiscTitle\r\n"), QStringLiteral("1")},
    {QStringLiteral("rock"), QStringLiteral("Rock Artist / Rock Album"), QStringLiteral("2")},
    {QStringLiteral("jazz"), QStringLiteral("Jazz Artist / Jazz Album"), QStringLiteral("3")},
};

// Shows the chooser and acts on it once it is up.
int chooseWith(MatchChooser& chooser, const std::function<void()>& act, int left = 0, int top = 0) {
    QTimer::singleShot(0, &chooser, act);
    return chooser.choose(kMatches, left, top);
}

TEST(MatchChooser, PicksTheLineChosenOrTheFirstWhenClosed) {
    MatchChooser chooser;
    // Double-clicking the third line reads the third match.
    EXPECT_EQ(chooseWith(chooser,
                         [&chooser] {
                             QListWidget* list = chooser.list();
                             const QRect line = list->visualItemRect(list->item(2));
                             QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
                             QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                                                line.center());
                         }),
              2);
    EXPECT_EQ(chooser.list()->item(0)->text(), QStringLiteral("misc / DiscArtist / DiscTitle"));
    // Select with the first line preselected; closing the window reads the first match too.
    EXPECT_EQ(chooseWith(chooser, [&chooser] { chooser.selectButton()->click(); }), 0);
    EXPECT_EQ(chooseWith(
                  chooser,
                  [&chooser] {
                      chooser.list()->setCurrentRow(1);
                      chooser.close();
                  },
                  1500, 3000),
              0);
    EXPECT_EQ(chooser.pos(), QPoint(100, 200));
    EXPECT_EQ(chooser.objectName(), QStringLiteral("frmMatches"));
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Select From Close Matches"));
}

}  // namespace
}  // namespace marlo
