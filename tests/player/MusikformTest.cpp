#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>

#include "base/texts/CollectionEditorTexts.h"
#include "library/ItemEditor.h"
#include "library/SaveItem.h"
#include "tests/player/MusikformFixture.h"

using namespace marlo;
using namespace marlo::test;

namespace {

const QStringList kRock{"Alpha", "Bravo", "Charlie", "Delta", "Echo"};

}  // namespace

TEST_F(MusikformFixture, ComposesThePlaybackListWithButtonsAndDoubleClicks) {
    seed("Rock", {"Echo", "Alpha", "Delta", "Charlie", "Bravo"});
    openWindow();
    EXPECT_EQ(archive(), kRock);  // sorted whatever the file's order
    EXPECT_EQ(text("Bezeichnung3"), "5");
    EXPECT_EQ(text("Bezeichnung4"), "0");

    // A click toggles: Alpha and Delta chosen, Bravo chosen and unchosen again.
    clickRow("Liste1", 0);
    clickRow("Liste1", 1);
    clickRow("Liste1", 3);
    clickRow("Liste1", 1);
    click("Befehl6");
    EXPECT_EQ(playlist(), QStringList({"Alpha", "Delta"}));
    EXPECT_EQ(archive(), QStringList({"Bravo", "Charlie", "Echo"}));
    click("Befehl6");  // nothing chosen any more: nothing moves
    EXPECT_EQ(playlist().size(), 2);

    doubleClickRow("Liste1", 2);  // Echo
    EXPECT_EQ(playlist(), QStringList({"Alpha", "Delta", "Echo"}));
    doubleClickRow("Liste2", 0);  // Alpha back, into its sorted place
    EXPECT_EQ(archive(), QStringList({"Alpha", "Bravo", "Charlie"}));

    clickRow("Liste2", 1);
    EXPECT_EQ(session->playback.selectedIndex(), 1);  // the view's choice is the current item
    click("Command3");
    EXPECT_EQ(playlist(), QStringList({"Delta"}));

    click("Befehl7");
    EXPECT_EQ(playlist(), QStringList({"Delta", "Alpha", "Bravo", "Charlie", "Echo"}));
    EXPECT_EQ(text("Bezeichnung3"), "0");
    EXPECT_EQ(text("Bezeichnung4"), "5");
    // Moving never touches the collection file.
    EXPECT_EQ(linesOf(collectionPath("Rock")),
              QStringList({"Echo", "Alpha", "Delta", "Charlie", "Bravo"}));

    // The player moving its current item shows in the view.
    select(3);
    EXPECT_EQ(widget<QListView>("Liste2")->selectionModel()->selectedRows().value(0).row(), 3);
}

TEST_F(MusikformFixture, RandomDrawsEachEntryByTheRemainingCount) {
    seed("Rock", kRock);
    openWindow();
    click("Befehl5");
    // No draws scripted: each draw is 0 and takes the first remaining entry.
    EXPECT_EQ(playlist(), kRock);

    click("Command2");
    // floor(5 * 0.99) = 4: Echo; floor(4 * 0.5) = 2: Charlie; floor(3 * 0.34) = 1: Bravo; ...
    draws = {0.99, 0.5, 0.34, 0.0, 0.7};
    click("Befehl5");
    EXPECT_EQ(playlist(), QStringList({"Echo", "Charlie", "Bravo", "Alpha", "Delta"}));
    EXPECT_TRUE(archive().isEmpty());
    EXPECT_EQ(text("Bezeichnung4"), "5");

    click("Befehl5");  // empty archive list: nothing changes
    EXPECT_EQ(playlist().size(), 5);
}

TEST_F(MusikformFixture, TheEntryNowPlayingStaysInThePlaybackList) {
    seed("Rock", kRock);
    openWindow();
    click("Befehl7");
    playEntry(2);  // Charlie

    clickRow("Liste2", 2);
    click("Command3");
    doubleClickRow("Liste2", 2);
    EXPECT_EQ(playlist().size(), 5);

    click("Command2");
    EXPECT_EQ(playlist(), QStringList({"Charlie"}));
    EXPECT_EQ(session->playback.selectedIndex(), 0);
    EXPECT_EQ(archive(), QStringList({"Alpha", "Bravo", "Delta", "Echo"}));
    EXPECT_TRUE(engine.state().playing);

    // Once stopped, nothing is protected.
    engine.stop();
    click("Command2");
    EXPECT_TRUE(playlist().isEmpty());
    EXPECT_EQ(text("Bezeichnung3"), "5");
}

TEST_F(MusikformFixture, EditOpensTheItemEditorAndARenameShowsInTheLists) {
    seed("Rock", kRock);
    openWindow();
    click("Befehl4");  // no selection: nothing
    EXPECT_TRUE(launcher.edits.isEmpty());

    click("Befehl7");
    clickRow("Liste2", 1);
    click("Befehl4");
    ASSERT_EQ(launcher.edits, QStringList({"Bravo"}));
    EXPECT_FALSE(window->isVisible());
    ItemEditor item(*session);
    item.loadItem(launcher.edits.first());
    EXPECT_EQ(item.fields.title, "Bravo");
    EXPECT_EQ(item.fields.path, media("Bravo.wav"));
    EXPECT_EQ(item.fields.artist, "Artist");
    EXPECT_EQ(item.fields.editedTitle, "Bravo");

    // The item editor saves under a new title and shows this window again.
    item.fields.title = "Bravissimo";
    EXPECT_EQ(SaveItem(item).run().result, SaveItem::Result::Saved);
    window->show();
    EXPECT_TRUE(playlist().isEmpty());
    EXPECT_EQ(archive(), QStringList({"Alpha", "Bravissimo", "Charlie", "Delta", "Echo"}));
    EXPECT_EQ(text("Bezeichnung3"), "5");
    EXPECT_EQ(text("Bezeichnung4"), "0");
    EXPECT_TRUE(recordOnDisk("Bravissimo"));
    EXPECT_FALSE(recordOnDisk("Bravo"));
    EXPECT_TRUE(linesOf(collectionPath("Rock")).contains("Bravissimo"));
}

TEST_F(MusikformFixture, DeletingAnItemIsRefusedWhilePlayingAndAskedOtherwise) {
    seed("Rock", kRock);
    seed("Jazz", {"Charlie", "Zulu"});
    openWindow();
    click("Befehl7");
    playEntry(0);

    clickRow("Liste2", 3);  // Delta, while Alpha plays
    key("Liste2", Qt::Key_Delete);
    ASSERT_EQ(prompts.messageTexts(),
              QStringList({Catalogue::body(texts::collectioneditor::kItemInUse)}));
    EXPECT_EQ(playlist().size(), 5);

    engine.stop();
    prompts.answers = {PromptAnswer::No};
    clickRow("Liste2", 3);
    click("Befehl3");
    EXPECT_EQ(prompts.messageTexts().last(), "Are you sure you want to delete 'Delta'?");
    EXPECT_EQ(prompts.shown.last().defaultAnswer, PromptAnswer::No);
    EXPECT_TRUE(recordOnDisk("Delta"));

    prompts.answers = {PromptAnswer::Yes};
    key("Liste2", Qt::Key_Delete);
    EXPECT_FALSE(recordOnDisk("Delta"));
    EXPECT_EQ(linesOf(collectionPath("Rock")), QStringList({"Alpha", "Bravo", "Charlie", "Echo"}));
    // The whole collection is back in the archive list.
    EXPECT_EQ(archive(), QStringList({"Alpha", "Bravo", "Charlie", "Echo"}));
    EXPECT_EQ(text("Bezeichnung3"), "4");

    // Jazz also lists Charlie: its record stays.
    click("Befehl7");
    clickRow("Liste2", 2);
    prompts.answers = {PromptAnswer::Yes};
    click("Befehl3");
    EXPECT_FALSE(linesOf(collectionPath("Rock")).contains("Charlie"));
    EXPECT_TRUE(recordOnDisk("Charlie"));
}

TEST_F(MusikformFixture, DeletingACollectionKeepsTheRecordsOthersList) {
    seed("Rock", kRock);
    seed("Jazz", {"bravo", "Zulu"});  // the same title in another letter case
    seed("Pop", {"Papa"});
    openWindow();
    EXPECT_EQ(widget<QComboBox>("Kombi1")->currentText(), "Rock");

    prompts.answers = {PromptAnswer::Yes};
    click("Befehl7");
    click("DelColl");
    EXPECT_EQ(prompts.messageTexts().last(),
              "Are you sure that you want to delete the collection 'Rock'?");
    EXPECT_FALSE(QFile::exists(collectionPath("Rock")));
    EXPECT_EQ(linesOf(session->paths.kindList(MediaKind::Audio)), QStringList({"Jazz", "Pop"}));
    for (const char* gone : {"Alpha", "Charlie", "Delta", "Echo"}) {
        EXPECT_FALSE(recordOnDisk(gone)) << gone;
    }
    EXPECT_TRUE(recordOnDisk("Bravo"));
    EXPECT_TRUE(recordOnDisk("Zulu"));

    // The neighbour that took Rock's place opens.
    auto* chooser = widget<QComboBox>("Kombi1");
    EXPECT_EQ(chooser->currentText(), "Jazz");
    EXPECT_EQ(chooser->count(), 2);
    EXPECT_EQ(archive(), QStringList({"bravo", "Zulu"}));
    EXPECT_TRUE(playlist().isEmpty());
    EXPECT_EQ(settings.collectionNumber, 0);
}

TEST_F(MusikformFixture, TheKindSwitchStepsThroughAllFourKinds) {
    seed("Rock", kRock);
    seed("Films", {"Movie"}, MediaKind::Video);
    openWindow();
    click("Befehl7");
    playEntry(0);
    auto* kindSwitch = widget<QPushButton>("Befehl9");
    auto* chooser = widget<QComboBox>("Kombi1");
    const char* fileOnly[] = {"Kombi1", "Befehl3", "Befehl4", "DelColl"};
    EXPECT_EQ(kindSwitch->text(), "Audio");

    click("Befehl9");
    EXPECT_EQ(session->kind(), MediaKind::CdAudio);
    EXPECT_EQ(kindSwitch->text(), "CD-Audio");
    EXPECT_FALSE(engine.state().playing);
    EXPECT_TRUE(playlist().isEmpty() && archive().isEmpty());
    EXPECT_EQ(cdOpens, 1);
    for (const char* name : fileOnly) {
        EXPECT_FALSE(widget(name)->isEnabled()) << name;
    }

    click("Befehl9");
    EXPECT_EQ(kindSwitch->text(), "Video");
    EXPECT_EQ(chooser->currentText(), "Films");
    EXPECT_EQ(archive(), QStringList({"Movie"}));
    for (const char* name : fileOnly) {
        EXPECT_TRUE(widget(name)->isEnabled()) << name;
    }
    EXPECT_EQ(settings.listKind, static_cast<int16_t>(MediaKind::Video));

    click("Befehl9");
    EXPECT_EQ(kindSwitch->text(), "Bilder");
    EXPECT_EQ(chooser->count(), 0);  // no "Pics.dat" yet
    EXPECT_TRUE(archive().isEmpty());

    click("Befehl9");
    EXPECT_EQ(kindSwitch->text(), "Audio");
    EXPECT_EQ(chooser->currentText(), "Rock");
    EXPECT_EQ(archive(), kRock);

    // F4 goes straight to video, F3 to CD; F6 to F10 only stop.
    key("Liste1", Qt::Key_F4);
    EXPECT_EQ(session->kind(), MediaKind::Video);
    key("Liste2", Qt::Key_F3);
    EXPECT_EQ(session->kind(), MediaKind::CdAudio);
    key("Liste1", Qt::Key_F2);
    click("Befehl7");
    playEntry(1);
    key("Liste1", Qt::Key_F8);
    EXPECT_FALSE(engine.state().playing);
    EXPECT_EQ(session->kind(), MediaKind::Audio);
    EXPECT_EQ(playlist().size(), 5);

    // Every button and the chooser say what they do, German as designed, English after the
    // caption switch; the two "Delete" buttons tell item and collection apart.
    QList<QWidget*> tipped;
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
        tipped.append(b);
    }
    tipped.append(chooser);
    EXPECT_EQ(tipped.size(), 12);
    QStringList german;
    for (QWidget* w : tipped) {
        EXPECT_FALSE(w->toolTip().isEmpty()) << w->objectName().toStdString();
        german.append(w->toolTip());
    }
    EXPECT_EQ(widget("DelColl")->toolTip(), "Diese Kollektion löschen");

    // The caption switch names the kinds in English.
    CaptionSwitch::apply("English");
    EXPECT_EQ(widget<QPushButton>("Befehl6")->text(), "Add >");
    EXPECT_EQ(widget("DelColl")->toolTip(), "Delete this collection");
    EXPECT_EQ(widget("Befehl3")->toolTip(), "Delete the selected item of the playback list");
    for (int i = 0; i < tipped.size(); ++i) {
        EXPECT_NE(tipped[i]->toolTip(), german[i]) << tipped[i]->objectName().toStdString();
    }
    key("Liste1", Qt::Key_F5);
    EXPECT_EQ(kindSwitch->text(), "Pictures");
    CaptionSwitch::resetForTests();
}

TEST_F(MusikformFixture, ChoosingACollectionOpensItAndEnterMakesANewOne) {
    seed("Rock", kRock);
    seed("Jazz", {"Zulu"});
    openWindow();
    auto* chooser = widget<QComboBox>("Kombi1");
    click("Befehl7");
    playEntry(0);
    chooser->activated(1);
    EXPECT_EQ(archive(), QStringList({"Zulu"}));
    EXPECT_TRUE(playlist().isEmpty());
    EXPECT_FALSE(engine.state().playing);
    EXPECT_EQ(settings.collectionNumber, 1);

    // Typed and entered as the window system delivers keys: to the window, which hands them
    // to the chooser holding the focus.
    const auto enter = [&](const QString& name, Qt::Key key) {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        chooser->setFocus();
        chooser->lineEdit()->selectAll();
        for (const QChar c : name) {
            QTest::keyClick(window->windowHandle(), c.toLatin1());
        }
        ASSERT_EQ(chooser->currentText(), name);
        QTest::keyClick(window->windowHandle(), key,
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    };
    enter("Rock", Qt::Key_Return);
    ASSERT_EQ(prompts.messageTitles(), QStringList({"Hint"}));
    EXPECT_EQ(prompts.shown[0].text,
              "This collection already exists! Please enter another name for your collection!");
    EXPECT_EQ(launcher.news, 0);

    // Another letter case is another collection; the keypad's Enter is Enter.
    enter("rock", Qt::Key_Enter);
    EXPECT_EQ(launcher.news, 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(linesOf(session->paths.kindList(MediaKind::Audio)),
              QStringList({"Rock", "Jazz", "rock"}));
    EXPECT_EQ(session->chooser.text(), "rock");
    EXPECT_EQ(chooser->currentIndex(), 2);
    EXPECT_TRUE(archive().isEmpty());

    // A name that cannot be a file is refused before anything is written.
    enter("a/b", Qt::Key_Return);
    EXPECT_EQ(launcher.news, 1);
    EXPECT_EQ(prompts.messageTitles().last(), "Invalid name");
    EXPECT_EQ(linesOf(session->paths.kindList(MediaKind::Audio)).size(), 3);
}

TEST_F(MusikformFixture, NewItemNamesTheAutoCollectionAndCdAsksForADisc) {
    openWindow();  // no collection at all
    click("Befehl8");
    EXPECT_EQ(launcher.news, 1);
    EXPECT_EQ(linesOf(session->paths.kindList(MediaKind::Audio)), QStringList({"Auto collection"}));
    window->show();
    click("Befehl8");  // the collection is there now: only the editor opens
    EXPECT_EQ(launcher.news, 2);
    EXPECT_EQ(linesOf(session->paths.kindList(MediaKind::Audio)).size(), 1);

    window->show();
    key("Liste1", Qt::Key_F3);
    click("Befehl8");
    EXPECT_EQ(prompts.messageTexts().last(), "Please insert an Audio-CD and click Okay!");
    EXPECT_EQ(cdOpens, 2);  // the switch and the hint
    EXPECT_EQ(launcher.cds, 1);
    window->show();
    cdTracks = 9;
    const auto shownBefore = prompts.shown.size();
    click("Befehl8");
    EXPECT_EQ(prompts.shown.size(), shownBefore);
    EXPECT_EQ(launcher.cds, 2);
}

TEST_F(MusikformFixture, FinishWithAnEmptyListSaysSoInTheMainWindow) {
    seed("Rock", kRock);
    openWindow();
    click("Befhel10");
    EXPECT_EQ(display.titel(), "No file to play");
    EXPECT_FALSE(window->isVisible());

    window->show();
    click("Befehl7");
    click("Befhel10");
    // The player took the list over: its first entry is loaded, not played.
    EXPECT_EQ(session->playback.selectedIndex(), 0);
    EXPECT_TRUE(audio.commands().contains("open"));
    EXPECT_FALSE(engine.state().playing);
}

TEST_F(MusikformFixture, FilesDroppedOnTheArchiveListGoToTheDropFlow) {
    openWindow();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile("/music/a.wav"), QUrl::fromLocalFile("/music/b.mp3")});
    QWidget* target = widget<QListView>("Liste1")->viewport();
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    EXPECT_EQ(dropped, QStringList({"/music/a.wav", "/music/b.mp3"}));
}

TEST_F(MusikformFixture, TenThousandTitlesOpenAndScroll) {
    QStringList titles;
    for (int i = 0; i < 10000; ++i) {
        titles.append(QStringLiteral("Title %1").arg(9999 - i, 5, 10, QLatin1Char('0')));
    }
    writeLines(collectionPath("Big"), titles);
    ASSERT_TRUE(KindListFile(session->paths.kindList(MediaKind::Audio)).append("Big"));
    openWindow();
    EXPECT_EQ(text("Bezeichnung3"), "10000");
    EXPECT_EQ(archive().first(), "Title 00000");

    auto* list = widget<QListView>("Liste1");
    EXPECT_TRUE(list->uniformItemSizes());
    list->scrollToBottom();
    QCoreApplication::processEvents();
    EXPECT_EQ(list->verticalScrollBar()->value(), list->verticalScrollBar()->maximum());
    EXPECT_TRUE(
        list->viewport()->rect().contains(list->visualRect(session->archive.index(9999)).center()));

    // Half of it, every other row, in one move.
    QItemSelection everyOther;
    for (int row = 0; row < 10000; row += 2) {
        everyOther.select(session->archive.index(row), session->archive.index(row));
    }
    list->selectionModel()->select(everyOther, QItemSelectionModel::Select);
    click("Befehl6");
    EXPECT_EQ(text("Bezeichnung3"), "5000");
    EXPECT_EQ(text("Bezeichnung4"), "5000");
    EXPECT_EQ(playlist().value(1), "Title 00002");
}
