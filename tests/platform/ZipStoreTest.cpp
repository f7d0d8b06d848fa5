#include "platform/archive/ZipStore.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <zip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <csignal>

#include "tests/support/TestFolders.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace marlo {
namespace {

using test::readFile;
using test::TempProgramFolder;
using test::writeFile;

ino_t inodeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// Member names as libzip itself reads them from the file, independent of ZipStore.
QSet<QString> namesOnDisk(const QString& path) {
    QSet<QString> names;
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (archive == nullptr) {
        return names;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        names.insert(QString::fromUtf8(zip_get_name(archive, static_cast<zip_uint64_t>(i), 0)));
    }
    zip_discard(archive);
    return names;
}

class ZipStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { folder.makeData(); }
    QString storePath() const { return folder.data() + "Marlo.zip"; }
    QStringList filesInData() const {
        return QDir(folder.data()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    TempProgramFolder folder;
};

TEST_F(ZipStoreTest, CollectsChangesAndWritesThemWithOneReplaceOfTheFile) {
    {
        ZipStore store(storePath());
        ASSERT_EQ(store.open(), ZipStore::OpenState::Ready);
        store.put("a_One", "first");
        ASSERT_TRUE(store.commit());
    }
    const ino_t before = inodeOf(storePath());

    ZipStore store(storePath());
    ASSERT_EQ(store.open(), ZipStore::OpenState::Ready);
    store.put("a_Two", "second");
    store.put("a_Three", QByteArray("third\r\n\0bytes", 14));
    // Collected changes are visible to reads but not yet on disk.
    QByteArray content;
    ASSERT_TRUE(store.read("a_Two", content));
    EXPECT_EQ(content, "second");
    EXPECT_EQ(store.count(), 3);
    EXPECT_EQ(namesOnDisk(storePath()), QSet<QString>{"a_One"});

    ASSERT_TRUE(store.commit());
    EXPECT_FALSE(store.hasPendingChanges());
    EXPECT_EQ(namesOnDisk(storePath()), (QSet<QString>{"a_One", "a_Two", "a_Three"}));
    // A new file took the old one's name: the old content was never written over in place.
    EXPECT_NE(inodeOf(storePath()), before);
    EXPECT_EQ(filesInData(), QStringList{"Marlo.zip"});

    ZipStore reopened(storePath());
    ASSERT_EQ(reopened.open(), ZipStore::OpenState::Ready);
    ASSERT_TRUE(reopened.read("a_Three", content));
    EXPECT_EQ(content, QByteArray("third\r\n\0bytes", 14));
}

TEST_F(ZipStoreTest, ReplacesAndRemovesMembersWhateverTheirLetterCase) {
    ZipStore store(storePath());
    store.open();
    store.put("a_My Song", "old");
    store.put("a_Other", "other");
    ASSERT_TRUE(store.commit());

    store.put("a_MY SONG", "new");  // same member, new spelling
    store.remove("a_other");
    EXPECT_FALSE(store.contains("a_Other"));
    EXPECT_EQ(store.count(), 1);
    ASSERT_TRUE(store.commit());
    EXPECT_EQ(namesOnDisk(storePath()), QSet<QString>{"a_MY SONG"});

    QByteArray content;
    ASSERT_TRUE(store.read("a_my song", content));
    EXPECT_EQ(content, "new");
    EXPECT_FALSE(store.read("a_Other", content));
    EXPECT_EQ(store.lastReadError(), 0);  // missing, not broken

    // Removing what was only collected leaves nothing to write.
    store.put("a_Passing", "x");
    store.remove("a_Passing");
    EXPECT_FALSE(store.hasPendingChanges());
}

TEST_F(ZipStoreTest, MissingStoreStartsEmptyAndIsCreatedByTheFirstCommit) {
    QDir(folder.data()).removeRecursively();
    ZipStore store(storePath());
    EXPECT_EQ(store.open(), ZipStore::OpenState::Ready);
    EXPECT_EQ(store.count(), 0);
    EXPECT_FALSE(QFile::exists(storePath()));
    store.put("p_Picture", "x");
    ASSERT_TRUE(store.commit());
    EXPECT_EQ(namesOnDisk(storePath()), QSet<QString>{"p_Picture"});
}

TEST_F(ZipStoreTest, DamagedStoreIsMovedAsideAndWhatIsWholeInItIsSaved) {
    // Twenty stored members of 200 bytes each, every one different, so each member's data can be
    // found in the file.
    const auto contentOf = [](int i) { return QByteArray(200, char('A' + i)); };
    const QByteArray valid = [&] {
        ZipStore store(storePath());
        store.open();
        for (int i = 0; i < 20; ++i) {
            store.put(QString("a_Song %1").arg(i), contentOf(i));
        }
        store.commit();
        return readFile(storePath());
    }();
    const qsizetype data7 = valid.indexOf(contentOf(7));
    const qsizetype data12 = valid.indexOf(contentOf(12));
    ASSERT_GT(data7, 0);
    ASSERT_GT(data12, 0);
    QByteArray flipped = valid;
    flipped[data12 + 100] = 'z';
    // Without its end record libzip cannot open the file at all.
    const qsizetype endRecord = flipped.lastIndexOf("PK\x05\x06");
    ASSERT_GT(endRecord, 0);
    flipped.truncate(endRecord);

    struct Case {
        const char* what;
        QByteArray damaged;
        QStringList lost;
    };
    const Case cases[] = {
        {"cut inside the data of Song 7", valid.left(data7 + 50), {"a_Song 7"}},
        {"cut after the members, inside their directory", valid.left(valid.size() - 30), {}},
        {"one member's data changed, no end record", flipped, {"a_Song 12"}},
        {"never a zip", "PK\x03\x04 this is not really a zip archive", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(folder.data()).removeRecursively();
        writeFile(storePath(), c.damaged);

        ZipStore store(storePath());
        ASSERT_EQ(store.open(), ZipStore::OpenState::MovedAside);
        const QString aside = store.movedAsidePath();
        EXPECT_TRUE(QFileInfo(aside).fileName().startsWith("Marlo.zip.damaged-"))
            << aside.toStdString();
        EXPECT_EQ(readFile(aside), c.damaged);

        // Saved: every member whose data lies whole in the damaged file, with its content; the
        // new store holds them on disk at once.
        QSet<QString> expected;
        for (int i = 0; i < 20; ++i) {
            const QString name = QString("a_Song %1").arg(i);
            const qsizetype at = valid.indexOf(contentOf(i));
            if (c.damaged.mid(at, 200) == contentOf(i)) {
                expected.insert(name);
                QByteArray content;
                EXPECT_TRUE(store.read(name, content)) << name.toStdString();
                EXPECT_EQ(content, contentOf(i)) << name.toStdString();
            }
        }
        EXPECT_EQ(namesOnDisk(storePath()), expected);
        EXPECT_EQ(store.salvaged().saved, expected.size());
        EXPECT_EQ(store.salvaged().lost, c.lost);
        EXPECT_FALSE(store.hasPendingChanges());

        store.put("a_New", "record");
        ASSERT_TRUE(store.commit());
        EXPECT_EQ(namesOnDisk(storePath()), expected + QSet<QString>{"a_New"});
        EXPECT_EQ(readFile(aside), c.damaged);
    }
}

TEST_F(ZipStoreTest, SecondDamagedStoreInTheSameSecondGetsItsOwnName) {
    writeFile(storePath(), "first garbage");
    ZipStore first(storePath());
    ASSERT_EQ(first.open(), ZipStore::OpenState::MovedAside);
    writeFile(storePath(), "second garbage");
    ZipStore second(storePath());
    ASSERT_EQ(second.open(), ZipStore::OpenState::MovedAside);
    EXPECT_NE(first.movedAsidePath(), second.movedAsidePath());
    EXPECT_EQ(readFile(first.movedAsidePath()), "first garbage");
    EXPECT_EQ(readFile(second.movedAsidePath()), "second garbage");
}

TEST_F(ZipStoreTest, StoreThatIsAFolderIsLeftAloneAndNothingIsWritten) {
    QDir().mkpath(storePath());
    writeFile(storePath() + "/inside.txt", "keep");
    ZipStore store(storePath());
    EXPECT_EQ(store.open(), ZipStore::OpenState::Unusable);
    store.put("a_Song", "x");
    EXPECT_FALSE(store.commit());
    EXPECT_EQ(readFile(storePath() + "/inside.txt"), "keep");
}

TEST_F(ZipStoreTest, FailedCommitKeepsTheOldFileAndTheCollectedChanges) {
    ZipStore store(storePath());
    store.open();
    store.put("a_Kept", "old");
    ASSERT_TRUE(store.commit());
    const QByteArray before = readFile(storePath());

    // A file size limit makes the rewrite fail part way, as a full disk would.
    QByteArray large(1 << 20, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(large.data()),
                                  large.size() / 4);  // does not compress
    store.put("a_Waiting", large);
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool committed = store.commit();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(committed);
    EXPECT_EQ(readFile(storePath()), before);
    EXPECT_EQ(filesInData(), QStringList{"Marlo.zip"});  // no half-written file left
    EXPECT_TRUE(store.hasPendingChanges());
    EXPECT_TRUE(store.contains("a_Waiting"));
    ASSERT_TRUE(store.commit());
    EXPECT_EQ(namesOnDisk(storePath()), (QSet<QString>{"a_Kept", "a_Waiting"}));
}

TEST_F(ZipStoreTest, LeftoversOfAnInterruptedRewriteAreRemovedOnOpen) {
    {
        ZipStore store(storePath());
        store.open();
        store.put("a_Song", "x");
        store.commit();
    }
    writeFile(folder.data() + "Marlo.zip.Ab12Cd", "half a rewrite");
    writeFile(folder.data() + "Marlo.zip.damaged-20240101-120000", "kept on purpose");
    writeFile(folder.data() + "Marlo.zip.bak", "not ours");
    ZipStore store(storePath());
    ASSERT_EQ(store.open(), ZipStore::OpenState::Ready);
    EXPECT_EQ(filesInData(),
              (QStringList{"Marlo.zip", "Marlo.zip.bak", "Marlo.zip.damaged-20240101-120000"}));
}

TEST_F(ZipStoreTest, BrokenMemberDataReadsAsAnErrorNotAsContent) {
    {
        ZipStore store(storePath());
        store.open();
        store.put("a_Song", QByteArray(4000, 'a') + QByteArray(4000, 'b'));
        store.put("a_Fine", "fine");
        store.commit();
    }
    QByteArray bytes = readFile(storePath());
    // The first member's data begins after its 30-byte local header and its name.
    const qsizetype dataStart = 30 + QByteArray("a_Song").size();
    ASSERT_TRUE(bytes.mid(30, 6) == "a_Song" || bytes.mid(30, 6) == "a_Fine");
    const bool songFirst = bytes.mid(30, 6) == "a_Song";
    bytes[dataStart + 2] = static_cast<char>(bytes[dataStart + 2] ^ 0x5A);
    writeFile(storePath(), bytes);

    ZipStore store(storePath());
    ASSERT_EQ(store.open(), ZipStore::OpenState::Ready);
    QByteArray content;
    EXPECT_FALSE(store.read(songFirst ? "a_Song" : "a_Fine", content));
    EXPECT_NE(store.lastReadError(), 0);
    EXPECT_TRUE(content.isEmpty());
    EXPECT_TRUE(store.read(songFirst ? "a_Fine" : "a_Song", content));
}

}  // namespace
}  // namespace marlo
