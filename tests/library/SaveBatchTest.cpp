#include <QRegularExpression>

#include "library/OpenKind.h"
#include "library/SaveItem.h"
#include "tests/library/LibraryFixture.h"

namespace marlo {
namespace {

// Many saves in one batch, against a clock the test moves.
class SaveBatchTest : public test::LibraryFixture {
  protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        itemEditor.reset();
        session = std::make_unique<LibrarySession>(folder.data(), prompts, [this] { return now; });
        itemEditor = std::make_unique<ItemEditor>(*session);
        session->chooser.setText("Rock");
    }
    void save(const QString& title) {
        itemEditor->fields.title = title;
        itemEditor->fields.path = "/m/" + title + ".wav";
        ASSERT_EQ(SaveItem(*itemEditor).run().result, SaveItem::Result::Saved);
    }
    qint64 now = 1'000'000;
};

TEST_F(SaveBatchTest, BatchWritesOnceAtTheEndAndReadsSeeItsRecordsMeanwhile) {
    {
        SaveBatch batch(session->writer);
        save("One");
        save("Two");
        save("Three");
        EXPECT_FALSE(QFile::exists(data("Marlo.zip")));
        EXPECT_FALSE(QFile::exists(data("aRock.dat")));
        EXPECT_EQ(session->store.ReadItem(MediaKind::Audio, "Two").path, "/m/Two.wav");
        EXPECT_EQ(session->archive.count(), 3);
    }  // the batch ends with its scope
    EXPECT_EQ(membersOnDisk(), (QStringList{"a_One", "a_Three", "a_Two"}));
    EXPECT_EQ(linesOf("aRock.dat"), (QStringList{"One", "Two", "Three"}));

    // Outside a batch each save is on disk at once.
    save("Four");
    EXPECT_EQ(membersOnDisk().size(), 4);
    EXPECT_EQ(linesOf("aRock.dat").size(), 4);
}

TEST_F(SaveBatchTest, LongBatchWritesWheneverTheIntervalHasPassed) {
    SaveBatch batch(session->writer);
    save("One");
    now += LibraryWriter::kDefaultFlushIntervalMs - 1;
    save("Two");
    EXPECT_FALSE(QFile::exists(data("Marlo.zip")));

    now += 1;
    save("Three");  // the interval is over: everything so far is written
    EXPECT_EQ(membersOnDisk(), (QStringList{"a_One", "a_Three", "a_Two"}));
    EXPECT_EQ(linesOf("aRock.dat"), (QStringList{"One", "Two", "Three"}));

    save("Four");  // the interval starts again from that write
    EXPECT_EQ(membersOnDisk().size(), 3);
    EXPECT_TRUE(batch.finish());
    EXPECT_EQ(membersOnDisk().size(), 4);
    EXPECT_EQ(linesOf("aRock.dat").size(), 4);
}

TEST_F(SaveBatchTest, CollectionLinesNeverRunAheadOfTheirRecords) {
    QDir().mkpath(data("Marlo.zip"));  // the store cannot be written
    {
        SaveBatch batch(session->writer);
        save("One");
        save("Two");
        EXPECT_FALSE(batch.finish());
    }
    EXPECT_FALSE(QFile::exists(data("aRock.dat")));
    const QStringList told = prompts.messageTexts().filter(QRegularExpression("^Schreibfehler\n"));
    EXPECT_EQ(told.size(), 1);
}

}  // namespace
}  // namespace marlo
