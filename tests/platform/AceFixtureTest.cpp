#include "tests/platform/AceTestTools.h"

namespace marlo {
namespace {

using namespace acetest;

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

}  // namespace
}  // namespace marlo
