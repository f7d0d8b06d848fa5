#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/Marlo.h"
#include "app/Popup.h"
#include "app/SettingsWindow.h"
#include "app/SkinButtons.h"
#include "base/CaptionSwitch.h"
#include "base/SettingsFile.h"
#include "platform/IniFile.h"
#include "skins/Controller.h"
#include "skins/SkinRegister.h"
#include "skins/TransCtl.h"
#include "tests/app/PopupDriving.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SkinPictures.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

using test::chooseFromPopup;

// Parts around the window that only record the module filter they are given.
class FilterParts final : public PlayerParts {
  public:
    void loadLibrary(bool) override {}
    LibrarySession* library() override { return nullptr; }
    PlaybackEngine* engine() override { return nullptr; }
    Musikform* collectionEditor() override { return nullptr; }
    void showCollectionEditor(const QRect&) override {}
    void dropFiles(const QStringList&) override {}
    void setModuleFilterMode(int mode) override { modes.push_back(mode); }
    LyricsDisplay* lyricsDisplay() override { return nullptr; }
    std::vector<int> modes;
};

// The main window with the two default skins, each with small pictures of its own size.
class SettingsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CaptionSwitch::resetForTests();
        const QString p = tmp.program();
        SkinRegister skins(p, prompts);
        skins.writeDefaults();
        ASSERT_TRUE(skins.writeSkinList(SkinRegister::defaultSkinNames()));
        for (const auto& [folder, suffix, size] : {std::tuple{"Corro", "", QSize(360, 110)},
                                                   std::tuple{"Vantel", "2", QSize(300, 140)}}) {
            const QString base = p + "Bilder/" + folder + "/";
            test::writePicture(base + "Background" + suffix + ".bmp",
                               test::framedPicture(size, Qt::darkBlue));
            for (const char* strip : {"Play", "Stop", "Seek", "Open", "Function"}) {
                test::writePicture(base + strip + suffix + ".bmp",
                                   test::framedPicture({60, 80}, Qt::gray));
            }
        }
        test::writePicture(p + "Bilder/Corro/Taskbar.bmp", test::framedPicture({4, 4}, Qt::red));
        window = std::make_unique<Marlo>(tmp.folders(), prompts);
        window->settings().skinName = "Standard";
        window->settings().setOption(option::kFilterAuto, 1);
        window->settings().videoZoom = 100;
        window->setSkinList(SkinRegister::defaultSkinNames(), 1);
        window->applySkin();
        window->showInitialImages();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        standardSize = window->size();
    }
    void TearDown() override {
        window.reset();
        CaptionSwitch::resetForTests();
    }

    CFG* openDialog() {
        window->showSettingsDialog();
        CFG* cfg = window->settingsDialog();
        EXPECT_NE(cfg, nullptr);
        return cfg;
    }
    template <class T>
    T* child(CFG* cfg, const char* name) {
        T* widget = cfg->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void chooseInList(CFG* cfg, const QString& name) {
        auto* combo = child<QComboBox>(cfg, "Combo1");
        const int entry = combo->findText(name);
        ASSERT_GE(entry, 0);
        combo->setCurrentIndex(entry);
        emit combo->activated(entry);
    }

    test::TempProgramFolder tmp;
    test::ScriptedPrompts prompts;
    std::unique_ptr<Marlo> window;
    QSize standardSize;
};

TEST_F(SettingsWindowTest, PagesInOrderAndCaptionsFollowTheLanguage) {
    CFG* cfg = openDialog();
    EXPECT_TRUE(cfg->isVisible());
    EXPECT_EQ(cfg->objectName(), "CFG");
    auto* tabs = child<QTabWidget>(cfg, "SSTab1");
    ASSERT_EQ(tabs->count(), 5);
    const QStringList german = {"Allgemein", "Video", "Skins", "Mod | Pics", "Credits"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(tabs->tabText(i), german[i]);
    }
    EXPECT_EQ(cfg->windowTitle(), "Einstellungen");
    EXPECT_EQ(cfg->check(1)->text(), "Modules über MCI (z.B. Mod4Win MCI) spielen");
    EXPECT_EQ(child<QPushButton>(cfg, "Command10")->text(), "Löschen");
    for (int i = 1; i <= option::kCount; ++i) {
        EXPECT_FALSE(cfg->check(i)->text().isEmpty()) << i;
    }
    EXPECT_TRUE(child<QLabel>(cfg, "Label9")->text().startsWith("Version 0."));

    CaptionSwitch::apply("English");
    EXPECT_EQ(tabs->tabText(0), "General");
    EXPECT_EQ(cfg->windowTitle(), "Settings");
    EXPECT_EQ(cfg->check(1)->text(), "Play back modules through MCI device");
    EXPECT_EQ(cfg->check(11)->text(), "High");
    EXPECT_EQ(child<QLabel>(cfg, "Label1")->text(), "New zoom factor");
    EXPECT_EQ(child<QPushButton>(cfg, "Command4")->text(), "Open");
    EXPECT_EQ(child<QPushButton>(cfg, "Command2")->text(), "Abbruch");
}

TEST_F(SettingsWindowTest, OkayAppliesSkinIntervalAndOptions) {
    CFG* cfg = openDialog();
    EXPECT_EQ(cfg->slideshowInterval(), 2000);
    EXPECT_FALSE(child<QLineEdit>(cfg, "Text2")->isEnabled());
    cfg->check(option::kSlideshowPause)->click();
    EXPECT_TRUE(child<QLineEdit>(cfg, "Text2")->isEnabled());
    child<QLineEdit>(cfg, "Text2")->setText("4");
    cfg->check(option::kFilterWeak)->click();
    EXPECT_FALSE(cfg->check(option::kFilterAuto)->isChecked());
    chooseInList(cfg, "Vantel's Design");
    EXPECT_EQ(window->size(), standardSize);  // choosing only previews

    child<QPushButton>(cfg, "Command1")->click();
    EXPECT_FALSE(cfg->isVisible());
    EXPECT_EQ(cfg->slideshowInterval(), 4000);
    const Settings& s = window->settings();
    EXPECT_EQ(s.skinName, "Vantel's Design");
    EXPECT_EQ(window->size().width(), 300);
    EXPECT_TRUE(s.isSet(option::kSlideshowPause));
    EXPECT_EQ(s.slideshowPause, 4);
    EXPECT_TRUE(s.isSet(option::kFilterWeak));
    EXPECT_FALSE(s.isSet(option::kFilterAuto));

    // Written at once, not only at the end, so a crash does not lose it.
    EXPECT_EQ(test::readFile(tmp.program() + "Set.cfg"), SettingsFile::serialize(s));

    // Opened again, the dialog is the same window with the same values, and the zoom a video
    // asked for meanwhile.
    window->settings().videoZoom = 150;
    window->showSettingsDialog();
    EXPECT_EQ(window->settingsDialog(), cfg);
    EXPECT_EQ(child<QLineEdit>(cfg, "Text2")->text(), "4");
    EXPECT_EQ(child<QLineEdit>(cfg, "Text1")->text(), "150");
    child<QPushButton>(cfg, "Command1")->click();
    EXPECT_EQ(window->settings().videoZoom, 150);
}

TEST_F(SettingsWindowTest, CancelRestoresEveryFieldAndKeepsTheChosenSkinName) {
    FilterParts parts;
    window->setParts(&parts);
    CFG* cfg = openDialog();
    std::array<bool, option::kCount + 1> before{};
    for (int i = 1; i <= option::kCount; ++i) {
        before[static_cast<size_t>(i)] = cfg->check(i)->isChecked();
    }
    for (int i : {1, 4, 6, 9, 13, 16, 18}) {
        cfg->check(i)->click();
    }
    child<QLineEdit>(cfg, "Text1")->setText("250");
    child<QLineEdit>(cfg, "Text2")->setText("9");
    child<QLineEdit>(cfg, "Text3")->setText("77");
    chooseInList(cfg, "Vantel's Design");

    child<QPushButton>(cfg, "Command2")->click();
    EXPECT_FALSE(cfg->isVisible());
    for (int i = 1; i <= option::kCount; ++i) {
        EXPECT_EQ(cfg->check(i)->isChecked(), before[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(child<QLineEdit>(cfg, "Text1")->text(), "100");
    EXPECT_EQ(child<QLineEdit>(cfg, "Text2")->text(), "2");
    EXPECT_EQ(child<QLineEdit>(cfg, "Text3")->text(), "0");
    EXPECT_FALSE(child<QLineEdit>(cfg, "Text2")->isEnabled());
    EXPECT_EQ(cfg->slideshowInterval(), 2000);
    EXPECT_FALSE(window->settings().isSet(option::kRepeatAll));
    // The list choice stays the current skin; the window keeps its look until the next Okay.
    EXPECT_EQ(window->settings().skinName, "Vantel's Design");
    EXPECT_EQ(window->size(), standardSize);
    // "None" set the module filter at its click; the confirmed "Auto" is back.
    EXPECT_EQ(parts.modes, (std::vector<int>{0, 3}));

    // The close box dismisses as "Abbruch" does.
    window->showSettingsDialog();
    cfg->check(option::kFilterStrong)->click();
    child<QLineEdit>(cfg, "Text1")->setText("250");
    cfg->close();
    EXPECT_FALSE(cfg->isVisible());
    EXPECT_TRUE(cfg->check(option::kFilterAuto)->isChecked());
    EXPECT_EQ(child<QLineEdit>(cfg, "Text1")->text(), "100");
    EXPECT_EQ(parts.modes, (std::vector<int>{0, 3, 2, 3}));
    window->setParts(nullptr);
}

// Pictures dropped but not saved are what "Okay" lays on: the dropped background sizes the
// window and the dropped play strip fills the play button's slots; the register is untouched.
TEST_F(SettingsWindowTest, OkayShowsDroppedPicturesThatWereNotSaved) {
    const QString folder = tmp.program() + "dropped/";
    test::writePicture(folder + "background.bmp", test::framedPicture({250, 90}, Qt::darkGreen));
    const QString play = test::writePicture(folder + "Play.bmp",
                                            test::framedPicture({60, 80}, QColor(200, 30, 140)));
    const QByteArray registerBefore = test::readFile(tmp.program() + "Skins.ini");
    CFG* cfg = openDialog();
    cfg->dropPicture(play, 3);
    EXPECT_EQ(window->size(), standardSize);  // dropping only previews

    child<QPushButton>(cfg, "Command1")->click();
    EXPECT_EQ(window->size(), QSize(250, 90));
    const QImage rest = at(window->skins().pictures(), Slot::Play1).toImage();
    ASSERT_FALSE(rest.isNull());
    EXPECT_EQ(rest.pixelColor(rest.rect().center()), QColor(200, 30, 140));
    EXPECT_EQ(window->settings().skinName, "Standard");
    EXPECT_EQ(test::readFile(tmp.program() + "Skins.ini"), registerBefore);
}

// An imported design skin previews its own buttons, not the strips of the skin shown before;
// a button it does not have previews nothing.
TEST_F(SettingsWindowTest, DesignSkinPreviewsItsOwnButtons) {
    const test::DesignSkin design = test::writeDesignSkin(tmp.program() + "Other");
    CFG* cfg = openDialog();
    ASSERT_FALSE(child<QLabel>(cfg, "Image5")->pixmap().isNull());
    cfg->importDesign(design.designPath);
    const QImage play = child<QLabel>(cfg, "Image3")->pixmap().toImage();
    ASSERT_FALSE(play.isNull());
    const QColor centre = play.pixelColor(play.rect().center());
    EXPECT_TRUE(centre.green() > 150 && centre.red() < 60 && centre.blue() < 60)
        << qPrintable(centre.name());
    EXPECT_TRUE(child<QLabel>(cfg, "Image5")->pixmap().isNull());
}

TEST_F(SettingsWindowTest, SaveFromTheDialogListsTheSkinAndDeleteSelectsTheFirst) {
    CFG* cfg = openDialog();
    auto* combo = child<QComboBox>(cfg, "Combo1");
    combo->setEditText("Mine");
    child<QPushButton>(cfg, "Command9")->click();
    EXPECT_EQ(window->skinList(), QStringList({"Vantel's Design", "Standard", "Mine"}));
    // Saved without a drop, the new skin names the pictures of the one it was made from.
    IniFile skins(tmp.program() + "Skins.ini");
    for (const char* key : {"Background", "Play", "Stop", "Seek", "Open", "Functions"}) {
        EXPECT_EQ(skins.read("Mine", key, "-"), skins.read("Standard", key, "?")) << key;
    }
    EXPECT_EQ(combo->currentText(), "Mine");
    prompts.answers = {PromptAnswer::Yes};
    child<QPushButton>(cfg, "Command10")->click();
    EXPECT_EQ(window->skinList(), SkinRegister::defaultSkinNames());
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->count(), 2);
}

TEST_F(SettingsWindowTest, RightClickPopupOpensSettingsTogglesLyricsAndExits) {
    QWidget* titel = window->findChild<QWidget*>("Titel");
    chooseFromPopup("m_set");
    QTest::mouseClick(titel, Qt::RightButton);
    ASSERT_NE(window->popup(), nullptr);
    EXPECT_EQ(window->popup()->objectName(), "frmPopup");
    ASSERT_NE(window->settingsDialog(), nullptr);
    EXPECT_TRUE(window->settingsDialog()->isVisible());
    window->settingsDialog()->hide();

    // Without a playback list "Display Lyrics" does nothing.
    QWidget* background = window->findChild<QWidget*>("Maske");
    // With no playback list there is no song whose lyrics could show: the item stays unchecked.
    chooseFromPopup("DispLyrics");
    QTest::mouseClick(background, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(window->popup()->lyricsShown());
    chooseFromPopup("DispLyrics");
    QTest::mouseClick(background, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(window->popup()->lyricsShown());
    EXPECT_TRUE(window->isVisible());

    // A press on the main window closes the menu without a choice.
    const QPoint elsewhere = titel->geometry().center();
    QTimer::singleShot(0, [this, elsewhere] {
        ASSERT_NE(QApplication::activePopupWidget(), nullptr);
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, elsewhere);
    });
    QTest::mouseClick(background, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_FALSE(window->lyricsWindowShown());
    EXPECT_TRUE(window->isVisible());

    chooseFromPopup("m_exit");
    QTest::mouseClick(background, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QFile::exists(tmp.program() + "Set.cfg"));
}

// The popup stays loaded after its menu closed until one of the events that end it; the
// lyrics flag it shows belongs to the main window and outlives it.
TEST_F(SettingsWindowTest, PopupIsUnloadedByTheEventsThatEndIt) {
    QWidget* titel = window->findChild<QWidget*>("Titel");
    auto* vscroll = window->findChild<QScrollBar*>("VScroll1");
    auto* hscroll = window->findChild<QScrollBar*>("HScroll1");
    QWidget* axp = window->findChild<QWidget*>("AXP");
    QWidget* play = window->skinButtons().button(SkinButton::Play);
    axp->show();
    hscroll->show();
    const std::pair<const char*, std::function<void()>> events[] = {
        {"left press on Titel", [&] { QTest::mousePress(titel, Qt::LeftButton); }},
        {"double-click on Titel", [&] { QTest::mouseDClick(titel, Qt::LeftButton); }},
        {"press on a button",
         [&] {
             QTest::mousePress(play, Qt::LeftButton, {}, {5, 5});
         }},
        {"seek by the bar",
         [&] {
             QTest::mouseClick(axp, Qt::LeftButton, {}, {3, 2});
         }},
        {"VScroll1 changed", [&] { vscroll->setValue(vscroll->value() + 50); }},
        {"HScroll1 focused",
         [&] {
             QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
             QApplication::sendEvent(hscroll, &focus);
         }},
    };
    for (const auto& [name, happen] : events) {
        SCOPED_TRACE(name);
        QApplication::setActiveWindow(window.get());
        chooseFromPopup("DispLyrics");
        QTest::mouseClick(titel, Qt::RightButton);
        ASSERT_NE(window->popup(), nullptr);
        const bool shown = window->lyricsWindowShown();
        happen();
        QTest::mouseRelease(play, Qt::LeftButton, {}, {5, 5});
        EXPECT_EQ(window->popup(), nullptr);
        EXPECT_EQ(window->lyricsWindowShown(), shown);
    }
    // Activation: another window was active, the main window becomes active again.
    chooseFromPopup("DispLyrics");
    QTest::mouseClick(titel, Qt::RightButton);
    ASSERT_NE(window->popup(), nullptr);
    CFG* cfg = openDialog();
    QApplication::setActiveWindow(cfg);
    QApplication::setActiveWindow(window.get());
    EXPECT_EQ(window->popup(), nullptr);
}

// What start-up found reaches the dialog: the list entry it chose without regard to case, and the
// zoom field enabled by a saved "user defined" video size.
TEST_F(SettingsWindowTest, StartUpsSkinChoiceAndZoomFlagReachTheDialog) {
    window->settings().skinName = "vantel's design";
    window->setSkinList(SkinRegister::defaultSkinNames(), 0);
    window->setZoomFieldEnabled(true);
    CFG* cfg = openDialog();
    auto* combo = child<QComboBox>(cfg, "Combo1");
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->currentText(), "Vantel's Design");
    EXPECT_TRUE(child<QLineEdit>(cfg, "Text1")->isEnabled());
}

// Minimising with a skin that has no taskbar picture: the remote control takes the colour of
// the dialog's swatch, the one "Color" chose; the dialog is made for it but stays hidden.
TEST_F(SettingsWindowTest, MinimisingWithoutTaskbarPictureTakesTheSwatchColour) {
    ASSERT_TRUE(window->useSkin("Vantel's Design"));
    CFG* cfg = &window->settingsWindow();
    EXPECT_FALSE(cfg->isVisible());
    prompts.colours.push_back(QColor(0x12, 0x34, 0x56));
    QMetaObject::invokeMethod(child<QPushButton>(cfg, "Command12"), "click");
    ASSERT_EQ(cfg->taskColour(), QColor(0x12, 0x34, 0x56));
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      window->skinButtons().button(SkinButton::Mini)->pos() + QPoint(10, 6));
    ASSERT_TRUE(window->isMinimized());
    Controller* remote = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* c = qobject_cast<Controller*>(w)) {
            remote = c;
        }
    }
    ASSERT_NE(remote, nullptr);
    EXPECT_EQ(remote->backgroundColour(), QColor(0x12, 0x34, 0x56));
    EXPECT_FALSE(cfg->isVisible());
    window->showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !remote->isVisible(); }));

    // "Standard" has its taskbar picture: that goes to the remote.
    ASSERT_TRUE(window->useSkin("Standard"));
    EXPECT_FALSE(window->remoteBackground().picture.isNull());
}

}  // namespace
}  // namespace marlo
