#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <optional>

#include "platform/archive/AceReader.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

using test::readFile;
using test::testdata;
using test::writeFile;

QString fixture(const QString& name) {
    return testdata(QStringLiteral("archives/ace/") + name);
}

QByteArray md5(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

// member name -> md5, from the md5sum-format file beside a fixture.
QMap<QString, QByteArray> expectedSums(const QString& archive) {
    QMap<QString, QByteArray> sums;
    const QByteArray text = readFile(fixture(archive + QStringLiteral(".md5")));
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype space = line.indexOf("  ");
        if (space > 0) {
            sums.insert(QString::fromUtf8(line.mid(space + 2)), line.left(space));
        }
    }
    return sums;
}

// Every file below `folder`, relative to it.
QStringList filesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.append(QDir(folder).relativeFilePath(it.next()));
    }
    return files;
}

// The plain textbook CRC-32 register, kept apart from the reader's table-driven one.
quint32 aceCrc(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1u) ? 0xEDB88320u : 0u);
        }
    }
    return crc;
}

void putLe(QByteArray& out, quint64 value, int width) {
    for (int i = 0; i < width; ++i) {
        out.append(char((value >> (8 * i)) & 0xFF));
    }
}

// Writes stored ACE archives field by field, the way the format lays them out.
class AceWriter {
  public:
    static constexpr quint16 kMultiVolume = 0x0800;
    static constexpr quint16 kToNext = 0x2000;
    static constexpr quint16 kPassword = 0x4000;

    explicit AceWriter(quint16 mainFlags = 0, int volume = 0) {
        QByteArray body;
        body.append(char(0));  // main header
        putLe(body, mainFlags, 2);
        body.append("**ACE**");
        body.append(char(20));  // version needed
        body.append(char(20));  // made by
        body.append(char(2));   // Win32
        body.append(char(volume));
        putLe(body, 0x5521'7B00u, 4);  // time
        body.append(QByteArray(8, '\0'));
        body.append(char(0));  // no advert
        addHeader(body);
    }

    struct Member {
        Member(QByteArray memberName, QByteArray memberData, quint16 memberFlags = 0)
            : name(std::move(memberName)), data(std::move(memberData)), flags(memberFlags) {}

        QByteArray name;
        QByteArray data;
        quint16 flags = 0;
        quint32 attributes = 0x20;
        quint8 method = 0;
        std::optional<quint32> crc;         // the right one unless set
        std::optional<quint32> packedSize;  // data size unless set
        std::optional<quint32> size;        // unpacked size, data size unless set
    };

    AceWriter& add(const Member& member) {
        QByteArray body;
        body.append(char(1));  // file header
        putLe(body, quint16(member.flags | 0x0001), 2);
        putLe(body, member.packedSize.value_or(quint32(member.data.size())), 4);
        putLe(body, member.size.value_or(quint32(member.data.size())), 4);
        putLe(body, 0x5521'7B00u, 4);
        putLe(body, member.attributes, 4);
        putLe(body, member.crc.value_or(aceCrc(member.data)), 4);
        body.append(char(member.method));
        body.append(char(3));  // quality
        putLe(body, 0x000A, 2);
        putLe(body, 0, 2);
        putLe(body, quint64(member.name.size()), 2);
        body.append(member.name);
        addHeader(body);
        bytes_.append(member.data);
        return *this;
    }
    AceWriter& file(const QByteArray& name, const QByteArray& data) { return add({name, data}); }
    AceWriter& folder(const QByteArray& name) {
        Member member{name, {}};
        member.attributes = 0x10;
        return add(member);
    }

    const QByteArray& bytes() const { return bytes_; }
    QString writeTo(const QString& path) const { return writeFile(path, bytes_); }

  private:
    void addHeader(const QByteArray& body) {
        putLe(bytes_, aceCrc(body) & 0xFFFF, 2);
        putLe(bytes_, quint64(body.size()), 2);
        bytes_.append(body);
    }

    QByteArray bytes_;
};

class AceReaderTest : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

// --- the real archives ---------------------------------------------------------------------

struct FixtureCase {
    const char* archive;
    const char* sums;  // md5 file stem
};

class AceFixtureTest : public ::testing::TestWithParam<FixtureCase> {};

// Lists the archive, extracts every member, and checks each written file against the md5 list;
// every readable member must be on that list, so nothing goes unchecked.
TEST_P(AceFixtureTest, ExtractsEveryMemberWithTheExpectedBytes) {
    const FixtureCase param = GetParam();
    const QString archive = fixture(QString::fromLatin1(param.archive));
    const QMap<QString, QByteArray> sums = expectedSums(QString::fromLatin1(param.sums));
    ASSERT_FALSE(sums.isEmpty());

    const ArchiveListing listing = AceReader::list(archive);
    ASSERT_EQ(listing.status, ArchiveStatus::Ok);
    QStringList listedFiles;
    for (const ArchiveMember& member : listing.members) {
        EXPECT_FALSE(member.name.contains(QLatin1Char('\\'))) << member.name.toStdString();
        if (!member.isFolder) {
            listedFiles.append(member.name);
        }
    }
    for (const QString& name : sums.keys()) {
        EXPECT_TRUE(listedFiles.contains(name)) << "not listed: " << name.toStdString();
    }

    QTemporaryDir out;
    for (const ArchiveMember& member : listing.members) {
        if (member.isFolder) {
            continue;
        }
        SCOPED_TRACE(member.name.toStdString());
        const ExtractResult result = AceReader::extract(archive, member.name, out.path());
        ASSERT_EQ(result.status, ArchiveStatus::Ok);
        EXPECT_EQ(result.writtenPath, QDir(out.path()).filePath(member.name));
        const QByteArray written = readFile(result.writtenPath);
        EXPECT_EQ(written.size(), member.size);
        ASSERT_TRUE(sums.contains(member.name));
        EXPECT_EQ(md5(written), sums.value(member.name));
    }
}

INSTANTIATE_TEST_SUITE_P(
    AceArchives, AceFixtureTest,
    ::testing::Values(FixtureCase{"ALCHT.ACE", "ALCHT.ACE"},      // ACE 1.0, comments
                      FixtureCase{"onefile.ace", "onefile.ace"},  // ACE 1.0, one 38 KB file
                      FixtureCase{"zdir.ace", "zdir.ace"},        // ACE 1.0 solid, empty files
                      FixtureCase{"dir2.ace", "dir2.ace"},        // ACE 2.0: exe, sound, stored
                      FixtureCase{"multivolume.ace", "multivolume.ace"}),  // three volumes
    [](const ::testing::TestParamInfo<FixtureCase>& info) {
        return QString::fromLatin1(info.param.archive)
            .replace(QLatin1Char('.'), QLatin1Char('_'))
            .toStdString();
    });

TEST(AceFixtures, ListsFoldersAndMembersInArchiveOrder) {
    const ArchiveListing listing = AceReader::list(fixture(QStringLiteral("zdir.ace")));
    ASSERT_EQ(listing.status, ArchiveStatus::Ok);
    QStringList folders;
    for (const ArchiveMember& member : listing.members) {
        if (member.isFolder) {
            folders.append(member.name);
        }
    }
    QStringList expected;
    for (const QByteArray& line : readFile(fixture(QStringLiteral("zdir.ace.dirs"))).split('\n')) {
        if (!line.isEmpty()) {
            expected.append(QString::fromUtf8(line));
        }
    }
    EXPECT_EQ(folders, expected);
    ASSERT_EQ(listing.members.size(), 30);  // 10 folders, 20 files
    EXPECT_EQ(listing.members[10].name, QStringLiteral("zman/man1/xx/emptyfile"));
    EXPECT_EQ(listing.members[10].size, 0);
    EXPECT_EQ(listing.members[11].name, QStringLiteral("zman/man1/chattr.1"));
    EXPECT_EQ(listing.members[11].size, 9148);
    EXPECT_EQ(listing.members.last().name, QStringLiteral("zman/man1/xx/mmmmmm/fsckme.flg"));
}

TEST(AceFixtures, ListsTheMembersOfEveryVolume) {
    const ArchiveListing listing = AceReader::list(fixture(QStringLiteral("multivolume.ace")));
    ASSERT_EQ(listing.status, ArchiveStatus::Ok);
    // 37 members start in the first volume, 16 in the second and 25 in the third; the two that
    // run on into the next volume are listed once.
    EXPECT_EQ(listing.members.size(), 1 + 36 + 16 + 25);
    EXPECT_EQ(std::count_if(listing.members.begin(), listing.members.end(),
                            [](const ArchiveMember& m) {
                                return m.name == QStringLiteral("aclocal/libtool.m4");
                            }),
              1);
    EXPECT_EQ(listing.members.last().name, QStringLiteral("aclocal/yad.m4"));
}

TEST(AceFixtures, DecodesTheArchiveComment) {
    EXPECT_EQ(AceReader::list(fixture(QStringLiteral("ALCHT.ACE"))).comment,
              QStringLiteral("main comment"));
    EXPECT_TRUE(AceReader::list(fixture(QStringLiteral("onefile.ace"))).comment.isEmpty());
}

TEST(AceFixtures, ReadsStoredMembersOfAce20Archives) {
    struct Case {
        const char* archive;
        const char* member;
    };
    for (const Case& c : {Case{"ace_plain.ace", "ace.txt"}, Case{"patool_t.ace", "t/t.txt"},
                          Case{"ace_nested2.ace", "derp/b00/ace.txt"}}) {
        SCOPED_TRACE(c.archive);
        const QString archive = fixture(QString::fromLatin1(c.archive));
        QByteArray content;
        ASSERT_EQ(AceReader::read(archive, QString::fromLatin1(c.member), content),
                  ArchiveStatus::Ok);
        // The stored member is the archive's last data: its bytes end the file.
        EXPECT_FALSE(content.isEmpty());
        EXPECT_TRUE(readFile(archive).endsWith(content));
    }
}

TEST(AceFixtures, ReportsEncryptedMembersWithoutWritingAnything) {
    for (const char* name : {"passwd.ace", "passwd2.ace"}) {
        SCOPED_TRACE(name);
        const QString archive = fixture(QString::fromLatin1(name));
        const ArchiveListing listing = AceReader::list(archive);
        ASSERT_EQ(listing.status, ArchiveStatus::Ok);
        ASSERT_EQ(listing.members.size(), 1);
        EXPECT_TRUE(listing.members[0].encrypted);
        EXPECT_EQ(listing.members[0].size, 15859);

        QByteArray content = "stale";
        EXPECT_EQ(AceReader::read(archive, listing.members[0].name, content),
                  ArchiveStatus::Encrypted);
        EXPECT_TRUE(content.isEmpty());
        QTemporaryDir out;
        EXPECT_EQ(AceReader::extract(archive, listing.members[0].name, out.path()).status,
                  ArchiveStatus::Encrypted);
        EXPECT_TRUE(filesBelow(out.path()).isEmpty());
    }
}

TEST(AceFixtures, MemberRunningIntoAMissingVolumeCannotBeOpened) {
    QTemporaryDir dir;
    const QString lone = dir.filePath(QStringLiteral("multivolume.ace"));
    ASSERT_TRUE(QFile::copy(fixture(QStringLiteral("multivolume.ace")), lone));

    const ArchiveListing listing = AceReader::list(lone);
    ASSERT_EQ(listing.status, ArchiveStatus::Ok);
    EXPECT_EQ(listing.members.size(), 37);
    QByteArray content;
    EXPECT_EQ(AceReader::read(lone, QStringLiteral("aclocal/libtool.m4"), content),
              ArchiveStatus::CannotOpen);
    // Members wholly inside the volume are still there.
    ASSERT_EQ(AceReader::read(lone, QStringLiteral("aclocal/lcmessage.m4"), content),
              ArchiveStatus::Ok);
    EXPECT_EQ(md5(content),
              expectedSums(QStringLiteral("multivolume.ace")).value("aclocal/lcmessage.m4"));
}

// --- archives the tests write ----------------------------------------------------------------

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
