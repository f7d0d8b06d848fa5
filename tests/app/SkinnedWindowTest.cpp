#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include "app/Marlo.h"
#include "app/SkinButtons.h"
#include "base/CaptionSwitch.h"
#include "base/IniAccess.h"
#include "skins/SkinRegister.h"
#include "skins/TransCtl.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SkinPictures.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

// The main window with the default register, small pictures of our own for "Standard" and the
// design skin "Ocean".
class SkinnedWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const QString p = tmp.program();
        SkinRegister(p, prompts).writeDefaults();
        test::writePicture(p + "Bilder/Corro/Background.bmp",
                           test::framedPicture({360, 110}, Qt::darkBlue));
        for (const char* strip : {"Play", "Stop", "Seek", "Open", "Function"}) {
            test::writePicture(p + "Bilder/Corro/" + strip + ".bmp",
                               test::framedPicture({60, 80}, Qt::gray));
        }
        test::writePicture(p + "Bilder/Corro/Taskbar.bmp", test::framedPicture({4, 4}, Qt::red));
        design = test::writeDesignSkin(p + "Other");
        WriteIniValue(prompts, "Ocean", "DesignPath", design.designPath, p + "Skins.ini");
        window = std::make_unique<Marlo>(tmp.folders(), prompts);
        window->settings().skinName = "Ocean";
        window->applySkin();
        window->showInitialImages();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    TransCtl* button(SkinButton which) { return window->skinButtons().button(which); }
    const QPixmap& slot(Slot s) { return at(window->skinButtons().pictures(), s); }

    test::TempProgramFolder tmp;
    test::ScriptedPrompts prompts;
    test::DesignSkin design;
    std::unique_ptr<Marlo> window;
};

TEST_F(SkinnedWindowTest, DesignSkinShapesTheWindowAndItsButtons) {
    EXPECT_EQ(window->size(), design.window);
    EXPECT_FALSE(window->mask().isEmpty());
    EXPECT_EQ(window->skinButtons().kind(), SkinKind::Design);
    EXPECT_FALSE(button(SkinButton::Song)->isVisible());
    EXPECT_FALSE(button(SkinButton::Next)->isVisible());
    EXPECT_FALSE(window->findChild<QWidget*>("Dauer")->isVisible());
    TransCtl* close = button(SkinButton::Close);
    EXPECT_EQ(close->pos(), design.close);
    EXPECT_TRUE(close->masked());
    EXPECT_EQ(close->MaskPicture().cacheKey(), slot(Slot::Close1).cacheKey());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(SkinnedWindowTest, PressShowsThePressedPictureAndReleaseOutsideOnlyResetsIt) {
    QSignalSpy released(&window->skinButtons(), &SkinButtons::released);
    TransCtl* stop = button(SkinButton::Stop);
    const QPoint inside = stop->pos() + QPoint(10, 6);
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, inside);
    EXPECT_EQ(stop->MaskPicture().cacheKey(), slot(Slot::Stop3).cacheKey());
    // Stop's active area is 570 x 450 twips: 38 x 30 pixels from its corner.
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, stop->pos() + QPoint(39, 6));
    EXPECT_EQ(stop->MaskPicture().cacheKey(), slot(Slot::Stop1).cacheKey());
    EXPECT_EQ(released.count(), 0);

    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, inside);
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released[0][0].value<SkinButton>(), SkinButton::Stop);
}

TEST_F(SkinnedWindowTest, EveryButtonSaysWhatItDoesInTheLanguageOfTheCaptions) {
    const struct {
        SkinButton which;
        const char* german;
        const char* english;
    } tips[] = {
        {SkinButton::Play, "Abspielen", "Play"},
        {SkinButton::Pause, "Pause/Fortsetzen", "Pause/Resume"},
        {SkinButton::Stop, "Stopp", "Stop"},
        {SkinButton::Previous, "Vorheriger Titel", "Previous"},
        {SkinButton::Next, "Nächster Titel", "Next"},
        {SkinButton::Song, "Einträge aus dem Archiv wählen", "Choose items from the archive"},
        {SkinButton::Setup, "Einstellungen", "Settings"},
        {SkinButton::Mini, "Minimieren", "Minimize"},
        {SkinButton::Close, "Beenden", "Close"},
    };
    for (const auto& t : tips) {
        EXPECT_EQ(button(t.which)->toolTip().toStdString(), t.german);
    }
    // The tip shows on a hover while another window is active: a click to make the jukebox
    // active would act on the button.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTest::mouseMove(window->windowHandle(), button(SkinButton::Stop)->geometry().center());
    ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000));
    EXPECT_EQ(QToolTip::text(), "Stopp");
    QToolTip::hideText();
    CaptionSwitch::apply("English");
    // A strip skin lays its pictures on the same buttons.
    ASSERT_TRUE(window->useSkin("Standard"));
    for (const auto& t : tips) {
        EXPECT_EQ(button(t.which)->toolTip().toStdString(), t.english);
    }
    CaptionSwitch::resetForTests();
}

// An installation without its "Bilder" folder: the start says once which pictures are missing.
TEST(PlainWindow, WithoutSkinPicturesTheStartSaysWhichAreMissing) {
    test::TempProgramFolder tmp;
    test::ScriptedPrompts prompts;
    const QString p = tmp.program();
    SkinRegister(p, prompts).writeDefaults();
    Marlo window(tmp.folders(), prompts);
    window.settings().skinName = "Vantel's Design";
    window.applySkin();
    window.showInitialImages();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, "Skin-Bilder fehlen");
    const QString& text = prompts.shown[0].text;
    for (const char* picture :
         {"Vantel/Background2.bmp", "Vantel/Play2.bmp", "Vantel/Function2.bmp",
          "Corro/Background.bmp", "Corro/Taskbar.bmp", "Corro/Stop.bmp", "Corro/Function.bmp"}) {
        EXPECT_TRUE(text.contains(p + "Bilder/" + picture)) << picture;
    }
    EXPECT_EQ(text.count(p + "Bilder/Corro/"), 7);  // each picture once
    EXPECT_EQ(text.count(p + "Bilder/Vantel/"), 6);

    // Only at the start: the settings dialog's skin choice keeps its own rule.
    window.applySkin();
    EXPECT_FALSE(window.useSkin("Standard"));
    EXPECT_EQ(prompts.shown.size(), 1);

    // The plain buttons show captions whole, inside their frames, in both languages.
    const auto expectCaptionsFit = [&] {
        for (int i = 0; i < kSkinButtonCount; ++i) {
            const TransCtl* b = window.skinButtons().button(static_cast<SkinButton>(i));
            SCOPED_TRACE(b->objectName().toStdString() + " " + b->plainCaption().toStdString());
            EXPECT_FALSE(b->plainCaption().isEmpty());
            const QFont font = b->plainCaptionFont();
            const QFontMetrics metrics(font);
            EXPECT_GE(font.pixelSize(), 8);
            EXPECT_LE(metrics.horizontalAdvance(b->plainCaption()), b->width() - 4);
            EXPECT_LE(metrics.height(), b->height() - 2);
        }
    };
    expectCaptionsFit();
    EXPECT_EQ(window.skinButtons().button(SkinButton::Song)->plainCaption(), "Öffnen");
    CaptionSwitch::apply("English");
    expectCaptionsFit();
    EXPECT_EQ(window.skinButtons().button(SkinButton::Song)->plainCaption(), "Open");
    CaptionSwitch::resetForTests();
}

// One picture that does not load leaves only its buttons plain, said once; the rest of the skin
// is laid on.
TEST(PlainWindow, AMissingPictureLeavesOnlyItsButtonsPlain) {
    test::TempProgramFolder tmp;
    test::ScriptedPrompts prompts;
    const QString p = tmp.program();
    SkinRegister(p, prompts).writeDefaults();
    test::writePicture(p + "Bilder/Corro/Background.bmp",
                       test::framedPicture({360, 110}, Qt::darkBlue));
    for (const char* strip : {"Play", "Stop", "Open", "Function", "Taskbar"}) {  // no Seek
        test::writePicture(p + "Bilder/Corro/" + strip + ".bmp",
                           test::framedPicture({60, 80}, Qt::gray));
    }
    Marlo window(tmp.folders(), prompts);
    window.settings().skinName = "Standard";
    window.applySkin();
    window.showInitialImages();
    EXPECT_EQ(window.size(), QSize(360, 110));
    const auto b = [&](SkinButton which) { return window.skinButtons().button(which); };
    for (SkinButton which : {SkinButton::Play, SkinButton::Stop, SkinButton::Close}) {
        EXPECT_FALSE(b(which)->Picture().isNull()) << int(which);
    }
    for (SkinButton which : {SkinButton::Previous, SkinButton::Next}) {
        EXPECT_TRUE(b(which)->Picture().isNull()) << int(which);
        EXPECT_GT(b(which)->width(), 10);
    }
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, "Skin-Bilder fehlen");
    EXPECT_TRUE(prompts.shown[0].text.contains(p + "Bilder/Corro/Seek.bmp"));
    EXPECT_FALSE(prompts.shown[0].text.contains("Play.bmp"));
    EXPECT_TRUE(window.useSkin("Standard"));
    EXPECT_EQ(prompts.shown.size(), 1);
}

// A skin register that cannot be read is said, with its reason, instead of a silent plain look.
TEST(PlainWindow, AnUnreadableSkinRegisterIsSaid) {
    test::TempProgramFolder tmp;
    test::ScriptedPrompts prompts;
    const QString registerPath = tmp.program() + "Skins.ini";
    ASSERT_TRUE(QDir().mkpath(registerPath));  // read even by root, and fails
    Marlo window(tmp.folders(), prompts);
    window.settings().skinName = "Standard";
    window.applySkin();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, "Skins nicht lesbar");
    EXPECT_TRUE(prompts.shown[0].text.contains("\"" + registerPath +
                                               "\" kann nicht gelesen werden: "
                                               "es ist keine Datei."))
        << qPrintable(prompts.shown[0].text);
}

TEST(SkinButtonLooks, PlayerLooksPickTheirSlots) {
    using L = ButtonLook;
    EXPECT_EQ(SkinButtons::lookSlot(SkinButton::Play, L::Playing, false), Slot::Play4);
    EXPECT_EQ(SkinButtons::lookSlot(SkinButton::Play, L::Idle, false), Slot::Play1);
    EXPECT_EQ(SkinButtons::lookSlot(SkinButton::Stop, L::Playing, false), Slot::Stop2);
    EXPECT_EQ(SkinButtons::lookSlot(SkinButton::Pause, L::Idle, true), Slot::Pause4);  // lit
    EXPECT_EQ(SkinButtons::lookSlot(SkinButton::Pause, L::Idle, false), Slot::Pause1);
    EXPECT_EQ(SkinButtons::lookSlot(SkinButton::Previous, L::Disabled, false), Slot::Prev1);
    EXPECT_EQ(SkinButtons::lookSlot(SkinButton::Next, L::Enabled, false), Slot::Next2);
    // Active areas in twips: 705 x 180 for Close is 47 x 12 pixels.
    EXPECT_TRUE(SkinButtons::insideActiveArea(SkinButton::Close, {47, 12}));
    EXPECT_FALSE(SkinButtons::insideActiveArea(SkinButton::Close, {47, 12.5}));
    EXPECT_FALSE(SkinButtons::insideActiveArea(SkinButton::Close, {-0.5, 3}));
    EXPECT_TRUE(SkinButtons::insideActiveArea(SkinButton::Song, {40, 30}));
}

TEST_F(SkinnedWindowTest, MinimisingSwitchesToStandardAndRestoringBringsTheDesignBack) {
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      button(SkinButton::Mini)->pos() + QPoint(10, 6));
    EXPECT_TRUE(window->isMinimized());
    EXPECT_EQ(window->settings().skinName, "Standard");
    EXPECT_EQ(window->skinSavedAtMinimise(), "Ocean");
    EXPECT_EQ(window->skinButtons().kind(), SkinKind::Strip);
    EXPECT_TRUE(window->mask().isEmpty());
    // The remote control stands in, with the buttons of "Standard" and its taskbar picture.
    QWidget* remote = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "Controller") {
            remote = w;
        }
    }
    ASSERT_NE(remote, nullptr);
    EXPECT_TRUE(remote->isVisible());
    const auto* play = remote->findChild<QLabel*>("Image1");
    ASSERT_NE(play, nullptr);
    EXPECT_FALSE(play->pixmap().isNull());

    window->showNormal();
    // Qt's QTRY_ macros report to QTest only and return quietly: a failure would pass here.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !remote->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->skinSavedAtMinimise().isEmpty(); }));
    EXPECT_EQ(window->settings().skinName, "Ocean");
    EXPECT_EQ(window->skinButtons().kind(), SkinKind::Design);
    EXPECT_EQ(window->size(), design.window);
}

TEST_F(SkinnedWindowTest, BrokenSkinIsReportedAndStandardTakesOver) {
    WriteIniValue(prompts, "Broken", "DesignPath", tmp.program() + "gone.design",
                  tmp.program() + "Skins.ini");
    EXPECT_TRUE(window->useSkin("Broken"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains("gone.design"));
    EXPECT_TRUE(prompts.shown[0].text.contains("\"Standard\""));
    EXPECT_EQ(window->settings().skinName, "Standard");
    EXPECT_EQ(window->size(), QSize(360, 110));

    // Without the default skin's pictures nothing can be laid on: the window keeps its look.
    QFile::remove(tmp.program() + "Bilder/Corro/Background.bmp");
    EXPECT_FALSE(window->useSkin("Broken"));
    EXPECT_EQ(window->size(), QSize(360, 110));
    EXPECT_EQ(prompts.shown.size(), 1);
}

// The caption label reads on a strip skin: clear of every button and of the other labels.
TEST_F(SkinnedWindowTest, CaptionLabelKeepsClearOfButtonsAndLabels) {
    ASSERT_TRUE(window->useSkin("Standard"));
    auto* caption = window->findChild<QLabel*>("Label1");
    ASSERT_NE(caption, nullptr);
    EXPECT_TRUE(caption->isVisible());
    EXPECT_TRUE(window->rect().contains(caption->geometry()));
    for (TransCtl* b : window->findChildren<TransCtl*>()) {
        if (b->isVisible() && b->objectName() != "Maske") {
            EXPECT_FALSE(b->geometry().intersects(caption->geometry()))
                << b->objectName().toStdString();
        }
    }
    for (const char* name : {"Titel", "Interpret", "Dauer", "Posit"}) {
        EXPECT_FALSE(window->findChild<QLabel*>(name)->geometry().intersects(caption->geometry()))
            << name;
    }
}

// Shut-down closes the other windows editors first, popup menu and settings dialog last; a
// window it does not know goes after them.
TEST_F(SkinnedWindowTest, ShutDownClosesTheOtherWindowsInItsOrder) {
    QStringList closed;
    struct Recorder : QObject {
        QStringList& log;
        explicit Recorder(QStringList& l) : log(l) {}
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Close) {
                log << o->objectName();
            }
            return false;
        }
    } recorder(closed);
    const QStringList shuffled = {"CFG",         "frmSelect",  "frmPopup",      "DisplayPic",
                                  "Editierform", "frmMatches", "DisplayLyrics", "Controller",
                                  "VideoPlayer", "Musikform"};
    std::vector<std::unique_ptr<QWidget>> windows;
    for (const QString& name : shuffled) {
        windows.push_back(std::make_unique<QWidget>());
        windows.back()->setObjectName(name);
        windows.back()->installEventFilter(&recorder);
        windows.back()->show();
    }
    window->unloadOtherWindows();
    EXPECT_EQ(closed,
              QStringList({"Musikform", "Editierform", "Controller", "VideoPlayer", "DisplayPic",
                           "DisplayLyrics", "frmMatches", "frmPopup", "CFG", "frmSelect"}));
    for (const auto& w : windows) {
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    }
}

}  // namespace
}  // namespace marlo
