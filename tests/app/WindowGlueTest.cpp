// The main window's glue to the player: the panel's buttons, bar and volume bars, the keys, and
// the remote-control window's link.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "app/CompositionRoot.h"
#include "app/Marlo.h"
#include "app/PlayerPanel.h"
#include "app/RemoteLink.h"
#include "app/SettingsWindow.h"
#include "base/texts/LyricsTexts.h"
#include "library/LibrarySession.h"
#include "library/Musikform.h"
#include "lyrics/DisplayLyrics.h"
#include "lyrics/LyricsDisplay.h"
#include "lyrics/LyricsServerList.h"
#include "player/PositionBar.h"
#include "skins/Controller.h"
#include "tests/app/PopupDriving.h"
#include "tests/platform/MediaTestTools.h"
#include "tests/player/EngineFixture.h"

namespace marlo::test {
namespace {

// The panel on a window of its own, over the engine with fake devices.
class PanelGlue : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        for (QLabel** label : {&titel, &interpret, &dauer, &posit}) {
            *label = new QLabel(&window);
        }
        panel = new PlayerPanel(&window, display, {titel, interpret, dauer, posit});
        panel->connectEngine(engine);
        window.resize(400, 200);
        window.show();
    }
    QScrollBar* bar(const char* name) { return window.findChild<QScrollBar*>(name); }
    void click(const char* button) {
        auto* widget = window.findChild<QWidget*>(button);
        ASSERT_NE(widget, nullptr) << button;
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(3, 3));
    }

    QWidget window;
    QLabel* titel = nullptr;
    QLabel* interpret = nullptr;
    QLabel* dauer = nullptr;
    QLabel* posit = nullptr;
    PlayerPanel* panel = nullptr;
};

// The groove and the thumb of a bar as its style draws them.
std::pair<QRect, QRect> grooveAndThumb(QScrollBar* bar) {
    // The protected member is reached through a pointer to it, not by casting the bar to a
    // type it is not.
    struct Open : QScrollBar {
        static auto init() { return &Open::initStyleOption; }
    };
    QStyleOptionSlider option;
    (bar->*Open::init())(&option);
    const QStyle* style = bar->style();
    return {style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, bar),
            style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar)};
}

// Where the thumb of a vertical bar sits: 0 at the top, 1 at the bottom.
double thumbFromTop(QScrollBar* bar) {
    const auto [groove, thumb] = grooveAndThumb(bar);
    const int travel = groove.height() - thumb.height();
    return travel > 0 ? double(thumb.top() - groove.top()) / travel : -1.0;
}

// `VScroll1` has 1000 at its top: its up arrow makes a module louder, and its thumb shows the
// level the module plays at, also the level the next module starts at.
TEST_F(PanelGlue, ModuleVolumeBarRisesUpwardsAndItsThumbShowsTheLevel) {
    addItem("M", "m.mod", "mod");
    engine.play();
    QScrollBar* volume = bar("VScroll1");
    ASSERT_NE(volume, nullptr);
    ASSERT_TRUE(volume->isVisible());
    const int x = volume->width() / 2;
    const int h = volume->height();
    auto press = [&](int y) { QTest::mouseClick(volume, Qt::LeftButton, {}, QPoint(x, y)); };
    auto pageAbove = [&] {
        const auto [groove, thumb] = grooveAndThumb(volume);
        press((groove.top() + thumb.top()) / 2);
    };
    auto drag = [&](int toY) {
        QTest::mousePress(volume, Qt::LeftButton, {}, grooveAndThumb(volume).second.center());
        QMouseEvent move(QEvent::MouseMove, QPointF(x, toY), volume->mapToGlobal(QPointF(x, toY)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(volume, &move);
        QTest::mouseRelease(volume, Qt::LeftButton, {}, QPoint(x, toY));
    };
    const struct {
        const char* action;
        std::function<void()> act;
        int level;
    } steps[] = {
        {"at start", [] {}, 100},
        {"up arrow", [&] { press(1); }, 110},
        {"down arrow", [&] { press(h - 2); }, 100},
        {"page above the thumb", pageAbove, 150},
        {"thumb to the top", [&] { drag(0); }, 1000},
        {"thumb to the bottom", [&] { drag(h); }, 0},
        {"up arrow at the bottom", [&] { press(1); }, 10},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.action);
        step.act();
        EXPECT_EQ(engine.moduleVolume(), step.level);
        EXPECT_EQ(modules.log.filter("setAmplification").last(),
                  "setAmplification " + QString::number(step.level));
        EXPECT_NEAR(thumbFromTop(volume), 1.0 - step.level / 1000.0, 0.06);
    }
    // The next module starts at the level the bar shows.
    engine.stop();
    engine.play();
    EXPECT_TRUE(modules.log.contains("setAmplification 10"));
    // The horizontal bar of design skins is the same level seen sideways.
    QScrollBar* across = bar("HScroll1");
    across->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(engine.moduleVolume(), 60);
    EXPECT_NEAR(thumbFromTop(volume), 0.94, 0.06);
}

// Buttons act on release inside them, the bar seeks, the labels follow the display model.
TEST_F(PanelGlue, ButtonsBarAndLabelsReachTheEngine) {
    audio.fileLength = 60'000;
    addItems({"A", "B", "C"});
    select(0);
    const struct {
        const char* button;
        bool playing;
        bool paused;
        int index;
    } steps[] = {
        {"Playbut", true, false, 0},  {"Pausebut", true, true, 0},     {"Pausebut", true, false, 0},
        {"Nextbut", true, false, 1},  {"Previousbut", true, false, 0}, {"Stopbut", false, false, 0},
        {"Nextbut", false, false, 1},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.button);
        click(step.button);
        EXPECT_EQ(engine.state().playing, step.playing);
        EXPECT_EQ(engine.state().paused, step.paused);
        EXPECT_EQ(index(), step.index);
    }
    click("Playbut");
    auto* axp = window.findChild<PositionBar*>("AXP");
    ASSERT_NE(axp, nullptr);
    QTest::mouseClick(axp, Qt::LeftButton, {}, QPoint(axp->width() / 4, 1));
    EXPECT_TRUE(audio.log.contains(
        QStringLiteral("from=%1").arg(qRound64(60'000.0 * (axp->width() / 4) / axp->width()))))
        << audio.log.join(' ').toStdString();

    display.setTitel("T");
    display.setTitelTip("Tip");
    display.setInterpret("I");
    display.setDauer("D");
    display.setPosit("P");
    display.setBarFraction(0.5);
    EXPECT_EQ(titel->text(), "T");
    EXPECT_EQ(titel->toolTip(), "Tip");
    EXPECT_EQ(interpret->text(), "I");
    EXPECT_EQ(dauer->text(), "D");
    EXPECT_EQ(posit->text(), "P");
    EXPECT_DOUBLE_EQ(axp->fraction(), 0.5);
}

// The main window over its real devices, with three short tones in its playback list.
class MainWindowGlue : public ::testing::Test {
  protected:
    class Window : public Marlo {
      public:
        using Marlo::Marlo;
        void showSettingsDialog() override { ++settingsShown; }
        int settingsShown = 0;
    };

    void SetUp() override {
        folder.makeData();
        Catalogue::setLanguage(UiLanguage::English);
        // A search server that is never asked: no test reaches beyond loopback.
        writeFile(folder.program() + kLyricsServerFile, "127.0.0.1:1\r\n");
        auto made = std::make_unique<Window>(folder.folders(), prompts);
        window = made.get();
        root = std::make_unique<CompositionRoot>(folder.folders(), prompts, std::move(made));
        window->loadCollectionEditor(false);
        LibrarySession& library = *window->library();
        QDir().mkpath(folder.program() + "media");
        for (const QString title : {"A", "B", "C"}) {
            const QString path =
                writeSineWav(folder.program() + "media/" + title + ".wav", 440, 3000);
            ASSERT_FALSE(path.isEmpty());
            library.store.putItemRecord({library.kind(), title, path, "Artist", ""});
            library.playback.append(title);
        }
        ASSERT_TRUE(library.store.commit());
        library.playback.setSelectedIndex(0);
    }
    void TearDown() override {
        if (window->engine() != nullptr) {
            window->engine()->stopCurrentItem();
        }
        root.reset();
        Catalogue::setLanguage(UiLanguage::German);
    }
    const PlayerState& state() { return window->engine()->state(); }
    int index() { return window->library()->playback.selectedIndex(); }

    TempProgramFolder folder;
    ScriptedPrompts prompts;
    std::unique_ptr<CompositionRoot> root;
    Window* window = nullptr;
};

// Space, Page Up and Page Down act on release; a held key's repeats and a press alone do nothing.
TEST_F(MainWindowGlue, KeysActOnReleaseAndIgnoreRepeats) {
    enum Kind { Release, Repeat, Press };
    const struct {
        Qt::Key key;
        Kind kind;
        bool playing;
        bool paused;
        int index;
    } steps[] = {
        {Qt::Key_Space, Press, false, false, 0},     {Qt::Key_Space, Release, true, false, 0},
        {Qt::Key_Space, Repeat, true, false, 0},     {Qt::Key_Space, Release, true, true, 0},
        {Qt::Key_Space, Release, true, false, 0},    {Qt::Key_PageDown, Press, true, false, 0},
        {Qt::Key_PageDown, Release, true, false, 1}, {Qt::Key_PageDown, Repeat, true, false, 1},
        {Qt::Key_PageUp, Release, true, false, 0},   {Qt::Key_PageUp, Repeat, true, false, 0},
    };
    int n = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "step " << ++n);
        QKeyEvent event(step.kind == Press ? QEvent::KeyPress : QEvent::KeyRelease, step.key,
                        Qt::NoModifier, QString(), step.kind == Repeat);
        QApplication::sendEvent(window, &event);
        EXPECT_EQ(state().playing, step.playing);
        EXPECT_EQ(state().paused, step.paused);
        EXPECT_EQ(index(), step.index);
    }
}

// Each remote button does what the main window's button does; Settings opens the dialog.
TEST_F(MainWindowGlue, RemoteButtonsActOnTheEngine) {
    RemoteLink link(*window);
    const struct {
        RemoteButton button;
        bool playing;
        bool paused;
        int index;
        SlotLook play;  // what the remote's play button then shows
    } steps[] = {
        {RemoteButton::Play, true, false, 0, SlotLook::Lit},
        {RemoteButton::Pause, true, true, 0, SlotLook::Lit},
        {RemoteButton::Pause, true, false, 0, SlotLook::Lit},
        {RemoteButton::Next, true, false, 1, SlotLook::Lit},
        {RemoteButton::Previous, true, false, 0, SlotLook::Lit},
        {RemoteButton::Stop, false, false, 0, SlotLook::Inactive},
        {RemoteButton::Next, false, false, 1, SlotLook::Inactive},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << int(step.button) << " to index " << step.index);
        link.remoteAction(step.button);
        EXPECT_EQ(state().playing, step.playing);
        EXPECT_EQ(state().paused, step.paused);
        EXPECT_EQ(index(), step.index);
        EXPECT_EQ(link.shownLook(RemoteButton::Play), step.play);
        const RemoteFacts facts = link.remoteFacts();
        EXPECT_EQ(facts.playing, step.playing);
        EXPECT_EQ(facts.atFirst, step.index == 0);
        EXPECT_FALSE(facts.atLast);
    }
    EXPECT_EQ(window->settingsShown, 0);
    link.remoteAction(RemoteButton::Settings);
    EXPECT_EQ(window->settingsShown, 1);
}

// The remote scrolls the player's title with its 60 blanks, at filling and as the item changes.
TEST_F(MainWindowGlue, RemoteTitleGetsSixtyBlanks) {
    RemoteLink link(*window);
    window->engine()->play();
    link.show();
    auto* label2 = link.controller()->findChild<QLabel*>("Label2");
    ASSERT_NE(label2, nullptr);
    EXPECT_EQ(label2->text(), "A" + QString(60, ' '));
    link.remoteAction(RemoteButton::Next);
    EXPECT_EQ(label2->text(), "B" + QString(60, ' '));
    link.hide();
}

// "Okay" and "Abbruch" leave Previous and Next showing where they lead from the selected entry
// under the repeat option then set: at the first entry Previous leads nowhere without "Repeat all".
TEST_F(MainWindowGlue, SettingsDialogRefreshesPreviousAndNext) {
    CFG& cfg = window->settingsWindow();
    const DisplayModel& shown = window->display();
    const struct {
        bool clickRepeatAll;
        const char* button;
        ButtonLook previous;
    } steps[] = {
        {false, "Command1", ButtonLook::Disabled},
        {true, "Command2", ButtonLook::Disabled},
        {true, "Command1", ButtonLook::Enabled},
        {true, "Command1", ButtonLook::Disabled},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.button);
        cfg.open();
        if (step.clickRepeatAll) {
            cfg.check(option::kRepeatAll)->click();
        }
        cfg.findChild<QPushButton*>(step.button)->click();
        EXPECT_EQ(shown.previous(), step.previous);
        EXPECT_EQ(shown.next(), ButtonLook::Enabled);
    }
}

// The popup's "Open" hides the main window until the collection editor hands its list over
// ("Finish!") or is closed.
TEST_F(MainWindowGlue, PopupOpenStandsTheCollectionEditorInForTheWindow) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    for (const char* leave : {"close box", "Befhel10"}) {
        SCOPED_TRACE(leave);
        chooseFromPopup("m_open");
        QTest::mouseClick(window->findChild<QWidget*>("Titel"), Qt::RightButton);
        Musikform* editor = window->collectionEditor();
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_FALSE(window->isVisible());
        if (leave == std::string("close box")) {
            editor->close();
        } else {
            editor->findChild<QPushButton*>(leave)->click();
        }
        EXPECT_FALSE(editor->isVisible());
        EXPECT_TRUE(window->isVisible());
    }
}

// "Display Lyrics" of the popup asks the lyrics display only for a list of songs. Nothing is
// stored for these titles: a CD track says so in a message, a song says so in the window.
TEST_F(MainWindowGlue, DisplayLyricsActsOnAListOfSongsOnly) {
    LibrarySession& library = *window->library();
    const struct {
        MediaKind kind;
        bool emptyList;
        bool asked;
        bool shown;
    } steps[] = {
        {MediaKind::Audio, false, false, true},     {MediaKind::Video, false, false, false},
        {MediaKind::Pictures, false, false, false}, {MediaKind::CdAudio, false, true, false},
        {MediaKind::Audio, true, false, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << int(step.kind) << (step.emptyList ? " empty" : ""));
        library.chooser.setKind(step.kind);
        if (step.emptyList) {
            library.playback.clear();
        }
        const qsizetype before = prompts.shown.size();
        chooseFromPopup("DispLyrics");
        QTest::mouseClick(window->findChild<QWidget*>("Titel"), Qt::RightButton);
        EXPECT_EQ(prompts.shown.size() > before, step.asked);
        EXPECT_EQ(window->lyricsWindowShown(), step.shown);
        if (step.shown) {
            const auto* text =
                window->lyricsDisplay()->window().findChild<QPlainTextEdit*>("Text1");
            EXPECT_EQ(text->toPlainText(), Catalogue::text(texts::lyrics::kNoSongLyrics));
            EXPECT_EQ(window->lyricsDisplay()->window().windowTitle(), "Lyrics Displayer - A");
            window->lyricsDisplay()->hideLyrics();
        }
    }
    library.chooser.setKind(MediaKind::Audio);
}

// A module tagged as the program tags modules plays through the module library: `Posit` shows
// its pattern and row, and `VScroll1` takes the wheel and, once clicked, the arrow keys, while
// the window keeps its own keys.
TEST_F(MainWindowGlue, AModuleShowsItsRowsAndItsVolumeBarTakesTheWheelAndKeys) {
    LibrarySession& library = *window->library();
    library.store.putItemRecord(
        {library.kind(), "M", testdata("modules/libxmp_read_event_ft2.xm"), "", "mod"});
    ASSERT_TRUE(library.store.commit());
    library.playback.append("M");
    library.playback.setSelectedIndex(3);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    window->engine()->play();
    auto* posit = window->findChild<QLabel*>("Posit");
    const QRegularExpression row(QStringLiteral("^Patt\\. \\d+ - Row [1-9]\\d*$"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return row.match(posit->text()).hasMatch(); }, 3000))
        << posit->text().toStdString();

    auto* volume = window->findChild<QScrollBar*>("VScroll1");
    ASSERT_TRUE(volume->isVisible());
    const auto level = [&] { return window->engine()->moduleVolume(); };
    const auto turn = [&](int delta) {
        const QPointF at(volume->width() / 2.0, volume->height() / 2.0);
        QWheelEvent wheel(at, volume->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(volume, &wheel);
    };
    turn(120);
    EXPECT_GT(level(), 100) << "the wheel turned up";
    turn(-240);
    EXPECT_LT(level(), 100) << "the wheel turned down";

    // Keys go where the program sends them: to the widget with the focus.
    const auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
    QTest::mouseClick(volume, Qt::LeftButton, {}, volume->rect().center());
    ASSERT_EQ(QApplication::focusWidget(), volume);
    const int clicked = level();
    key(Qt::Key_Up);
    EXPECT_EQ(level(), clicked + 10);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(level(), clicked - 10);
    key(Qt::Key_PageUp);
    EXPECT_EQ(level(), clicked - 10);
    EXPECT_EQ(index(), 2) << "Page Up is the window's Previous";
}

// Each remote picture comes from the slot of the main window's button it stands for.
TEST(RemoteLinkPictures, ComeFromTheSlotsOfTheMatchingButtons) {
    SlotPictures skinSlots;
    for (int i = 0; i < kSlotCount; ++i) {
        QPixmap picture(1, 1);
        picture.fill(QColor(i, 0, 0));
        skinSlots[std::size_t(i)] = picture;
    }
    const RemotePictures pictures = remotePicturesOf(skinSlots);
    auto slotOf = [](const QPixmap& picture) {
        return static_cast<Slot>(picture.toImage().pixelColor(0, 0).red());
    };
    using enum Slot;
    const struct {
        RemoteButton button;
        Slot inactive, normal, pressed, lit;
    } table[] = {
        {RemoteButton::Play, Play1, Play2, Play3, Play4},
        {RemoteButton::Pause, Pause1, Pause2, Pause3, Pause4},
        {RemoteButton::Stop, Stop1, Stop2, Stop3, Stop2},
        {RemoteButton::Previous, Prev1, Prev2, Prev3, Prev2},
        {RemoteButton::Next, Next1, Next2, Next3, Next2},
        {RemoteButton::Settings, Setup1, Setup1, Setup2, Setup1},
    };
    for (const auto& row : table) {
        const auto i =
            std::size_t(std::find(kRemoteButtons.begin(), kRemoteButtons.end(), row.button) -
                        kRemoteButtons.begin());
        SCOPED_TRACE(slotName(row.inactive));
        EXPECT_EQ(slotOf(pictures[i].inactive), row.inactive);
        EXPECT_EQ(slotOf(pictures[i].normal), row.normal);
        EXPECT_EQ(slotOf(pictures[i].pressed), row.pressed);
        EXPECT_EQ(slotOf(pictures[i].lit), row.lit);
    }
}

// The skin's taskbar value: a colour number is BBGGRR; a picture's path gives the picture.
TEST(RemoteLinkPictures, TaskValueIsAPictureOrAColourInBlueGreenRedOrder) {
    QTemporaryDir dir;
    const QString picture = dir.filePath("Pics/Task.bmp");
    QDir().mkpath(dir.filePath("Pics"));
    QImage(4, 2, QImage::Format_RGB32).save(picture);
    const struct {
        QString task;
        QColor colour;
        bool picture;
    } table[] = {
        {"255", QColor(255, 0, 0), false},
        {"65280", QColor(0, 255, 0), false},
        {"16711680", QColor(0, 0, 255), false},
        {"1193046", QColor(0x56, 0x34, 0x12), false},
        {"", QColor(), false},
        {"-1", QColor(), false},
        {"blue", QColor(), false},
        {picture, QColor(), true},
        // Written on Windows: backslashes and another letter case.
        {dir.path() + "\\PICS\\task.BMP", QColor(), true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.task.toStdString());
        const TaskBackground background = taskBackgroundOf(row.task);
        EXPECT_EQ(background.colour, row.colour);
        EXPECT_EQ(!background.picture.isNull(), row.picture);
    }
}

}  // namespace
}  // namespace marlo::test
