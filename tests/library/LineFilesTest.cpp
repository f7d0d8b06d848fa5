#include "library/CollectionFile.h"
#include "library/KindListFile.h"
#include "library/LineFile.h"
#include "tests/library/LibraryFixture.h"

namespace marlo {
namespace {

class LineFilesTest : public test::LibraryFixture {
  protected:
    QString scratch() const { return data("Write.dat"); }
};

TEST_F(LineFilesTest, RemoveLineComparesAsToldAndKeepsOtherLinesByteForByte) {
    // A Windows-1252 line, a line with a trailing blank and a last line without CR LF.
    const QByteArray original = "Rock\r\nM\xe4rz \r\nrock\r\nROCK\r\nJazz";
    test::writeFile(data("Audio.dat"), original);

    ASSERT_TRUE(RemoveLine(data("Audio.dat"), "Rock", LineMatch::CaseSensitive, scratch()));
    EXPECT_EQ(test::readFile(data("Audio.dat")), "M\xe4rz \r\nrock\r\nROCK\r\nJazz\r\n");
    ASSERT_TRUE(RemoveLine(data("Audio.dat"), "rOcK", LineMatch::CaseInsensitive, scratch()));
    EXPECT_EQ(test::readFile(data("Audio.dat")), "M\xe4rz \r\nJazz\r\n");
    ASSERT_TRUE(RemoveLine(data("Audio.dat"), QString::fromUtf8("März "), LineMatch::CaseSensitive,
                           scratch()));
    EXPECT_EQ(test::readFile(data("Audio.dat")), "Jazz\r\n");
    EXPECT_FALSE(QFile::exists(scratch()));
}

TEST_F(LineFilesTest, RemoveLineOnAMissingFileFailsAndWritesNothing) {
    // A scratch file left by a crash is no reason to fail or to be taken for the content.
    test::writeFile(scratch(), "stale");
    EXPECT_FALSE(RemoveLine(data("aGone.dat"), "x", LineMatch::CaseInsensitive, scratch()));
    EXPECT_FALSE(QFile::exists(data("aGone.dat")));

    test::writeFile(data("aRock.dat"), "a\r\nb\r\n");
    ASSERT_TRUE(RemoveLine(data("aRock.dat"), "a", LineMatch::CaseInsensitive, scratch()));
    EXPECT_EQ(test::readFile(data("aRock.dat")), "b\r\n");
    EXPECT_FALSE(QFile::exists(scratch()));
}

TEST_F(LineFilesTest, AppendNeverJoinsALastLineWithoutItsEnd) {
    test::writeFile(data("aRock.dat"), "First");
    const CollectionFile file(data("aRock.dat"));
    ASSERT_TRUE(file.append("Second"));
    ASSERT_TRUE(file.appendAll({"Third", "Fourth"}));
    EXPECT_EQ(test::readFile(data("aRock.dat")), "First\r\nSecond\r\nThird\r\nFourth\r\n");

    const CollectionFile fresh(data("aNew.dat"));
    ASSERT_TRUE(fresh.append("Only"));
    QStringList titles;
    ASSERT_TRUE(fresh.read(titles));
    EXPECT_EQ(titles, QStringList{"Only"});
    EXPECT_FALSE(CollectionFile(data("aMissing.dat")).read(titles));
    EXPECT_TRUE(titles.isEmpty());
}

TEST_F(LineFilesTest, KindListFindsAutoCollectionInAnyCaseButOtherNamesExactly) {
    const KindListFile list(data("Audio.dat"));
    ASSERT_TRUE(list.append("Rock"));
    ASSERT_TRUE(list.append("AUTO COLLECTION"));
    QStringList names;
    ASSERT_TRUE(list.read(names));
    EXPECT_EQ(KindListFile::findAutoCollection(names), 1);
    EXPECT_EQ(KindListFile::findAutoCollection({"Rock"}), -1);
    EXPECT_TRUE(list.contains("Rock"));
    EXPECT_FALSE(list.contains("rock"));

    ASSERT_TRUE(list.remove("rock", scratch()));  // no such line in this letter case
    ASSERT_TRUE(list.read(names));
    EXPECT_EQ(names, (QStringList{"Rock", "AUTO COLLECTION"}));
    ASSERT_TRUE(list.remove("Rock", scratch()));
    ASSERT_TRUE(list.read(names));
    EXPECT_EQ(names, QStringList{"AUTO COLLECTION"});
}

TEST_F(LineFilesTest, CollectionNamesCannotLeadOutOfTheDataFolder) {
    const LibraryPaths paths(folder.data());
    EXPECT_EQ(paths.collection(MediaKind::Audio, "Rock"), data("aRock.dat"));
    EXPECT_EQ(paths.collection(MediaKind::Video, "Rock"), data("vRock.dat"));
    EXPECT_EQ(paths.collection(MediaKind::Audio, "../../etc/x"), "");
    EXPECT_EQ(paths.collection(MediaKind::Audio, ""), "");
    EXPECT_EQ(paths.collection(MediaKind::CdAudio, "Rock"), "");
}

}  // namespace
}  // namespace marlo
