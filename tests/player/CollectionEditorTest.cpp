#include <QDir>

#include "base/texts/CollectionEditorTexts.h"
#include "library/CollectionEditor.h"
#include "library/ItemEditor.h"
#include "tests/player/MusikformFixture.h"

using namespace marlo;
using namespace marlo::test;

namespace {

class CollectionEditorTest : public MusikformFixture {
  protected:
    void open() { OpenKind(*session).run(MediaKind::Audio, CollectionSelection::Start); }
    CollectionEditor editor{*session, {&control, &settings}};
};

}  // namespace

TEST_F(CollectionEditorTest, DeletingTheLastItemRemovesTheCollectionAndOpensItsNeighbour) {
    seed("Rock", {"Alpha"});
    seed("Jazz", {"Zulu"});
    seed("Solo", {"Only"});
    session->store.putItemLyrics("Only", "[00:01.00]la");
    session->store.commit();
    open();
    editor.chooseCollection(2);
    editor.addAllToPlayback();
    session->playback.setSelectedIndex(0);
    prompts.answers = {PromptAnswer::Yes};
    EXPECT_EQ(editor.deleteSelectedItem(), CollectionEditor::DeleteResult::CollectionRemoved);
    EXPECT_FALSE(QFile::exists(collectionPath("Solo")));
    EXPECT_FALSE(QFile::exists(session->paths.writeScratch()));
    EXPECT_EQ(linesOf(session->paths.kindList(MediaKind::Audio)), QStringList({"Rock", "Jazz"}));
    EXPECT_FALSE(recordOnDisk("Only"));
    QByteArray lyrics;
    EXPECT_FALSE(session->store.readItemLyrics("Only", lyrics)) << "lyrics outlive their item";
    // It was the last collection: the one before it opens.
    EXPECT_EQ(session->chooser.text(), "Jazz");
    EXPECT_EQ(session->chooser.entries(), QStringList({"Rock", "Jazz"}));
    EXPECT_EQ(archive(), QStringList({"Zulu"}));
    EXPECT_EQ(settings.collectionNumber, 1);

    // The first of two: the second takes its place.
    editor.chooseCollection(0);
    editor.addAllToPlayback();
    session->playback.setSelectedIndex(0);
    prompts.answers = {PromptAnswer::Yes};
    editor.deleteSelectedItem();
    EXPECT_EQ(session->chooser.text(), "Jazz");
    EXPECT_EQ(session->chooser.entries(), QStringList({"Jazz"}));
}

TEST_F(CollectionEditorTest, AFailedRemovalKeepsTheCollectionAndItsRecords) {
    seed("Rock", {"Alpha", "Bravo"});
    seed("Solo", {"Only"});
    open();
    // The scratch file cannot be written: no line can be removed from the kind list.
    ASSERT_TRUE(QDir().mkpath(session->paths.writeScratch() + "/blocked"));

    prompts.answers = {PromptAnswer::Yes};
    EXPECT_EQ(editor.deleteCollection(), CollectionEditor::DeleteResult::Failed);
    EXPECT_EQ(prompts.messageTexts().last(), "An error occured while deleting the collection!");
    EXPECT_EQ(linesOf(collectionPath("Rock")), QStringList({"Alpha", "Bravo"}));
    EXPECT_TRUE(recordOnDisk("Alpha") && recordOnDisk("Bravo"));
    EXPECT_EQ(session->chooser.text(), "Rock");
    EXPECT_EQ(archive(), QStringList({"Alpha", "Bravo"}));

    editor.chooseCollection(1);
    editor.addAllToPlayback();
    session->playback.setSelectedIndex(0);
    prompts.answers = {PromptAnswer::Yes};
    EXPECT_EQ(editor.deleteSelectedItem(), CollectionEditor::DeleteResult::Failed);
    EXPECT_EQ(prompts.messageTexts().last(), "A problem during deleting occured");
    EXPECT_TRUE(QFile::exists(collectionPath("Solo")));
    EXPECT_TRUE(recordOnDisk("Only"));
    EXPECT_EQ(archive(), QStringList({"Only"}));
}

TEST_F(CollectionEditorTest, ANewCollectionThatCannotBeListedIsNotShown) {
    seed("Rock", {"Alpha"});
    open();
    const QString kindList = session->paths.kindList(MediaKind::Audio);
    ASSERT_TRUE(QFile::remove(kindList) && QDir().mkpath(kindList));
    EXPECT_FALSE(editor.createCollection("Jazz"));
    EXPECT_TRUE(prompts.messageTexts().last().startsWith("Schreibfehler\nCould not write "));
    EXPECT_EQ(session->chooser.entries(), QStringList({"Rock"}));
    EXPECT_EQ(session->chooser.text(), "Rock");
    EXPECT_EQ(archive(), QStringList({"Alpha"}));
}

TEST_F(CollectionEditorTest, DeletingIsRefusedWhileATitlePlays) {
    seed("Rock", {"Alpha", "Bravo"});
    open();
    editor.addAllToPlayback();
    playEntry(1);
    EXPECT_EQ(editor.playingEntry(), "Bravo");
    EXPECT_EQ(editor.deleteCollection(), CollectionEditor::DeleteResult::RefusedPlaying);
    EXPECT_EQ(prompts.messageTexts(),
              QStringList({Catalogue::body(texts::collectioneditor::kCollectionInUse)}));
    EXPECT_TRUE(QFile::exists(collectionPath("Rock")));

    // Without a collection name or a selection nothing is asked.
    engine.stop();
    session->playback.setSelectedIndex(-1);
    EXPECT_EQ(editor.deleteSelectedItem(), CollectionEditor::DeleteResult::Nothing);
    session->chooser.setText({});
    EXPECT_EQ(editor.deleteCollection(), CollectionEditor::DeleteResult::Nothing);
    EXPECT_EQ(prompts.shown.size(), 1);
}

TEST_F(CollectionEditorTest, RecordsListedByAnyOtherCollectionFileAreShared) {
    seed("Rock", {"Alpha", "Bravo"});
    // A collection file whose kind list line was lost still protects its titles; files of other
    // kinds and the kind list itself do not count.
    writeLines(session->paths.dataFolder() + "aLost.dat", {"ALPHA"});
    writeLines(session->paths.dataFolder() + "vFilms.dat", {"Bravo"});
    open();
    const QSet<QString> shared = editor.titlesListedElsewhere(collectionPath("Rock"));
    EXPECT_EQ(shared, QSet<QString>({QString("alpha")}));

    prompts.answers = {PromptAnswer::Yes};
    editor.deleteCollection();
    EXPECT_TRUE(recordOnDisk("Alpha"));
    EXPECT_FALSE(recordOnDisk("Bravo"));
}

TEST_F(CollectionEditorTest, EditingAnItemWithoutARecordKeepsItsTitle) {
    writeLines(collectionPath("Rock"), {"Ghost"});
    ASSERT_TRUE(KindListFile(session->paths.kindList(MediaKind::Audio)).append("Rock"));
    open();
    EXPECT_TRUE(editor.prepareEdit().isEmpty());  // no selection
    editor.addAllToPlayback();
    session->playback.setSelectedIndex(0);
    ASSERT_EQ(editor.prepareEdit(), "Ghost");
    ItemEditor item(*session);
    item.loadItem("Ghost");
    EXPECT_EQ(item.fields.title, "Ghost");
    EXPECT_EQ(item.fields.path, QString());
    EXPECT_EQ(item.fields.artist, QString());
    EXPECT_EQ(item.fields.editedTitle, "Ghost");
}

TEST_F(CollectionEditorTest, ACdListsOneEntryPerTrack) {
    seed("Rock", {"Alpha"});
    open();
    CdInfo info{true, "Album", {{"Intro", "A"}, {kNotPresent, "B"}}};
    editor.listCdTracks(11, info);
    EXPECT_TRUE(archive().isEmpty());
    ASSERT_EQ(playlist().size(), 11);
    EXPECT_EQ(playlist().first(), "01  Intro");
    EXPECT_EQ(playlist().at(1), "02  ");
    EXPECT_EQ(playlist().last(), "11  ");
    editor.listCdTracks(2, CdInfo{});
    EXPECT_EQ(playlist(), QStringList({"01  ", "02  "}));
}

TEST(ArchiveListRows, TakesRunsAndScatteredRowsInOrder) {
    for (const int step : {1, 30, 2}) {
        ArchiveList list;
        QStringList all;
        for (int i = 0; i < 200; ++i) {
            all.append(QStringLiteral("T%1").arg(i, 3, 10, QLatin1Char('0')));
        }
        list.addMany(all);
        QList<int> rows;
        QStringList expected;
        QStringList kept = all;
        for (int row = 150; row >= 10; row -= step) {
            rows.append(row);
        }
        rows.append({150, 999, -1});  // twice, and outside the list
        std::sort(rows.begin(), rows.end());
        for (int row = 10; row <= 150; row += 1) {
            if ((150 - row) % step == 0) {
                expected.append(all.at(row));
                kept.removeOne(all.at(row));
            }
        }
        EXPECT_EQ(list.takeRows(rows), expected) << step;
        EXPECT_EQ(list.titles(), kept) << step;
    }
}
