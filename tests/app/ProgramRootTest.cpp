#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>

#include "app/Popup.h"
#include "app/SettingsWindow.h"
#include "platform/media/OpenMptModuleLibrary.h"
#include "tests/app/PopupDriving.h"
#include "tests/app/ProgramRootFixture.h"

namespace marlo::test {
namespace {

// The disc id of the two-track tone image, as libdiscid computes it.
constexpr char kToneDisc[] = "05000202";

QStringList rows(QListView* view) {
    QStringList out;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        out.append(view->model()->index(row, 0).data().toString());
    }
    return out;
}

class ProgramRootTest : public ProgramRootFixture {
  protected:
    void rightClickTitel() { QTest::mouseClick(child(main(), "Titel"), Qt::RightButton); }
};

// Every kind the switch steps through opens through its own route; the CD kind lists the tracks
// of the disc the player opened, with the titles the store knows for that disc, and the popup's
// "Display Lyrics" shows the stored lyrics of the selected track and checks itself.
TEST_F(ProgramRootTest, TheKindSwitchReachesTheCdAndItsLyricsShowFromThePopup) {
    {
        ZipStore store(folder.data() + "Marlo.zip");
        store.open();
        store.put(kToneDisc, QByteArray("[") + kToneDisc +
                                 "]\r\nAlbum=Tones\r\nTrack 1=Low\r\nInterpret 1=Band\r\n"
                                 "Track 2=High\r\nInterpret 2=Band\r\n");
        store.put(QString(kToneDisc) + ".1", "First line\r\r\n\r\r\nSecond line");
        ASSERT_TRUE(store.commit());
    }
    Musikform& editor = collection();
    auto* kind = child<QPushButton>(editor, "Befehl9");
    auto* playback = child<QListView>(editor, "Liste2");
    EXPECT_EQ(kind->text(), "Audio");
    press(editor, "Befehl9");
    EXPECT_EQ(kind->text(), "CD-Audio");
    EXPECT_EQ(rows(playback), QStringList({"01  Low", "02  High"}));
    for (const char* next : {"Video", "Bilder", "Audio", "CD-Audio"}) {
        press(editor, "Befehl9");
        EXPECT_EQ(kind->text(), next);
    }
    press(editor, "Befhel10");  // Finish!: the player takes the CD list over

    chooseFromPopup("DispLyrics");
    rightClickTitel();
    ASSERT_NE(main().popup(), nullptr);
    auto* lyrics = static_cast<QWidget*>(topLevel("DisplayLyrics"));
    ASSERT_NE(lyrics, nullptr);
    EXPECT_TRUE(lyrics->isVisible());
    EXPECT_EQ(lyrics->windowTitle(), "Lyrics Displayer - Low");
    EXPECT_EQ(child<QPlainTextEdit>(*lyrics, "Text1")->toPlainText(),
              "First line\n\nSecond line\n");
    EXPECT_TRUE(main().popup()->lyricsShown());

    // Chosen again, it is unchecked and the window goes.
    chooseFromPopup("DispLyrics");
    rightClickTitel();
    EXPECT_FALSE(lyrics->isVisible());
    EXPECT_FALSE(main().popup()->lyricsShown());
}

// A picture dropped on the main window is shown by the program's own viewer with the file's
// pixels, and the main window moves to the top right of the screen out of its way.
TEST_F(ProgramRootTest, ADroppedPictureShowsInTheViewerWithTheMainWindowParked) {
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(QColor(200, 30, 40));
    const QString path = folder.program() + "red.png";
    ASSERT_TRUE(picture.save(path));
    root->dropFiles({path});
    QTest::qWait(300);

    QWidget* viewer = topLevel("DisplayPic");
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    auto* image = child<QLabel>(*viewer, "Image1");
    ASSERT_NE(image, nullptr);
    const QImage shown = image->grab().toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(200, 30, 40));

    const QRect screen = main().screenGeometry();
    const QRect parked = main().geometry();
    EXPECT_LE(screen.right() - parked.right(), 20) << parked.x();
    EXPECT_LE(parked.top() - screen.top(), 20) << parked.y();
}

// A filter box of the settings dialog acts on the module library the program plays modules with,
// at its click; Cancel brings the confirmed filter back.
TEST_F(ProgramRootTest, TheSettingsDialogsModuleFilterReachesTheModuleLibrary) {
    auto* modules = dynamic_cast<OpenMptModuleLibrary*>(root->moduleLibrary());
    ASSERT_NE(modules, nullptr);
    main().settings().setOption(option::kFilterAuto, 1);  // as a first start leaves it
    main().showSettingsDialog();
    CFG* cfg = main().settingsDialog();
    ASSERT_NE(cfg, nullptr);
    cfg->check(option::kFilterWeak)->click();
    EXPECT_EQ(modules->filterMode(), option::kFilterWeak - option::kFilterNone);
    cfg->check(option::kFilterNone)->click();
    EXPECT_EQ(modules->filterMode(), 0);
    press(*cfg, "Command2");  // Cancel
    EXPECT_EQ(modules->filterMode(), option::kFilterAuto - option::kFilterNone);
}

}  // namespace
}  // namespace marlo::test
