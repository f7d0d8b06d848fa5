#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include "app/CompositionRoot.h"
#include "app/Marlo.h"
#include "base/CaptionSwitch.h"
#include "library/Editierform.h"
#include "library/EditorWindows.h"
#include "tests/player/MusikformFixture.h"

namespace marlo::test {
namespace {

template <typename T = QWidget>
T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Drag enter and drop of local files, as the window system delivers them; true when taken.
bool dropOn(QWidget* target, const QStringList& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls.append(QUrl::fromLocalFile(path));
    }
    mime.setUrls(urls);
    const QPoint at(3, 3);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

// The item editor a main window made.
QWidget* itemEditorWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == "Editierform") {
            return window;
        }
    }
    return nullptr;
}

void choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// The real collection editor and item editor joined, over a library on disk and the engine
// over fake devices, driven through their widgets.
class EditorWindowsTest : public MusikformFixture {
  protected:
    void SetUp() override {
        MusikformFixture::SetUp();
        CaptionSwitch::resetForTests();
    }
    void openEditors() {
        OpenKind(*session).run(MediaKind::Audio, CollectionSelection::Start);
        editors = std::make_unique<EditorWindows>(*session, settings,
                                                  CollectionEditor::Player{&control, &settings});
        collection().move(200, 150);
        collection().show();
        QCoreApplication::processEvents();
    }
    Musikform& collection() { return editors->collectionEditor(); }
    Editierform& item() { return editors->itemEditor(); }

    void press(QWidget& window, const char* button) {
        QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
    }
    void type(const char* field, const QString& text) {
        auto* edit = child<QLineEdit>(item(), field);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    QString fieldText(const char* field) { return child<QLineEdit>(item(), field)->text(); }
    QString count(const char* label) { return child<QLabel>(collection(), label)->text(); }
    void clickRow(const char* list, int row) {
        auto* view = child<QListView>(collection(), list);
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // Only the item editor or only the collection editor shows.
    void expectItemEditorShown(bool shown) {
        EXPECT_EQ(item().isVisible(), shown);
        EXPECT_EQ(collection().isVisible(), !shown);
    }

    std::unique_ptr<EditorWindows> editors;
};

TEST_F(EditorWindowsTest, NewItemAndEditGoThroughTheItemEditorAndBack) {
    seed("Rock", {"Alpha"});
    openEditors();
    const QPoint home = collection().pos();

    press(collection(), "Befehl8");
    expectItemEditorShown(true);
    EXPECT_EQ(child<QComboBox>(item(), "Combo2")->count(), 3);
    const QString song = testdata("mp3/tag_id3v1_test_sample_usascii_v1.mp3");
    type("Text1", "Sample");
    type("Text2", song);
    type("Text3", "Someone");
    press(item(), "Befehl1");
    expectItemEditorShown(false);
    // Back where it was, whatever the two windows' sizes.
    EXPECT_EQ(collection().pos(), home);
    EXPECT_EQ(archive(), QStringList({"Alpha", "Sample"}));
    EXPECT_EQ(count("Bezeichnung3"), "2");
    EXPECT_EQ(linesOf(collectionPath("Rock")), QStringList({"Alpha", "Sample"}));
    EXPECT_TRUE(recordOnDisk("Sample"));

    clickRow("Liste1", 1);
    press(collection(), "Befehl6");
    clickRow("Liste2", 0);
    press(collection(), "Befehl4");
    expectItemEditorShown(true);
    EXPECT_EQ(child<QComboBox>(item(), "Combo2")->count(), 1);
    EXPECT_EQ(fieldText("Text1"), "Sample");
    EXPECT_EQ(fieldText("Text2"), song);
    EXPECT_EQ(fieldText("Text3"), "Someone");

    type("Text1", "Renamed");
    press(item(), "Befehl1");
    expectItemEditorShown(false);
    EXPECT_EQ(collection().pos(), home);
    EXPECT_EQ(archive() + playlist(), QStringList({"Alpha", "Renamed"}));
    EXPECT_EQ(count("Bezeichnung3").toInt() + count("Bezeichnung4").toInt(), 2);
    EXPECT_TRUE(recordOnDisk("Renamed"));
    EXPECT_FALSE(recordOnDisk("Sample"));
    EXPECT_EQ(linesOf(collectionPath("Rock")), QStringList({"Alpha", "Renamed"}));
}

TEST_F(EditorWindowsTest, CancelTakesBackANewCollectionThatStayedEmpty) {
    seed("Rock", {"Alpha"});
    seed("Pop", {"Beta"});
    openEditors();
    auto* chooser = child<QComboBox>(collection(), "Kombi1");
    choose(chooser, 1);
    chooser->lineEdit()->selectAll();
    QTest::keyClicks(chooser->lineEdit(), "Fresh");
    QTest::keyClick(chooser->lineEdit(), Qt::Key_Return);
    expectItemEditorShown(true);
    EXPECT_EQ(linesOf(session->paths.kindList(MediaKind::Audio)),
              QStringList({"Rock", "Pop", "Fresh"}));

    type("Text1", "Never saved");
    press(item(), "Befehl2");
    expectItemEditorShown(false);
    EXPECT_EQ(linesOf(session->paths.kindList(MediaKind::Audio)), QStringList({"Rock", "Pop"}));
    EXPECT_EQ(chooser->count(), 2);
    EXPECT_EQ(chooser->currentText(), "Pop");
    EXPECT_EQ(archive(), QStringList({"Beta"}));
    EXPECT_EQ(count("Bezeichnung3"), "1");
    // The collection shown is the one the next start opens.
    EXPECT_EQ(settings.collectionNumber, 1);
}

TEST_F(EditorWindowsTest, FilesDroppedOnTheArchiveListBecomeItems) {
    openEditors();  // no collection yet
    QWidget* archiveList = child<QListView>(collection(), "Liste1")->viewport();
    const QString tagged = testdata("mp3/tag_id3v1_test_sample_usascii_v1.mp3");

    // Only the first file, completed in the item editor.
    prompts.answers.push_back(PromptAnswer::No);
    EXPECT_TRUE(dropOn(archiveList, {tagged, testdata("mp3/mp3agic_notags.mp3")}));
    expectItemEditorShown(true);
    EXPECT_EQ(fieldText("Text1"), "Sample Title");
    EXPECT_EQ(fieldText("Text2"), tagged);
    EXPECT_EQ(fieldText("Text3"), "Sample Artist");
    press(item(), "Befehl1");
    expectItemEditorShown(false);
    EXPECT_EQ(child<QComboBox>(collection(), "Kombi1")->currentText(), "Auto collection");
    EXPECT_EQ(archive(), QStringList({"Sample Title"}));

    // All files, saved at once; the collection editor stays.
    prompts.answers.push_back(PromptAnswer::Yes);
    EXPECT_TRUE(dropOn(archiveList, {testdata("mp3/mp3agic_notags.mp3"),
                                     testdata("mp3/tag_without_tags_sample.mp3")}));
    expectItemEditorShown(false);
    EXPECT_EQ(archive(),
              QStringList({"Mp3agic_notags", "Sample Title", "Tag_without_tags_sample"}));
    EXPECT_EQ(count("Bezeichnung3"), "3");
    EXPECT_EQ(linesOf(collectionPath("Auto collection")).size(), 3);
    EXPECT_EQ(settings.collectionNumber, 0);
}

TEST_F(EditorWindowsTest, AKindSwitchForgetsTheExtensionsNarrowedForTheOldKind) {
    seed("Rock", {"Alpha"});
    openEditors();
    // The extensions window left the audio folder add at mp3 only.
    item().extensionFilter().append({"*.mp3"});

    press(collection(), "Befehl9");  // CD audio
    press(collection(), "Befehl9");  // video
    EXPECT_EQ(child<QPushButton>(collection(), "Befehl9")->text(), "Video");
    writeFile(media("clips/clip.avi"), "RIFF");
    writeFile(media("clips/song.mp3"), "data");
    press(collection(), "Befehl8");
    expectItemEditorShown(true);
    prompts.folders.push_back(media("clips"));
    choose(child<QComboBox>(item(), "Combo2"), 1);  // Add Dir
    expectItemEditorShown(false);
    EXPECT_EQ(archive(), QStringList({"Clip"}));
    EXPECT_EQ(linesOf(collectionPath("Auto collection")), QStringList({"Clip"}));

    // A key switch resets as well.
    item().extensionFilter().append({"*.avi"});
    QTest::keyClick(child<QListView>(collection(), "Liste1"), Qt::Key_F2);
    EXPECT_TRUE(item().extensionFilter().filter().isEmpty());
}

TEST_F(EditorWindowsTest, AMainWindowDropShowsInTheOpenCollectionEditor) {
    CompositionRoot root(folder.folders(), prompts);
    Marlo& main = root.window();
    main.loadCollectionEditor(false);
    main.openCollectionEditor();
    Musikform* shown = main.collectionEditor();
    ASSERT_NE(shown, nullptr);
    ASSERT_TRUE(shown->isVisible());
    auto* chooser = child<QComboBox>(*shown, "Kombi1");
    auto* title = child<QLabel>(main, "Titel");

    auto* itemEditor = static_cast<Editierform*>(itemEditorWindow());
    ASSERT_NE(itemEditor, nullptr);

    EXPECT_TRUE(dropOn(title, {testdata("mp3/mp3agic_notags.mp3")}));
    EXPECT_EQ(chooser->currentText(), "Auto collection");
    EXPECT_EQ(child<QLabel>(*shown, "Bezeichnung4")->text(), "1");

    // A picture switches the main window and the shown editor to pictures.
    itemEditor->extensionFilter().append({"*.mp3"});
    EXPECT_TRUE(dropOn(title, {writeFile(media("photo.jpg"), "data")}));
    EXPECT_EQ(child<QPushButton>(*shown, "Befehl9")->text(), "Bilder");
    EXPECT_EQ(chooser->currentText(), "Auto collection");
    EXPECT_EQ(child<QLabel>(*shown, "Bezeichnung3")->text(), "0");
    EXPECT_EQ(child<QLabel>(*shown, "Bezeichnung4")->text(), "1");
    EXPECT_TRUE(itemEditor->extensionFilter().filter().isEmpty());
    // The next start opens what the drop left shown.
    EXPECT_EQ(main.settings().listKind, static_cast<int16_t>(MediaKind::Pictures));
    EXPECT_EQ(main.settings().collectionNumber, 0);
}

TEST_F(EditorWindowsTest, OpenOnTheMainWindowLeavesAnOpenItemEditorInFront) {
    CompositionRoot root(folder.folders(), prompts);
    Marlo& main = root.window();
    main.loadCollectionEditor(false);
    main.openCollectionEditor();
    Musikform* shown = main.collectionEditor();
    ASSERT_NE(shown, nullptr);
    QTest::mouseClick(child<QPushButton>(*shown, "Befehl8"), Qt::LeftButton);
    QWidget* itemEditor = itemEditorWindow();
    ASSERT_NE(itemEditor, nullptr);
    ASSERT_TRUE(itemEditor->isVisible());

    // Both open, the collection editor could switch the kind or open another item under the
    // item being edited.
    main.openCollectionEditor();
    EXPECT_FALSE(shown->isVisible());
    EXPECT_TRUE(itemEditor->isVisible());

    QTest::mouseClick(child<QPushButton>(*itemEditor, "Befehl2"), Qt::LeftButton);
    EXPECT_TRUE(shown->isVisible());
}

}  // namespace
}  // namespace marlo::test
