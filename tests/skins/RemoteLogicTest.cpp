// The remote-control window's rules without the window: marquee, sideways dragging, which
// presses show the pressed picture, keys, and the layout.

#include <gtest/gtest.h>

#include "skins/HorizontalDrag.h"
#include "skins/Marquee.h"
#include "skins/RemoteButtons.h"
#include "skins/RemoteLayout.h"

namespace marlo {
namespace {

TEST(Marquee, TitleRunsOutLeftAndReturnsAfterOneTickPerCharacter) {
    Marquee marquee;
    const QString start = QStringLiteral("ABC") + QString(60, QLatin1Char(' '));
    marquee.setText(start);

    marquee.tick();
    EXPECT_TRUE(marquee.text().startsWith(QStringLiteral("BC ")));
    EXPECT_TRUE(marquee.text().endsWith(QLatin1Char('A')));
    for (int i = 1; i < 62; ++i) {
        marquee.tick();
        EXPECT_NE(marquee.text(), start) << "tick " << i + 1;
    }
    marquee.tick();
    EXPECT_EQ(marquee.text(), start);
}

TEST(Marquee, CharactersBeyondTheBasicPlaneMoveWhole) {
    Marquee marquee;
    const QString note = QString::fromUtf8("\xF0\x9F\x8E\xB5");  // one character, two units
    marquee.setText(note + QStringLiteral("x"));
    marquee.tick();
    EXPECT_EQ(marquee.text(), QStringLiteral("x") + note);
    marquee.tick();
    EXPECT_EQ(marquee.text(), note + QStringLiteral("x"));

    // An empty text stays empty.
    marquee.setText(QString());
    marquee.tick();
    EXPECT_TRUE(marquee.text().isEmpty());
}

TEST(HorizontalDrag, FollowsTheMouseSidewaysAndStopsAtBothScreenEdges) {
    const HorizontalDrag::Screen screen{0, 1024};
    HorizontalDrag drag;
    EXPECT_FALSE(drag.move(500, screen, 300)) << "no drag before a press";

    drag.press(100, 50);
    EXPECT_EQ(drag.move(130, screen, 300), 80);
    EXPECT_EQ(drag.move(90, screen, 300), 40);
    // Past the right edge: flush with it.
    EXPECT_EQ(drag.move(5000, screen, 300), 1024 - 300);
    // Past the left edge: at 0.
    EXPECT_EQ(drag.move(-5000, screen, 300), 0);
    drag.release();
    EXPECT_FALSE(drag.move(130, screen, 300));

    // A second screen to the right: its own edges count.
    const HorizontalDrag::Screen right{1024, 800};
    drag.press(1100, 1030);
    EXPECT_EQ(drag.move(0, right, 300), 1024);
    EXPECT_EQ(drag.move(3000, right, 300), 1024 + 800 - 300);
    // A window wider than the screen stays at the left edge.
    EXPECT_EQ(drag.move(1200, right, 900), 1024);
}

TEST(RemoteButtons, PressedPictureOnlyWhereTheButtonCanAct) {
    RemoteFacts facts;
    facts.listEmpty = true;
    // An empty list: play, previous and next show no pressed picture; the others do.
    EXPECT_FALSE(showsPressed(RemoteButton::Play, SlotLook::Normal, facts));
    EXPECT_FALSE(showsPressed(RemoteButton::Previous, SlotLook::Normal, facts));
    EXPECT_FALSE(showsPressed(RemoteButton::Next, SlotLook::Normal, facts));
    EXPECT_TRUE(showsPressed(RemoteButton::Pause, SlotLook::Inactive, facts));
    EXPECT_TRUE(showsPressed(RemoteButton::Stop, SlotLook::Inactive, facts));
    EXPECT_TRUE(showsPressed(RemoteButton::Settings, SlotLook::Normal, facts));

    facts.listEmpty = false;
    EXPECT_TRUE(showsPressed(RemoteButton::Play, SlotLook::Normal, facts));
    EXPECT_TRUE(showsPressed(RemoteButton::Play, SlotLook::Lit, facts));
    EXPECT_FALSE(showsPressed(RemoteButton::Play, SlotLook::Inactive, facts));

    // At the first item previous cannot go back unless "Repeat all" wraps round.
    facts.atFirst = true;
    EXPECT_FALSE(showsPressed(RemoteButton::Previous, SlotLook::Normal, facts));
    EXPECT_TRUE(showsPressed(RemoteButton::Next, SlotLook::Normal, facts));
    facts.repeatAll = true;
    EXPECT_TRUE(showsPressed(RemoteButton::Previous, SlotLook::Normal, facts));
    EXPECT_FALSE(showsPressed(RemoteButton::Previous, SlotLook::Inactive, facts));

    facts = RemoteFacts{};
    facts.listEmpty = false;
    facts.atLast = true;
    EXPECT_FALSE(showsPressed(RemoteButton::Next, SlotLook::Normal, facts));
    EXPECT_TRUE(showsPressed(RemoteButton::Previous, SlotLook::Normal, facts));
}

TEST(RemoteButtons, KeysActAsTheirButtons) {
    EXPECT_EQ(buttonForKey(Qt::Key_Space, true), RemoteButton::Pause);
    EXPECT_EQ(buttonForKey(Qt::Key_Space, false), RemoteButton::Play);
    EXPECT_EQ(buttonForKey(Qt::Key_PageUp, false), RemoteButton::Previous);
    EXPECT_EQ(buttonForKey(Qt::Key_PageDown, true), RemoteButton::Next);
    EXPECT_FALSE(buttonForKey(Qt::Key_Return, true));
}

TEST(RemoteButtons, ASlotTheButtonLacksShowsItsNormalPicture) {
    RemoteSlotPictures stop;
    stop.normal = QPixmap(4, 4);
    stop.normal.fill(Qt::red);
    stop.pressed = QPixmap(4, 4);
    stop.pressed.fill(Qt::blue);
    EXPECT_EQ(stop.of(SlotLook::Lit).cacheKey(), stop.normal.cacheKey());
    EXPECT_EQ(stop.of(SlotLook::Inactive).cacheKey(), stop.normal.cacheKey());
    EXPECT_EQ(stop.of(SlotLook::Pressed).cacheKey(), stop.pressed.cacheKey());
}

TEST(RemoteLayout, ButtonsInOneRowInsideTheFrameAndTheWindowGrowsForTallPictures) {
    const std::array<QSize, 6> standard{QSize(69, 30), QSize(38, 30), QSize(38, 30),
                                        QSize(38, 15), QSize(38, 15), QSize(47, 12)};
    const RemoteLayout layout = RemoteLayout::forPictures(standard);
    EXPECT_EQ(layout.size.height(), RemoteLayout::kMinHeight);
    const QRect window(QPoint(0, 0), layout.size);
    EXPECT_TRUE(window.contains(layout.frame));
    EXPECT_TRUE(window.contains(layout.display()));
    EXPECT_LT(layout.display().right(), layout.frame.left());
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
        EXPECT_EQ(layout.buttons[i].size(), standard[i]);
        EXPECT_TRUE(layout.frame.adjusted(1, 1, -1, -1).contains(layout.buttons[i])) << i;
        if (i > 0) {
            EXPECT_GT(layout.buttons[i].left(), layout.buttons[i - 1].right()) << i;
        }
    }

    std::array<QSize, 6> tall = standard;
    tall[0] = QSize(80, 64);
    const RemoteLayout grown = RemoteLayout::forPictures(tall);
    EXPECT_EQ(grown.size.height(), 64 + 2 * RemoteLayout::kMargin);
    EXPECT_TRUE(QRect(QPoint(0, 0), grown.size).contains(grown.buttons[0]));
    EXPECT_GT(grown.size.width(), layout.size.width());
}

}  // namespace
}  // namespace marlo
