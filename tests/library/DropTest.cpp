#include "library/AddDroppedFiles.h"
#include "library/OpenKind.h"
#include "tests/library/LibraryFixture.h"

namespace marlo::test {
namespace {

class DropTest : public LibraryFixture {
  protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        hooks.stopPlayback = [this] { calls.append("stop"); };
        hooks.showItemEditor = [this] { calls.append("editor"); };
        hooks.enablePathField = [this] { calls.append("path"); };
        QObject::connect(&session->chooser, &CollectionChooser::kindChanged,
                         [this](MediaKind kind) {
                             calls.append(QStringLiteral("kind %1").arg(static_cast<int>(kind)));
                         });
        hooks.takeOverPlaybackList = [this] { calls.append("takeover"); };
        drop = std::make_unique<AddDroppedFiles>(*session, adder, hooks);
    }
    QString media(const QString& name) {
        return writeFile(folder.program() + "/media/" + name, "data");
    }

    AddFiles adder{*itemEditor};
    AddDroppedFiles::Hooks hooks;
    std::unique_ptr<AddDroppedFiles> drop;
    QStringList calls;
};

TEST_F(DropTest, MainWindowStopsAtAFolderKeepingWhatCameBefore) {
    const QString sub = folder.program() + "/media/sub";
    QDir().mkpath(sub);
    const AddDroppedFiles::Outcome outcome =
        drop->onMainWindow({media("first.wav"), sub, media("third.wav")});
    EXPECT_TRUE(outcome.refused);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, "Warning");
    EXPECT_EQ(prompts.shown[0].text, "Directories can't be entered into the database!");
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Error);
    EXPECT_EQ(linesOf("Audio.dat"), QStringList{"Auto collection"});
    EXPECT_EQ(linesOf("aAuto collection.dat"), QStringList{"First"});
    EXPECT_EQ(membersOnDisk(), QStringList{"a_First"});
    EXPECT_FALSE(calls.contains("takeover"));
    EXPECT_EQ(calls.first(), "stop");
}

TEST_F(DropTest, MainWindowRefusesArchivesAndAddsNothing) {
    drop->onMainWindow({media("songs.zip"), media("after.wav")});
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, "Drag & Drop");
    EXPECT_EQ(prompts.shown[0].text, "Filetype not supported!");
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Information);
    EXPECT_FALSE(QFile::exists(data("Audio.dat")));
    EXPECT_FALSE(QFile::exists(data("Marlo.zip")));
}

// A command line may name a file that is not there: the drop refuses it as it refuses an
// archive, keeping what came before.
TEST_F(DropTest, MainWindowRefusesAMissingFile) {
    drop->onMainWindow({media("here.wav"), folder.program() + "/media/gone.wav", media("b.wav")});
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, "Filetype not supported!");
    EXPECT_EQ(linesOf("aAuto collection.dat"), QStringList{"Here"});
}

TEST_F(DropTest, AudioDroppedOnAVideoListSwitchesKindAndPlaysTheAutoCollection) {
    // Video shown; the audio kind already has an Auto collection in other letter case.
    writeLines("Video.dat", {"Films"});
    writeLines("vFilms.dat", {"Film"});
    seedCollection("auto Collection", {"Older"});
    OpenKind(*session).run(MediaKind::Video, CollectionSelection::Start);
    session->playback.append("Film");
    calls.clear();

    drop->onMainWindow({media("new ONE.WAV"), media("two.mp3"), media("Older.mid")});
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(session->kind(), MediaKind::Audio);
    EXPECT_EQ(session->chooser.text(), "auto Collection");
    EXPECT_EQ(linesOf("Audio.dat"), QStringList{"auto Collection"});  // no second one
    // "Older" was already listed: its record is replaced, no second line.
    EXPECT_EQ(linesOf("aauto Collection.dat"), (QStringList{"Older", "New One", "Two"}));
    EXPECT_EQ(session->playback.titles(), (QStringList{"New One", "Older", "Two"}));
    EXPECT_EQ(session->archive.count(), 0);
    EXPECT_EQ(calls, (QStringList{"stop", "kind 0", "takeover"}));
    EXPECT_TRUE(memberOnDisk("a_Older").contains("Older.mid"));
    EXPECT_TRUE(memberOnDisk("a_Two").contains("LiedType=mp3"));

    // A picture next: the pictures kind gets its own Auto collection.
    calls.clear();
    drop->onMainWindow({media("photo.JPG")});
    EXPECT_EQ(session->kind(), MediaKind::Pictures);
    EXPECT_EQ(linesOf("Pics.dat"), QStringList{"Auto collection"});
    EXPECT_EQ(session->playback.titles(), QStringList{"Photo"});
    EXPECT_EQ(calls, (QStringList{"stop", "kind 3", "takeover"}));
}

TEST_F(DropTest, AMainWindowDropLeavesAnItemBeingEditedAlone) {
    seedCollection("Rock", {"Being Edited"});
    OpenKind(*session).run(MediaKind::Audio, CollectionSelection::Start);
    itemEditor->fields.editedTitle = "Being Edited";
    drop->onMainWindow({media("dropped.wav")});
    EXPECT_EQ(membersOnDisk(), (QStringList{"a_Being Edited", "a_Dropped"}));
    EXPECT_EQ(linesOf("aRock.dat"), QStringList{"Being Edited"});
    EXPECT_EQ(itemEditor->fields.editedTitle, "Being Edited");
    // After a switch to another kind the edit cannot go on there.
    drop->onMainWindow({media("dropped.gif")});
    EXPECT_TRUE(itemEditor->fields.editedTitle.isEmpty());
}

TEST_F(DropTest, ArchiveListCreatesAnAutoCollectionAndAddsAllOnYes) {
    prompts.answers.push_back(PromptAnswer::Yes);
    const auto outcome = drop->onArchiveList({media("one.wav"), media("Two.MP3")});
    EXPECT_TRUE(outcome.taken);
    EXPECT_EQ(prompts.messageTitles(), QStringList{"Create new item(s)"});
    EXPECT_EQ(session->chooser.text(), "Auto collection");
    EXPECT_EQ(linesOf("Audio.dat"), QStringList{"Auto collection"});
    // Case-sensitive endings here: "Two.MP3" is named by the file-name rule.
    EXPECT_EQ(linesOf("aAuto collection.dat"), (QStringList{"One", "Two"}));
    EXPECT_EQ(session->archive.titles(), (QStringList{"One", "Two"}));
    EXPECT_EQ(calls, (QStringList{"stop", "path"}));
}

TEST_F(DropTest, ArchiveListReadsOnlyTheFirstFileOnNoAndIgnoresCdAudio) {
    writeLines("Audio.dat", {"Rock"});
    session->chooser.setText("Rock");
    prompts.answers.push_back(PromptAnswer::No);
    drop->onArchiveList({media("only me.wav"), media("not me.wav")});
    EXPECT_EQ(itemEditor->fields.title, "Only Me");
    EXPECT_EQ(calls, QStringList{"editor"});
    EXPECT_FALSE(QFile::exists(data("aRock.dat")));

    session->chooser.setKind(MediaKind::CdAudio);
    prompts.shown.clear();
    EXPECT_FALSE(drop->onArchiveList({media("x.wav")}).taken);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

}  // namespace
}  // namespace marlo::test
