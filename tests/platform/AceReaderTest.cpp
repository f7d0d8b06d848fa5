#include "tests/platform/AceTestTools.h"

namespace marlo {
namespace {

using namespace acetest;

TEST_F(AceReaderTest, ListsAndReadsAStoredArchive) {
    const QString archive = AceWriter()
                                .folder("music")
                                .file("music\\Song.mod", QByteArray("M.K.\x01\x02", 6))
                                .file("music\\empty.txt", {})
                                .file("readme.txt", "hello ACE")
                                .writeTo(path(QStringLiteral("built.ace")));

    const ArchiveListing listing = AceReader::list(archive);
    ASSERT_EQ(listing.status, ArchiveStatus::Ok);
    ASSERT_EQ(listing.members.size(), 4);
    EXPECT_EQ(listing.members[0].name, QStringLiteral("music"));
    EXPECT_TRUE(listing.members[0].isFolder);
    EXPECT_EQ(listing.members[1].name, QStringLiteral("music/Song.mod"));
    EXPECT_EQ(listing.members[1].size, 6);
    EXPECT_FALSE(listing.members[1].isFolder);
    EXPECT_FALSE(listing.members[1].encrypted);
    EXPECT_EQ(listing.members[2].size, 0);
    EXPECT_EQ(listing.members[3].name, QStringLiteral("readme.txt"));

    QByteArray content;
    ASSERT_EQ(AceReader::read(archive, QStringLiteral("music/Song.mod"), content),
              ArchiveStatus::Ok);
    EXPECT_EQ(content, QByteArray("M.K.\x01\x02", 6));
    ASSERT_EQ(AceReader::read(archive, QStringLiteral("readme.txt"), content), ArchiveStatus::Ok);
    EXPECT_EQ(content, QByteArray("hello ACE"));
    ASSERT_EQ(AceReader::read(archive, QStringLiteral("music/empty.txt"), content),
              ArchiveStatus::Ok);
    EXPECT_TRUE(content.isEmpty());
}

TEST_F(AceReaderTest, MatchesMemberNamesExactly) {
    const QString archive = AceWriter()
                                .file("Track.mid", "upper")
                                .file("track.mid", "lower")
                                .file("dir\\a.txt", "nested")
                                .writeTo(path(QStringLiteral("case.ace")));
    struct Case {
        const char* name;
        ArchiveStatus status;
        const char* content;
    };
    for (const Case& c : {Case{"Track.mid", ArchiveStatus::Ok, "upper"},
                          Case{"track.mid", ArchiveStatus::Ok, "lower"},
                          Case{"TRACK.MID", ArchiveStatus::MemberNotFound, ""},
                          Case{"Track.mid ", ArchiveStatus::MemberNotFound, ""},
                          Case{"dir/a.txt", ArchiveStatus::Ok, "nested"},
                          Case{"dir\\a.txt", ArchiveStatus::MemberNotFound, ""},
                          Case{"a.txt", ArchiveStatus::MemberNotFound, ""}}) {
        SCOPED_TRACE(c.name);
        QByteArray content;
        EXPECT_EQ(AceReader::read(archive, QString::fromLatin1(c.name), content), c.status);
        EXPECT_EQ(content, QByteArray(c.content));
    }
}

TEST_F(AceReaderTest, ExtractCreatesSubfoldersAndReplacesOldFiles) {
    const QString archive = AceWriter()
                                .file("a\\b\\c.txt", "deep")
                                .folder("a\\empty")
                                .writeTo(path(QStringLiteral("tree.ace")));
    const QString out = path(QStringLiteral("out"));
    writeFile(out + QStringLiteral("/a/b/c.txt"), "old content that is longer");

    const ExtractResult file = AceReader::extract(archive, QStringLiteral("a/b/c.txt"), out);
    ASSERT_EQ(file.status, ArchiveStatus::Ok);
    EXPECT_EQ(file.writtenPath, out + QStringLiteral("/a/b/c.txt"));
    EXPECT_EQ(readFile(file.writtenPath), QByteArray("deep"));

    const ExtractResult folder = AceReader::extract(archive, QStringLiteral("a/empty"), out);
    ASSERT_EQ(folder.status, ArchiveStatus::Ok);
    EXPECT_TRUE(QFileInfo(out + QStringLiteral("/a/empty")).isDir());
    EXPECT_EQ(filesBelow(out), QStringList{QStringLiteral("a/b/c.txt")});
}

TEST_F(AceReaderTest, FailedWriteLeavesNoFoldersBehind) {
    // A file name longer than any file system allows: the folders get made, the write fails.
    const QByteArray longName = QByteArray("new\\sub\\") + QByteArray(300, 'n');
    const QString archive =
        AceWriter().file(longName, "data").writeTo(path(QStringLiteral("long.ace")));
    const QString out = path(QStringLiteral("out"));
    QDir().mkpath(out);
    const ExtractResult result =
        AceReader::extract(archive, QString::fromLatin1(longName).replace('\\', '/'), out);
    EXPECT_EQ(result.status, ArchiveStatus::WriteFailed);
    EXPECT_TRUE(QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(AceReaderTest, ReportsDamageInHeadersAndData) {
    const QByteArray good = AceWriter().file("x.txt", "payload").bytes();

    QByteArray badHeader = good;
    badHeader[badHeader.size() - 12] = 'X';  // inside the file header's name
    QByteArray content;
    EXPECT_EQ(AceReader::list(writeFile(path(QStringLiteral("h.ace")), badHeader)).status,
              ArchiveStatus::Damaged);
    EXPECT_EQ(AceReader::read(path(QStringLiteral("h.ace")), QStringLiteral("x.txt"), content),
              ArchiveStatus::Damaged);

    QByteArray badData = good;
    badData[badData.size() - 1] = '!';
    const QString dataPath = writeFile(path(QStringLiteral("d.ace")), badData);
    EXPECT_EQ(AceReader::list(dataPath).status, ArchiveStatus::Ok);  // headers are fine
    EXPECT_EQ(AceReader::read(dataPath, QStringLiteral("x.txt"), content), ArchiveStatus::Damaged);
    EXPECT_TRUE(content.isEmpty());
    // Nothing is left behind by a failed extraction, not even the folder part.
    const QString out = path(QStringLiteral("out"));
    EXPECT_EQ(AceReader::extract(dataPath, QStringLiteral("x.txt"), out).status,
              ArchiveStatus::Damaged);
    EXPECT_FALSE(QFileInfo::exists(out));

    AceWriter::Member member{"x.txt", "payload"};
    member.packedSize = 1000;  // runs past the end of the file
    EXPECT_EQ(
        AceReader::list(AceWriter().add(member).writeTo(path(QStringLiteral("p.ace")))).status,
        ArchiveStatus::Damaged);
}

TEST_F(AceReaderTest, ReportsWhatItCannotUnpack) {
    AceWriter::Member locked{"locked.txt", "secret"};
    locked.flags = AceWriter::kPassword;
    AceWriter::Member odd{"odd.bin", "????"};
    odd.method = 7;
    const QString archive = AceWriter()
                                .add(locked)
                                .add(odd)
                                .file("open.txt", "fine")
                                .writeTo(path(QStringLiteral("mixed.ace")));

    const ArchiveListing listing = AceReader::list(archive);
    ASSERT_EQ(listing.status, ArchiveStatus::Ok);
    EXPECT_TRUE(listing.members[0].encrypted);
    EXPECT_FALSE(listing.members[1].encrypted);
    QByteArray content;
    EXPECT_EQ(AceReader::read(archive, QStringLiteral("locked.txt"), content),
              ArchiveStatus::Encrypted);
    EXPECT_EQ(AceReader::read(archive, QStringLiteral("odd.bin"), content),
              ArchiveStatus::Unsupported);
    EXPECT_EQ(AceReader::read(archive, QStringLiteral("open.txt"), content), ArchiveStatus::Ok);
}

TEST_F(AceReaderTest, JoinsAMemberSplitOverVolumes) {
    const QByteArray whole = "first half|second half";
    AceWriter::Member head{"split.txt", whole.left(11), AceWriter::kToNext};
    head.crc = aceCrc(whole);
    head.size = quint32(whole.size());
    AceWriter::Member tail{"split.txt", whole.mid(11), 0x1000};  // continued from before
    tail.crc = aceCrc(whole);
    tail.size = quint32(whole.size());
    AceWriter(AceWriter::kMultiVolume, 0).add(head).writeTo(path(QStringLiteral("set.ace")));
    AceWriter(AceWriter::kMultiVolume, 1)
        .add(tail)
        .file("after.txt", "last")
        .writeTo(path(QStringLiteral("set.c00")));

    const ArchiveListing listing = AceReader::list(path(QStringLiteral("set.ace")));
    ASSERT_EQ(listing.status, ArchiveStatus::Ok);
    ASSERT_EQ(listing.members.size(), 2);
    EXPECT_EQ(listing.members[0].name, QStringLiteral("split.txt"));
    EXPECT_EQ(listing.members[1].name, QStringLiteral("after.txt"));
    QByteArray content;
    ASSERT_EQ(
        AceReader::read(path(QStringLiteral("set.ace")), QStringLiteral("split.txt"), content),
        ArchiveStatus::Ok);
    EXPECT_EQ(content, whole);
    ASSERT_EQ(
        AceReader::read(path(QStringLiteral("set.ace")), QStringLiteral("after.txt"), content),
        ArchiveStatus::Ok);
    EXPECT_EQ(content, QByteArray("last"));

    // A volume with the wrong number is not part of the set.
    AceWriter(AceWriter::kMultiVolume, 5).add(tail).writeTo(path(QStringLiteral("set.c00")));
    EXPECT_EQ(
        AceReader::read(path(QStringLiteral("set.ace")), QStringLiteral("split.txt"), content),
        ArchiveStatus::CannotOpen);
}

TEST_F(AceReaderTest, ReportsMissingAndForeignFiles) {
    QByteArray content;
    EXPECT_EQ(AceReader::list(path(QStringLiteral("nothing.ace"))).status,
              ArchiveStatus::CannotOpen);
    EXPECT_EQ(AceReader::read(path(QStringLiteral("nothing.ace")), QStringLiteral("a"), content),
              ArchiveStatus::CannotOpen);
    const QString text = writeFile(path(QStringLiteral("text.ace")), "just some text\n");
    EXPECT_EQ(AceReader::list(text).status, ArchiveStatus::NotAnArchive);
    EXPECT_EQ(AceReader::list(writeFile(path(QStringLiteral("empty.ace")), {})).status,
              ArchiveStatus::NotAnArchive);
    const QString archive = AceWriter().file("a.txt", "a").writeTo(path(QStringLiteral("a.ace")));
    EXPECT_EQ(
        AceReader::extract(archive, QStringLiteral("b.txt"), path(QStringLiteral("o"))).status,
        ArchiveStatus::MemberNotFound);
}

TEST_F(AceReaderTest, FindsTheArchiveBehindASelfExtractor) {
    const QByteArray stub = QByteArray("MZ") + QByteArray(3000, '\x90');
    const QString archive = writeFile(path(QStringLiteral("sfx.exe")),
                                      stub + AceWriter().file("in.txt", "inside").bytes());
    QByteArray content;
    ASSERT_EQ(AceReader::read(archive, QStringLiteral("in.txt"), content), ArchiveStatus::Ok);
    EXPECT_EQ(content, QByteArray("inside"));
}

// --- hostile input ---------------------------------------------------------------------------

TEST(AceHostile, RefusesTraversalFixturesAndWritesNothing) {
    QTemporaryDir base;
    const QString out = base.filePath(QStringLiteral("a/b/c/out"));
    QDir().mkpath(out);
    const bool tmpTargetExisted = QFileInfo::exists(QStringLiteral("/tmp/unace-dir-traversal"));
    for (const char* name : {"dirtraversal1.ace", "dirtraversal2.ace"}) {
        SCOPED_TRACE(name);
        const QString archive = fixture(QString::fromLatin1(name));
        const ArchiveListing listing = AceReader::list(archive);
        ASSERT_FALSE(listing.members.isEmpty());
        const QString member = listing.members[0].name;
        EXPECT_TRUE(member.contains(QStringLiteral("tmp/unace-dir-traversal")));
        const ExtractResult result = AceReader::extract(archive, member, out);
        EXPECT_EQ(result.status, ArchiveStatus::UnsafeName);
        EXPECT_TRUE(result.writtenPath.isEmpty());
    }
    EXPECT_TRUE(filesBelow(base.path()).isEmpty());
    if (!tmpTargetExisted) {
        EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/unace-dir-traversal")));
    }
}

TEST_F(AceReaderTest, RefusesNamesThatLeaveTheFolder) {
    const QStringList unsafe = {QStringLiteral("../up.txt"),   QStringLiteral("a/../../up.txt"),
                                QStringLiteral("/abs.txt"),    QStringLiteral("C:/win.txt"),
                                QStringLiteral("c:drive.txt"), QStringLiteral("a/.."),
                                QStringLiteral(".."),          QStringLiteral("")};
    AceWriter writer;
    for (const QString& name : unsafe) {
        writer.file(name.toUtf8().replace('/', '\\'), "escape");
    }
    const QString archive = writer.writeTo(path(QStringLiteral("evil.ace")));
    const QString out = path(QStringLiteral("deep/inside"));
    for (const QString& name : unsafe) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(AceReader::extract(archive, name, out).status, ArchiveStatus::UnsafeName);
    }
    EXPECT_TRUE(filesBelow(dir_.path()).filter(QStringLiteral("up.txt")).isEmpty());
    EXPECT_EQ(filesBelow(dir_.path()), QStringList{QStringLiteral("evil.ace")});
}

TEST_F(AceReaderTest, DoesNotFollowALinkOutOfTheFolder) {
    const QString archive =
        AceWriter().file("link\\x.txt", "x").writeTo(path(QStringLiteral("l.ace")));
    const QString out = path(QStringLiteral("out"));
    const QString elsewhere = path(QStringLiteral("elsewhere"));
    QDir().mkpath(out);
    QDir().mkpath(elsewhere);
    ASSERT_TRUE(QFile::link(elsewhere, out + QStringLiteral("/link")));
    EXPECT_EQ(AceReader::extract(archive, QStringLiteral("link/x.txt"), out).status,
              ArchiveStatus::UnsafeName);
    EXPECT_TRUE(filesBelow(elsewhere).isEmpty());
}

TEST(AceHostile, OutOfBoundsFixtureIsDamaged) {
    const QString archive = fixture(QStringLiteral("out_of_bounds.ace"));
    EXPECT_EQ(AceReader::list(archive).status, ArchiveStatus::Damaged);
    QByteArray content;
    EXPECT_EQ(AceReader::read(archive, QString(), content), ArchiveStatus::Damaged);
}

// Cuts real archives at many places: every member must then read correctly or report a
// failure, never crash, hang or give wrong bytes.
TEST(AceHostile, SurvivesTruncationAtManyOffsets) {
    QTemporaryDir dir;
    for (const char* name : {"dir2.ace", "onefile.ace", "ALCHT.ACE"}) {
        SCOPED_TRACE(name);
        const QByteArray whole = readFile(fixture(QString::fromLatin1(name)));
        const QMap<QString, QByteArray> sums = expectedSums(QString::fromLatin1(name));
        const QString cut = dir.filePath(QStringLiteral("cut.ace"));
        int damaged = 0;
        for (qsizetype size = 0; size < whole.size(); size += size < 300 ? 1 : 997) {
            writeFile(cut, whole.left(size));
            const ArchiveListing listing = AceReader::list(cut);
            damaged += listing.status == ArchiveStatus::Damaged;
            for (const ArchiveMember& member : listing.members) {
                QByteArray content;
                const ArchiveStatus status = AceReader::read(cut, member.name, content);
                if (status == ArchiveStatus::Ok && !member.isFolder) {
                    EXPECT_EQ(md5(content), sums.value(member.name)) << size;
                }
            }
        }
        EXPECT_GT(damaged, 0);
    }
}

TEST(AceHostile, SurvivesRandomBytesAndFlippedBits) {
    QTemporaryDir dir;
    QRandomGenerator random(20240607);
    const QString file = dir.filePath(QStringLiteral("noise.ace"));
    const QByteArray header = readFile(fixture(QStringLiteral("dir2.ace"))).left(53);
    const QList<QByteArray> seeds = {readFile(fixture(QStringLiteral("dir2.ace"))),
                                     readFile(fixture(QStringLiteral("onefile.ace")))};
    int rejected = 0;
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes;
        if (round < 100) {
            // Pure noise, half of it behind a valid main header so the parsers go deeper.
            bytes.resize(qsizetype(random.bounded(1, 4096)));
            for (char& c : bytes) {
                c = char(random.bounded(256));
            }
            if (round % 2) {
                bytes.prepend(header);
            }
        } else {
            bytes = seeds[round % 2];
            for (int flips = 0; flips < 1 + round % 8; ++flips) {
                const qsizetype at = random.bounded(qsizetype(bytes.size()));
                bytes[at] = char(bytes[at] ^ (1 << random.bounded(8)));
            }
        }
        writeFile(file, bytes);
        const ArchiveListing listing = AceReader::list(file);
        for (const ArchiveMember& member : listing.members.mid(0, 6)) {
            QByteArray content;
            const ArchiveStatus status = AceReader::read(file, member.name, content);
            rejected += status != ArchiveStatus::Ok;
            EXPECT_LE(content.size(), qMax<qint64>(member.size, 0));
        }
        rejected += listing.status != ArchiveStatus::Ok;
    }
    EXPECT_GT(rejected, 0);
}

}  // namespace
}  // namespace marlo
