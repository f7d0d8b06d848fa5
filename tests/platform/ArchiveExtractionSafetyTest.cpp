#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/archive/LibArchiveReader.h"
#include "platform/archive/MemberPath.h"
#include "tests/platform/ArchiveTestTools.h"
#include "tests/support/TestFolders.h"

using namespace marlo;
using namespace marlo::test;

TEST(MemberPath, SafeNames) {
    const struct {
        const char* name;
        bool safe;
    } cases[] = {
        {"song.mp3", true},
        {"a/b/song.mp3", true},
        {"sub/./song.mp3", true},
        {"folder/", true},
        {"..song.mp3", true},
        {"song..mp3", true},
        {"a/..b/c", true},
        {"", false},
        {".", false},
        {"./", false},
        {"..", false},
        {"../song.mp3", false},
        {"a/../../song.mp3", false},
        {"a/b/..", false},
        {"/etc/passwd", false},
        {"//server/x", false},
        {"C:/Windows/x.dll", false},
        {"c:song.mp3", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isSafeMemberName(QString::fromUtf8(c.name)), c.safe) << c.name;
    }
    EXPECT_FALSE(isSafeMemberName(QStringLiteral("a") + QChar(0) + QStringLiteral("b")));
    // Names from Windows archives are normalised before the check.
    EXPECT_FALSE(isSafeMemberName(memberNameFromBytes("..\\..\\x.txt")));
    EXPECT_FALSE(isSafeMemberName(memberNameFromBytes("C:\\x.txt")));
}

namespace {

// A sandbox with the target folder two levels down, so a name that climbs out lands in it.
struct Sandbox {
    QTemporaryDir root;
    QString target = root.path() + QStringLiteral("/out/in");
    QString outside = root.path() + QStringLiteral("/outside");
    Sandbox() {
        QDir().mkpath(target);
        QDir().mkpath(outside);
    }
    QString zip(const QList<ZipMember>& members) const {
        return writeFile(root.path() + QStringLiteral("/test.zip"), storedZip(members));
    }
};

}  // namespace

TEST(ArchiveExtractionSafety, HostileMembersWriteNothing) {
    Sandbox box;
    const QString absolute = box.outside + QStringLiteral("/absolute.txt");
    const QString path = box.zip({
        {absolute.toUtf8(), "abs"},
        {"C:/drive.txt", "drive"},
        {"C:drive2.txt", "drive"},
        {"a/../../up.txt", "up"},
        {"..\\back.txt", "back"},
        {"link", "/etc/passwd", 0120777},
        {"dirlink", "..", 0120755},
    });
    const QSet<QString> before = treeOf(box.root.path());
    const ArchiveListing listing = LibArchiveReader::list(path);
    ASSERT_EQ(listing.status, ArchiveStatus::Ok);
    ASSERT_EQ(listing.members.size(), 7);
    for (const ArchiveMember& member : listing.members) {
        SCOPED_TRACE(member.name.toStdString());
        const ExtractResult result = LibArchiveReader::extract(path, member.name, box.target);
        EXPECT_EQ(result.status, ArchiveStatus::UnsafeName);
        EXPECT_TRUE(result.writtenPath.isEmpty());
    }
    EXPECT_EQ(treeOf(box.root.path()), before);
    EXPECT_FALSE(QFileInfo::exists(absolute));
}

TEST(ArchiveExtractionSafety, PlainMembersKeepTheirFolders) {
    Sandbox box;
    const QString path = box.zip({{"sub/./deeper/song.mp3", "tune"}, {"top.mp3", "top"}});
    const ExtractResult deep = LibArchiveReader::extract(path, "sub/./deeper/song.mp3", box.target);
    ASSERT_EQ(deep.status, ArchiveStatus::Ok);
    EXPECT_EQ(QDir::cleanPath(deep.writtenPath), box.target + "/sub/deeper/song.mp3");
    EXPECT_EQ(readFile(deep.writtenPath), "tune");
    EXPECT_TRUE(QFileInfo(deep.writtenPath).permissions().testFlag(QFile::WriteOwner));
}

// A failure half-way leaves neither the partial file nor the folders made for it.
TEST(ArchiveExtractionSafety, DamagedMemberLeavesNothing) {
    Sandbox box;
    const QString path = box.zip({{"deep/er/bad.mp3", QByteArray(5000, 'x'), 0100644, true}});
    const QSet<QString> before = treeOf(box.root.path());
    EXPECT_EQ(LibArchiveReader::extract(path, "deep/er/bad.mp3", box.target).status,
              ArchiveStatus::Damaged);
    EXPECT_EQ(treeOf(box.root.path()), before);
    QByteArray content = "stale";
    EXPECT_EQ(LibArchiveReader::read(path, "deep/er/bad.mp3", content), ArchiveStatus::Damaged);
    EXPECT_TRUE(content.isEmpty());
}

// Links already lying in the target folder cannot redirect a write.
TEST(ArchiveExtractionSafety, ExistingLinksInTheFolder) {
    Sandbox box;
    const QString path = box.zip({{"linked/x.mp3", "payload"}, {"song.mp3", "fresh"}});
    ASSERT_TRUE(QFile::link(box.outside, box.target + "/linked"));
    EXPECT_EQ(LibArchiveReader::extract(path, "linked/x.mp3", box.target).status,
              ArchiveStatus::UnsafeName);
    EXPECT_TRUE(treeOf(box.outside).isEmpty());

    // A link where the file goes is replaced by the file; its target stays untouched.
    const QString victim = writeFile(box.outside + "/victim.txt", "keep me");
    ASSERT_TRUE(QFile::link(victim, box.target + "/song.mp3"));
    const ExtractResult result = LibArchiveReader::extract(path, "song.mp3", box.target);
    ASSERT_EQ(result.status, ArchiveStatus::Ok);
    EXPECT_FALSE(QFileInfo(result.writtenPath).isSymLink());
    EXPECT_EQ(readFile(result.writtenPath), "fresh");
    EXPECT_EQ(readFile(victim), "keep me");
}

TEST(ArchiveExtractionSafety, TargetProblems) {
    Sandbox box;
    const QString path = box.zip({{"a/b.mp3", "b"}, {"song.mp3", "new"}, {"dir.mp3", "d"}});

    EXPECT_EQ(LibArchiveReader::extract(path, "song.mp3", box.root.path() + "/missing").status,
              ArchiveStatus::WriteFailed);

    // A file where a folder is needed, a folder where the file goes: both stay as they were.
    writeFile(box.target + "/a", "a file");
    QDir().mkpath(box.target + "/dir.mp3/inside");
    const QSet<QString> before = treeOf(box.root.path());
    EXPECT_EQ(LibArchiveReader::extract(path, "a/b.mp3", box.target).status,
              ArchiveStatus::WriteFailed);
    EXPECT_EQ(LibArchiveReader::extract(path, "dir.mp3", box.target).status,
              ArchiveStatus::WriteFailed);
    EXPECT_EQ(treeOf(box.root.path()), before);
    EXPECT_EQ(readFile(box.target + "/a"), "a file");

    // An existing read-only file is replaced and comes out deletable.
    const QString old = writeFile(box.target + "/song.mp3", "old");
    QFile::setPermissions(old, QFile::ReadOwner);
    const ExtractResult result = LibArchiveReader::extract(path, "song.mp3", box.target);
    ASSERT_EQ(result.status, ArchiveStatus::Ok);
    EXPECT_EQ(readFile(old), "new");
    EXPECT_TRUE(QFileInfo(old).permissions().testFlag(QFile::WriteOwner));
    EXPECT_TRUE(QFile::remove(old));
}
