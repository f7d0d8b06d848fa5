// The remote-control window as a widget: filling, buttons acting through the host, the
// pressed pictures, keys, dragging by its labels and its place on the screen.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QToolTip>
#include <vector>

#include "base/CaptionSwitch.h"
#include "base/Catalogue.h"
#include "skins/Controller.h"

namespace marlo {
namespace {

class FakeHost : public RemoteHost {
  public:
    RemoteFacts facts;
    std::array<SlotLook, 6> looks{SlotLook::Inactive, SlotLook::Inactive, SlotLook::Inactive,
                                  SlotLook::Normal,   SlotLook::Normal,   SlotLook::Normal};
    std::vector<RemoteButton> actions;
    // What the main window's buttons show after an action.
    std::function<void(RemoteButton)> onAction;

    RemoteFacts remoteFacts() const override { return facts; }
    void remoteAction(RemoteButton button) override {
        actions.push_back(button);
        if (onAction) {
            onAction(button);
        }
    }
    SlotLook shownLook(RemoteButton button) const override {
        return looks[static_cast<std::size_t>(button)];
    }
};

QPixmap solid(QSize size, QColor colour) {
    QPixmap p(size);
    p.fill(colour);
    return p;
}

// Each slot a colour of its own, so a test can tell which one a button shows.
RemotePictures pictures() {
    RemotePictures all;
    const std::array<QSize, 6> sizes{QSize(69, 30), QSize(38, 30), QSize(38, 30),
                                     QSize(38, 15), QSize(38, 15), QSize(47, 12)};
    for (std::size_t i = 0; i < all.size(); ++i) {
        const int base = static_cast<int>(i) * 10;
        all[i].inactive = solid(sizes[i], QColor(base, 1, 0));
        all[i].normal = solid(sizes[i], QColor(base, 2, 0));
        all[i].pressed = solid(sizes[i], QColor(base, 3, 0));
        all[i].lit = solid(sizes[i], QColor(base, 4, 0));
    }
    return all;
}

QLabel* image(Controller& window, int n) {
    return window.findChild<QLabel*>(QStringLiteral("Image%1").arg(n));
}

// The colour a picture button shows, which names its slot.
QColor shown(Controller& window, int n) {
    return image(window, n)->pixmap().toImage().pixelColor(0, 0);
}

void mouse(QWidget* target, QEvent::Type type, QPoint local, Qt::MouseButtons held) {
    const QPointF global = target->mapToGlobal(QPointF(local));
    QMouseEvent event(type, QPointF(local), global, Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void keyRelease(QWidget* target, int key) {
    QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

class ControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.fill(QStringLiteral("ABC   "), TaskBackground{QPixmap(), QColor(Qt::white)},
                    pictures());
    }
    FakeHost host;
    Controller window{host};
};

TEST_F(ControllerTest, FillingSetsTextBackgroundAndTheLooksOfTheMainButtons) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Controller"));
    auto* label2 = window.findChild<QLabel*>(QStringLiteral("Label2"));
    ASSERT_NE(label2, nullptr);
    EXPECT_EQ(label2->text(), QStringLiteral("ABC   "));  // as the player gave it
    EXPECT_EQ(window.backgroundColour(), QColor(Qt::white));
    // Dark text on the white background.
    EXPECT_LT(label2->palette().color(QPalette::WindowText).lightness(), 100);

    for (int n = 1; n <= 6; ++n) {
        ASSERT_NE(image(window, n), nullptr);
        EXPECT_EQ(image(window, n)->geometry(), window.layout().buttons[n - 1]);
    }
    EXPECT_EQ(shown(window, 1), QColor(0, 1, 0));   // Play1, inactive
    EXPECT_EQ(shown(window, 4), QColor(30, 2, 0));  // Prev2, normal
    EXPECT_EQ(shown(window, 6), QColor(50, 2, 0));  // Setup1

    // The marquee turns on the timer's ticks only once the window is presented.
    EXPECT_EQ(window.marqueeTimer().interval(), 150);
    EXPECT_FALSE(window.marqueeTimer().isActive());
    window.present();
    EXPECT_TRUE(window.marqueeTimer().isActive());
    window.tick();
    EXPECT_TRUE(label2->text().startsWith(QStringLiteral("BC")));
    // The player's new text replaces it; the same text again does not restart the rotation.
    window.setTickerText(QStringLiteral("XY   "));
    window.tick();
    window.setTickerText(QStringLiteral("XY   "));
    EXPECT_EQ(label2->text(), QStringLiteral("Y   X"));
    window.dismiss();
    EXPECT_FALSE(window.marqueeTimer().isActive());
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ControllerTest, ButtonsSendTheirCommandsAndShowWhatTheMainButtonsShowAfterwards) {
    host.facts.listEmpty = false;
    host.looks[0] = SlotLook::Normal;
    host.onAction = [this](RemoteButton b) {
        if (b == RemoteButton::Play) {
            host.looks[0] = SlotLook::Lit;
        }
    };
    window.refreshLooks();
    for (int n = 1; n <= 6; ++n) {
        mouse(image(window, n), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
        mouse(image(window, n), QEvent::MouseButtonRelease, QPoint(5, 5), Qt::NoButton);
    }
    EXPECT_EQ(host.actions,
              (std::vector<RemoteButton>{RemoteButton::Play, RemoteButton::Pause,
                                         RemoteButton::Stop, RemoteButton::Previous,
                                         RemoteButton::Next, RemoteButton::Settings}));
    EXPECT_EQ(shown(window, 1), QColor(0, 4, 0));   // Play4: playing now
    EXPECT_EQ(shown(window, 6), QColor(50, 2, 0));  // Setup1 again

    // Held down: the pressed picture; released away from the button: no action, picture back.
    host.actions.clear();
    mouse(image(window, 3), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    EXPECT_EQ(shown(window, 3), QColor(20, 3, 0));
    mouse(image(window, 3), QEvent::MouseButtonRelease, QPoint(-40, 5), Qt::NoButton);
    EXPECT_TRUE(host.actions.empty());
    EXPECT_EQ(shown(window, 3), QColor(20, 1, 0));
}

TEST_F(ControllerTest, NoPressedPictureWhereTheButtonCannotAct) {
    // Empty list: play shows no pressed picture, yet a release still asks the player.
    host.looks[0] = SlotLook::Normal;
    window.refreshLooks();
    mouse(image(window, 1), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    EXPECT_EQ(shown(window, 1), QColor(0, 2, 0));
    mouse(image(window, 1), QEvent::MouseButtonRelease, QPoint(5, 5), Qt::NoButton);
    EXPECT_EQ(host.actions, std::vector<RemoteButton>{RemoteButton::Play});

    // At the last item without "Repeat all", next stays as it is.
    host.facts.listEmpty = false;
    host.facts.atLast = true;
    mouse(image(window, 5), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    EXPECT_EQ(shown(window, 5), QColor(40, 2, 0));
    host.facts.repeatAll = true;
    mouse(image(window, 5), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    EXPECT_EQ(shown(window, 5), QColor(40, 3, 0));
}

TEST_F(ControllerTest, SpaceAndPageKeysActAsTheButtons) {
    keyRelease(&window, Qt::Key_Space);
    host.facts.playing = true;
    keyRelease(&window, Qt::Key_Space);
    keyRelease(&window, Qt::Key_PageUp);
    keyRelease(&window, Qt::Key_PageDown);
    keyRelease(&window, Qt::Key_A);
    EXPECT_EQ(host.actions,
              (std::vector<RemoteButton>{RemoteButton::Play, RemoteButton::Pause,
                                         RemoteButton::Previous, RemoteButton::Next}));
}

TEST_F(ControllerTest, SitsAtTheBottomLeftOfTheWorkAreaAndDragsSidewaysWithinTheScreen) {
    window.present();
    const QScreen* screen = window.screen();
    ASSERT_NE(screen, nullptr);
    const QRect work = screen->availableGeometry();
    EXPECT_EQ(window.x(), screen->geometry().left());
    EXPECT_EQ(window.geometry().bottom(), work.bottom());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);

    auto* label2 = window.findChild<QLabel*>(QStringLiteral("Label2"));
    const int y = window.y();
    mouse(label2, QEvent::MouseButtonPress, QPoint(10, 5), Qt::LeftButton);
    mouse(label2, QEvent::MouseMove, QPoint(10 + 5000, 40), Qt::LeftButton);
    EXPECT_EQ(window.geometry().right(), screen->geometry().right());
    EXPECT_EQ(window.y(), y) << "sideways only";
    mouse(label2, QEvent::MouseMove, QPoint(10 - 10000, 5), Qt::LeftButton);
    EXPECT_EQ(window.x(), screen->geometry().left());
    mouse(label2, QEvent::MouseButtonRelease, QPoint(10, 5), Qt::NoButton);
    window.dismiss();
}

TEST(Controller, TaskbarPictureIsTheBackgroundAndLightTextIsChosenOnItsDarkDisplay) {
    FakeHost host;
    Controller window(host);
    const RemotePictures all = pictures();
    QPixmap task(QSize(10, 10));
    task.fill(QColor(10, 12, 14));
    window.fill(QStringLiteral("T"), TaskBackground{task, QColor(Qt::white)}, all);
    // The colour stays the window's own when a picture is given.
    EXPECT_EQ(window.backgroundColour(), Controller::kOwnColour);
    const QImage drawn = window.grab().toImage();
    EXPECT_EQ(drawn.pixelColor(window.layout().label2.left() + 100, 1), QColor(10, 12, 14));
    auto* label2 = window.findChild<QLabel*>(QStringLiteral("Label2"));
    EXPECT_GT(label2->palette().color(QPalette::WindowText).lightness(), 200);
}

TEST(Controller, MadeAfterTheCaptionSwitchShowsTheEnglishCaptionAndTips) {
    const char* germanTips[] = {"Abspielen",        "Pause/Fortsetzen", "Stopp",
                                "Vorheriger Titel", "Nächster Titel",   "Einstellungen"};
    const char* englishTips[] = {"Play", "Pause/Resume", "Stop", "Previous", "Next", "Settings"};
    CaptionSwitch::resetForTests();
    FakeHost host;
    {
        Controller german(host);
        EXPECT_EQ(german.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                  QStringLiteral("Titel:"));
        for (int n = 1; n <= 6; ++n) {
            EXPECT_EQ(image(german, n)->toolTip().toStdString(), germanTips[n - 1]);
        }
    }
    CaptionSwitch::apply(QStringLiteral("English"));
    Controller english(host);
    EXPECT_EQ(english.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
              QStringLiteral("Title:"));
    for (int n = 1; n <= 6; ++n) {
        EXPECT_EQ(image(english, n)->toolTip().toStdString(), englishTips[n - 1]);
    }
    // The strip is not the active window while the user works elsewhere; its tips still show.
    english.fill(QStringLiteral("ABC"), TaskBackground{QPixmap(), QColor(Qt::white)}, pictures());
    english.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&english));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTest::mouseMove(english.windowHandle(), image(english, 5)->geometry().center());
    ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000));
    EXPECT_EQ(QToolTip::text(), "Next");
    QToolTip::hideText();
    CaptionSwitch::resetForTests();
    Catalogue::setLanguage(UiLanguage::German);
}

}  // namespace
}  // namespace marlo
