#include "library/SaveItem.h"

#include "library/OpenKind.h"

#include <QFileInfo>
#include <functional>
#include "tests/library/LibraryFixture.h"

namespace marlo {
namespace {

using Result = SaveItem::Result;

class SaveItemTest : public test::LibraryFixture {
  protected:
    SaveItem::Outcome save(const QString& title, const QString& path,
                           const QString& artist = QString()) {
        itemEditor->fields.title = title;
        itemEditor->fields.path = path;
        itemEditor->fields.artist = artist;
        return SaveItem(*itemEditor).run();
    }
    // Opens collection "Rock" as the collection editor would.
    void open(MediaKind kind = MediaKind::Audio) {
        session->chooser.setText("Rock");
        OpenKind(*session).run(kind, CollectionSelection::Current);
    }
    // Moves a title to the playback list and selects it, as Edit needs.
    void selectForEdit(const QString& title) {
        const int row = session->archive.find(title);
        ASSERT_GE(row, 0) << title.toStdString();
        session->playback.append(session->archive.takeAt(row));
        session->playback.setSelectedIndex(session->playback.count() - 1);
        itemEditor->fields.editedTitle = title;
    }
    void resetSession() {
        itemEditor.reset();
        session = std::make_unique<LibrarySession>(folder.data(), prompts);
        itemEditor = std::make_unique<ItemEditor>(*session);
    }
};

TEST_F(SaveItemTest, NewItemWritesTheFiveLineRecordAndFilesTheTitle) {
    open();
    const auto outcome = save("My Song", "/music/My Song.MP3", "Somebody");
    EXPECT_EQ(outcome.result, Result::Saved);
    EXPECT_TRUE(outcome.handBack);

    // Committed at once: a fresh reader of the file sees it.
    EXPECT_EQ(memberOnDisk("a_My Song"),
              "[a_My Song]\r\nLiedbezeichnung=My Song\r\nPfad=/music/My Song.MP3\r\n"
              "Interpret=Somebody\r\nLiedType=mp3\r\n");
    EXPECT_EQ(linesOf("aRock.dat"), QStringList{"My Song"});
    EXPECT_EQ(session->archive.titles(), QStringList{"My Song"});
    EXPECT_TRUE(itemEditor->fields.title.isEmpty());
    EXPECT_TRUE(itemEditor->fields.path.isEmpty());
    EXPECT_TRUE(itemEditor->fields.artist.isEmpty());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(SaveItemTest, PathEndingDecidesAcceptanceAndTypeTag) {
    open();
    struct Case {
        MediaKind kind;
        QString path;
        QString member;
        QString tag;
    };
    const QList<Case> accepted{
        {MediaKind::Audio, "/m/a.MID", "a_T", ""},
        {MediaKind::Audio, "/m/a.Mp2", "a_T", "mp3"},
        {MediaKind::Audio, "/m/a.XM", "a_T", "mod"},
        {MediaKind::Audio, "/m/a.s3m", "a_T", "mod"},
        {MediaKind::Audio, "/z.zip|x/a.wav", "a_T", ""},
        {MediaKind::Video, "/m/a.MPG", "v_T", ""},
        {MediaKind::Pictures, "/m/a.Gif", "p_T", ""},
    };
    for (const Case& c : accepted) {
        session->chooser.setKind(c.kind);
        ASSERT_EQ(save("T", c.path).result, Result::Saved) << c.path.toStdString();
        const MediaItem item = session->store.ReadItem(c.kind, "T");
        EXPECT_EQ(item.path, c.path);
        EXPECT_EQ(item.typeTag, c.tag) << c.path.toStdString();
        EXPECT_FALSE(memberOnDisk(c.member).isEmpty()) << c.member.toStdString();
    }
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(SaveItemTest, UnsupportedFormatIsRefusedInBothLanguagesAndNothingIsWritten) {
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::German}) {
        Catalogue::setLanguage(language);
        prompts.shown.clear();
        session->chooser.setKind(MediaKind::Audio);
        session->chooser.setText("Rock");
        const auto outcome = save("Film", "/video/film.mpg", "x");
        EXPECT_EQ(outcome.result, Result::NotSupported);
        EXPECT_TRUE(outcome.handBack);
        EXPECT_TRUE(itemEditor->fields.title.isEmpty());  // the editor's fields are cleared
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Information);
        if (language == UiLanguage::English) {
            EXPECT_EQ(prompts.shown[0].title, "File format not supported!");
            EXPECT_EQ(prompts.shown[0].text,
                      "The current collection doesn't support the type of file you want to add.");
        } else {
            EXPECT_EQ(prompts.shown[0].title, "Dateiformat nicht unterstützt!");
            EXPECT_EQ(prompts.shown[0].text,
                      "Der von Ihnen ausgewählte Dateityp wird nicht in dieser Kollektion "
                      "unterstützt.\nIch bitte um Verständnis! Danke.");
        }
    }
    EXPECT_FALSE(QFile::exists(data("Marlo.zip")));
    EXPECT_FALSE(QFile::exists(data("aRock.dat")));
    EXPECT_EQ(session->archive.count(), 0);
}

TEST_F(SaveItemTest, EmptyTitleKeepsTheEditorOpenInBothLanguages) {
    open();
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::German}) {
        Catalogue::setLanguage(language);
        prompts.shown.clear();
        const auto outcome = save("", "/m/a.wav", "Artist");
        EXPECT_EQ(outcome.result, Result::EmptyTitle);
        EXPECT_FALSE(outcome.handBack);
        EXPECT_EQ(itemEditor->fields.path, "/m/a.wav");  // nothing else happened
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Error);
        EXPECT_EQ(prompts.shown[0].title,
                  language == UiLanguage::English ? "Enter title!" : "Titel eintragen!");
        EXPECT_EQ(prompts.shown[0].text,
                  language == UiLanguage::English
                      ? "You haven't entered a title for the song or the video!"
                      : "Sie haben noch nicht den Titel eingetragen!");
    }
    EXPECT_FALSE(QFile::exists(data("Marlo.zip")));
}

TEST_F(SaveItemTest, TitlesThatCannotNameAMemberAreRefusedBeforeAnythingIsWritten) {
    open();
    const QStringList refused{
        "a/b",        "a\\b", "C:",       "what?",     "star*",
        "say \"hi\"", "<x>",  "a|b",      "tab\there", "nul" + QString(QChar(0)),
        ".",          "..",   " leading", "trailing ", "[a]b"};
    for (const QString& title : refused) {
        prompts.shown.clear();
        const auto outcome = save(title, "/m/a.wav");
        EXPECT_EQ(outcome.result, Result::InvalidTitle) << title.toStdString();
        EXPECT_FALSE(outcome.handBack);
        EXPECT_EQ(itemEditor->fields.title, title);  // left for the user to correct
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown[0].title, "Invalid title");
        EXPECT_TRUE(prompts.shown[0].text.contains(title));
    }
    EXPECT_FALSE(QFile::exists(data("Marlo.zip")));
    EXPECT_FALSE(QFile::exists(data("aRock.dat")));

    Catalogue::setLanguage(UiLanguage::German);
    prompts.shown.clear();
    save("a/b", "/m/a.wav");
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, "Ungültiger Titel");

    // Unusual but harmless titles go through and read back as written.
    for (const QString& title : {QString("Über (Live) = 100%"), QString("[Intro"),
                                 QString("Rock'n'Roll ; #1"), QString("...And Justice")}) {
        ASSERT_EQ(save(title, "/m/a.wav").result, Result::Saved) << title.toStdString();
        EXPECT_EQ(session->store.ReadItem(MediaKind::Audio, title).title, title);
    }
}

TEST_F(SaveItemTest, NewItemWithAnExistingTitleReplacesTheRecordWithoutASecondLine) {
    seedCollection("Rock", {"Alpha", "My Song"});
    open();
    const auto outcome = save("my song", "/new/path.wav", "New");
    EXPECT_EQ(outcome.result, Result::Saved);
    EXPECT_EQ(linesOf("aRock.dat"), (QStringList{"Alpha", "My Song"}));
    EXPECT_EQ(session->archive.titles(), (QStringList{"Alpha", "My Song"}));
    EXPECT_EQ(membersOnDisk(), (QStringList{"a_Alpha", "a_my song"}));
    EXPECT_EQ(session->store.ReadItem(MediaKind::Audio, "My Song").path, "/new/path.wav");
}

TEST_F(SaveItemTest, EditUnderTheSameTitleRewritesTheRecordOnly) {
    seedCollection("Rock", {"Alpha", "My Song"});
    const QByteArray collectionBefore = test::readFile(data("aRock.dat"));
    open();
    selectForEdit("My Song");
    const auto outcome = save("My Song", "/edited.mp3", "Edited");
    EXPECT_EQ(outcome.result, Result::Saved);
    EXPECT_EQ(test::readFile(data("aRock.dat")), collectionBefore);
    const MediaItem item = session->store.ReadItem(MediaKind::Audio, "My Song");
    EXPECT_EQ(item.path, "/edited.mp3");
    EXPECT_EQ(item.artist, "Edited");
    EXPECT_EQ(item.typeTag, "mp3");
    EXPECT_EQ(session->playback.titles(), QStringList{"My Song"});
    EXPECT_EQ(session->archive.titles(), QStringList{"Alpha"});
    EXPECT_TRUE(itemEditor->fields.editedTitle.isEmpty());
}

TEST_F(SaveItemTest, RenameReplacesMemberAndLineAndLeavesTheOldTitleNowhere) {
    seedCollection("Rock", {"Alpha", "Old Title", "Zulu"});
    session->store.putItemLyrics("Old Title", "[00:01.00]la");
    session->store.commit();
    open();
    selectForEdit("Old Title");
    // Another line of the old title in other letter case goes too.
    test::writeFile(data("aRock.dat"), "Alpha\r\nOld Title\r\nZulu\r\nOLD TITLE\r\n");
    const auto outcome = save("New Title", "/new.wav", "Someone");
    EXPECT_EQ(outcome.result, Result::Saved);

    // The lyrics stay with the item.
    EXPECT_EQ(membersOnDisk(), (QStringList{"a_Alpha", "a_New Title", "a_Zulu", "l_New Title"}));
    EXPECT_EQ(linesOf("aRock.dat"), (QStringList{"Alpha", "Zulu", "New Title"}));
    EXPECT_FALSE(QFile::exists(data("Write.dat")));
    EXPECT_EQ(session->archive.titles(), (QStringList{"Alpha", "New Title", "Zulu"}));
    EXPECT_EQ(session->playback.count(), 0);
}

// Renaming onto a title the collection already lists: the old line must not stay behind
// naming a record that was just deleted.
TEST_F(SaveItemTest, RenameOntoAListedTitleDropsTheOldLineToo) {
    seedCollection("Rock", {"Alpha", "Beta"});
    open();
    selectForEdit("Beta");
    EXPECT_EQ(save("Alpha", "/renamed.wav").result, Result::Saved);
    EXPECT_EQ(linesOf("aRock.dat"), QStringList{"Alpha"});
    EXPECT_EQ(membersOnDisk(), QStringList{"a_Alpha"});
    EXPECT_EQ(session->store.ReadItem(MediaKind::Audio, "Alpha").path, "/renamed.wav");
    EXPECT_EQ(session->archive.titles(), QStringList{"Alpha"});
}

TEST_F(SaveItemTest, ChangingOnlyTheLetterCaseIsNoRename) {
    seedCollection("Rock", {"my song"});
    const QByteArray collectionBefore = test::readFile(data("aRock.dat"));
    open();
    selectForEdit("my song");
    EXPECT_EQ(save("My Song", "/recased.wav").result, Result::Saved);
    EXPECT_EQ(test::readFile(data("aRock.dat")), collectionBefore);
    // One record, under the new spelling, found by the listed title.
    EXPECT_EQ(membersOnDisk(), QStringList{"a_My Song"});
    EXPECT_EQ(session->store.ReadItem(MediaKind::Audio, "my song").path, "/recased.wav");
    EXPECT_EQ(session->playback.titles(), QStringList{"my song"});
}

TEST_F(SaveItemTest, DroppedFileGoesToThePlaybackListAndTheEditorStaysHidden) {
    open();
    itemEditor->fields.autoAdd = true;
    const auto first = save("Dropped", "/d/dropped.wav");
    EXPECT_FALSE(first.handBack);
    EXPECT_FALSE(itemEditor->fields.autoAdd);
    EXPECT_EQ(session->playback.titles(), QStringList{"Dropped"});

    // The next drop moves the list back first, as every save with a non-matching selection does.
    itemEditor->fields.autoAdd = true;
    save("Second", "/d/second.wav");
    EXPECT_EQ(session->playback.titles(), QStringList{"Second"});
    EXPECT_EQ(session->archive.titles(), QStringList{"Dropped"});
    EXPECT_EQ(linesOf("aRock.dat"), (QStringList{"Dropped", "Second"}));
}

TEST_F(SaveItemTest, CdTrackGoesIntoTheDraftWithoutTouchingFiles) {
    session->chooser.setKind(MediaKind::CdAudio);
    itemEditor->cd.currentTrack = 3;
    itemEditor->fields.editedTitle = "x";
    const auto outcome = save("Third", "", "Band");
    EXPECT_EQ(outcome.result, Result::CdTrackNoted);
    ASSERT_EQ(itemEditor->cd.tracks.size(), 3);
    EXPECT_EQ(itemEditor->cd.tracks[2], (CdTrackInfo{"Third", "Band"}));
    EXPECT_TRUE(itemEditor->fields.editedTitle.isEmpty());
    EXPECT_FALSE(QFile::exists(data("Marlo.zip")));
}

TEST_F(SaveItemTest, RenameRemovesTheRenamedEntryWhereverTheSelectionMoved) {
    seedCollection("Rock", {"Alpha", "Beta", "Gamma"});
    open();
    session->playback.appendMany(session->archive.takeAll());
    session->playback.setSelectedIndex(0);
    itemEditor->fields.editedTitle = "Alpha";
    session->playback.setSelectedIndex(1);  // Next while the editor is open
    EXPECT_EQ(save("Alpha Two", "/a2.wav").result, Result::Saved);
    EXPECT_EQ(session->archive.titles() + session->playback.titles(),
              (QStringList{"Alpha Two", "Beta", "Gamma"}));
    EXPECT_EQ(linesOf("aRock.dat"), (QStringList{"Beta", "Gamma", "Alpha Two"}));
}

// A failed write shows "Schreibfehler" (German in both languages) with the file and the reason
// below it, and the lists and the store show what the files hold, as a restart would.
TEST_F(SaveItemTest, AFailedWriteIsToldWithItsFileAndLeavesNothingShownThatIsNotStored) {
    struct Case {
        const char* what;
        std::function<void()> breakIt;
        QString file;
        bool recordStored;  // the store was written, its collection line was not
    };
    const QList<Case> cases = {
        {"store", [this] { QDir().mkpath(data("Marlo.zip")); }, "Marlo.zip", false},
        {"collection", [this] { QDir().mkpath(data("aRock.dat")); }, "aRock.dat", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(folder.data()).removeRecursively();
        folder.makeData();
        resetSession();
        c.breakIt();
        open();
        prompts.shown.clear();
        EXPECT_EQ(save("Song", "/m/song.wav").result, Result::WriteFailed);
        ASSERT_FALSE(prompts.shown.isEmpty());
        const QStringList text = prompts.shown.back().text.split('\n');
        EXPECT_EQ(text.value(0), "Schreibfehler");
        EXPECT_TRUE(text.value(1).startsWith("Could not write ")) << text.value(1).toStdString();
        EXPECT_TRUE(text.value(1).contains(c.file)) << text.value(1).toStdString();
        EXPECT_TRUE(prompts.shown.back().title.isEmpty());
        EXPECT_TRUE(session->archive.titles().isEmpty());
        EXPECT_EQ(session->store.hasItem(MediaKind::Audio, "Song"), c.recordStored);
        EXPECT_FALSE(QFileInfo(data("aRock.dat")).isFile());
    }
}

}  // namespace
}  // namespace marlo
