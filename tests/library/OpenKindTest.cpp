#include "library/OpenKind.h"

#include "tests/library/LibraryFixture.h"

namespace marlo {
namespace {

class OpenKindTest : public test::LibraryFixture {
  protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        writeLines("Audio.dat", {"Rock", "Jazz", "Pop"});
        writeLines("aRock.dat", {"zebra", "Apple", "mango"});
        writeLines("aJazz.dat", {"Blue"});
        writeLines("aPop.dat", {"Hit"});
    }
    OpenKind::Outcome open(CollectionSelection selection, MediaKind kind = MediaKind::Audio) {
        return OpenKind(*session).run(kind, selection);
    }
    CollectionChooser& chooser() { return session->chooser; }
};

TEST_F(OpenKindTest, StartOpensTheRememberedOrFirstCollectionSorted) {
    const auto outcome = open(CollectionSelection::Start);
    EXPECT_EQ(chooser().entries(), (QStringList{"Rock", "Jazz", "Pop"}));
    EXPECT_EQ(chooser().text(), "Rock");
    EXPECT_EQ(session->archive.titles(), (QStringList{"Apple", "mango", "zebra"}));
    EXPECT_EQ(outcome.archiveCount, 3);
    EXPECT_FALSE(outcome.startPlayback);

    chooser().rememberedIndex = 2;
    open(CollectionSelection::Start);
    EXPECT_EQ(chooser().text(), "Pop");
    EXPECT_EQ(session->archive.titles(), QStringList{"Hit"});  // refilled, not added to
}

TEST_F(OpenKindTest, IndexFromTheConfigurationPlaysTheWholeCollectionOnce) {
    chooser().rememberedIndex = 1;
    chooser().rememberedFromConfiguration = true;
    const auto outcome = open(CollectionSelection::Start);
    EXPECT_TRUE(outcome.startPlayback);
    EXPECT_EQ(chooser().text(), "Jazz");
    EXPECT_EQ(session->playback.titles(), QStringList{"Blue"});
    EXPECT_EQ(outcome.archiveCount, 0);
    EXPECT_EQ(outcome.playbackCount, 1);
    EXPECT_FALSE(chooser().rememberedIndex.has_value());

    session->playback.clear();
    EXPECT_FALSE(open(CollectionSelection::Start).startPlayback);
}

TEST_F(OpenKindTest, AfterDeleteAtTheEndOpensTheEntryBefore) {
    // "Pop", the last of four, was deleted: the remembered index now equals the count.
    chooser().rememberedIndex = 3;
    open(CollectionSelection::AfterDelete);
    EXPECT_EQ(chooser().text(), "Pop");
    EXPECT_EQ(chooser().rememberedIndex, 2);

    // In the middle the same index names the next collection.
    chooser().rememberedIndex = 1;
    chooser().reloadEntries = true;
    open(CollectionSelection::AfterDelete);
    EXPECT_EQ(chooser().text(), "Jazz");
    EXPECT_EQ(chooser().rememberedIndex, 1);

    // The last collection of the kind is gone.
    writeLines("Audio.dat", {});
    chooser().reloadEntries = true;
    chooser().rememberedIndex = 0;
    const auto outcome = open(CollectionSelection::AfterDelete);
    EXPECT_TRUE(chooser().entries().isEmpty());
    EXPECT_EQ(chooser().text(), "");
    EXPECT_EQ(outcome.archiveCount, 0);
}

TEST_F(OpenKindTest, CurrentOpensTheChoosersTextAndKeepsEntriesUntilReloadIsAsked) {
    open(CollectionSelection::Start);
    writeLines("Audio.dat", {"Rock", "Jazz", "Pop", "New"});
    chooser().setText("Jazz");
    open(CollectionSelection::Current);
    EXPECT_EQ(session->archive.titles(), QStringList{"Blue"});
    EXPECT_EQ(chooser().entries().size(), 3);  // the kind list is read once per kind switch

    chooser().reloadEntries = true;
    open(CollectionSelection::Current);
    EXPECT_EQ(chooser().entries(), (QStringList{"Rock", "Jazz", "Pop", "New"}));

    // Switching kinds always reads that kind's list.
    writeLines("Video.dat", {"Films"});
    open(CollectionSelection::Start, MediaKind::Video);
    EXPECT_EQ(chooser().entries(), QStringList{"Films"});
}

TEST_F(OpenKindTest, MissingFilesEndTheLoadingQuietly) {
    // Collection file missing: the chooser is filled, the archive list stays empty.
    chooser().rememberedIndex = 0;
    QFile::remove(data("aRock.dat"));
    session->playback.append("Kept");
    auto outcome = open(CollectionSelection::Start);
    EXPECT_EQ(chooser().text(), "Rock");
    EXPECT_EQ(outcome.archiveCount, 0);
    EXPECT_EQ(outcome.playbackCount, 1);

    // Kind list missing: nothing is chosen, yet counts come back and the start still plays.
    QFile::remove(data("Audio.dat"));
    chooser().reloadEntries = true;
    chooser().rememberedFromConfiguration = true;
    chooser().setText({});
    outcome = open(CollectionSelection::Start);
    EXPECT_TRUE(chooser().entries().isEmpty());
    EXPECT_EQ(session->archive.count(), 0);
    EXPECT_TRUE(outcome.startPlayback);
    EXPECT_EQ(outcome.playbackCount, 1);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(OpenKindTest, CdAudioHasNoLibraryFiles) {
    open(CollectionSelection::Start);
    const auto outcome = open(CollectionSelection::Start, MediaKind::CdAudio);
    EXPECT_TRUE(outcome.cdAudio);
    EXPECT_EQ(outcome.archiveCount, 0);
    EXPECT_EQ(outcome.playbackCount, 0);
    EXPECT_EQ(session->kind(), MediaKind::CdAudio);
}

}  // namespace
}  // namespace marlo
