#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStringListModel>
#include <QTemporaryDir>
#include <string_view>

#include "base/Catalogue.h"
#include "library/ArchiveAccess.h"
#include "platform/archive/AceReader.h"
#include "tests/platform/ArchiveTestTools.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

using namespace marlo;
using namespace marlo::test;

namespace {

QString archive(const char* relative) {
    return testdata(QStringLiteral("archives/") + QString::fromUtf8(relative));
}

class ArchiveAccessTest : public ::testing::Test {
  protected:
    void TearDown() override { Catalogue::setLanguage(UiLanguage::German); }

    ScriptedPrompts prompts;
    ArchiveAccess access{prompts};
    QStringListModel chooser;
    TempProgramFolder folder;
};

}  // namespace

TEST_F(ArchiveAccessTest, ZipListingLeavesOutFolderEntriesOnly) {
    EXPECT_EQ(access.ListZip(archive("zip/demo-dirs.zip"), chooser), ArchiveStatus::Ok);
    EXPECT_EQ(chooser.stringList(),
              QStringList({"foo2.txt", "foo1.txt", "foo.txt", "bar.txt", "attic/treasure.txt",
                           "a/b/c.txt", "a/b.txt", "a/bad.txt"}));
    // Files without an extension stay: the zip listing never filtered by name.
    access.ListZip(archive("zip/test_read_format_zip_msdos.zip"), chooser);
    EXPECT_EQ(chooser.stringList(), QStringList({"abc", "def/foo"}));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ArchiveAccessTest, RarListingKeepsOnlyNamesWithADot) {
    const struct {
        const char* file;
        QStringList names;
    } cases[] = {
        // A symbolic link "testlink" and the folders "testdir" and "testemptydir" drop out.
        {"rar/test_read_format_rar.rar", {"test.txt", "testdir/test.txt"}},
        {"rar/test_read_format_rar_compress_best.rar",
         {"LibarchiveAddingTest.html", "testdir/test.txt", "testdir/LibarchiveAddingTest.html"}},
        {"rar/test_read_format_rar5_win32.rar",
         {"test.bin", "test1.bin", "test2.bin", "test3.bin", "test4.bin", "test5.bin",
          "test6.bin"}},
        {"rar/test_read_format_rar5_arm.rar", {}},  // "elf-Linux-ARMv7-ls" has no dot
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(access.ListRar(archive(c.file), chooser), ArchiveStatus::Ok);
        EXPECT_EQ(chooser.stringList(), c.names);
    }
    EXPECT_TRUE(prompts.shown.isEmpty());
}

// A listing replaces what the chooser held; a broken archive leaves what could be read and
// says nothing, as listing never did.
TEST_F(ArchiveAccessTest, ListingReplacesAndStaysQuiet) {
    chooser.setStringList({"left over.mp3"});
    EXPECT_EQ(access.ListRar(archive("rar/test_read_format_rar5_encrypted_filenames.rar"), chooser),
              ArchiveStatus::Encrypted);
    EXPECT_TRUE(chooser.stringList().isEmpty());
    EXPECT_EQ(access.ListZip(folder.program() + "/missing.zip", chooser),
              ArchiveStatus::CannotOpen);
    EXPECT_EQ(
        access.ListRar(archive("rar/malformed/test_read_format_rar5_truncated_huff.rar"), chooser),
        ArchiveStatus::Damaged);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ArchiveAccessTest, ExtractsIntoTheFolderKeepingFolders) {
    const ExtractResult zip = access.ExtractZipMember(
        "attic/treasure.txt", archive("zip/demo-dirs.zip"), folder.program());
    ASSERT_EQ(zip.status, ArchiveStatus::Ok);
    EXPECT_EQ(QDir::cleanPath(zip.writtenPath),
              QDir::cleanPath(folder.program() + "/attic/treasure.txt"));
    EXPECT_EQ(readFile(zip.writtenPath).size(), 9);

    const ExtractResult rar = access.ExtractRarMember(
        "testdir/test.txt", archive("rar/test_read_format_rar_compress_normal.rar"),
        folder.program());
    ASSERT_EQ(rar.status, ArchiveStatus::Ok);
    EXPECT_EQ(readFile(rar.writtenPath).size(), 20);

    // Through a stored reference, split after the archive's extension.
    const auto reference =
        splitMemberReference(archive("rar/test_read_format_rar5_stored.rar") + "|helloworld.txt");
    ASSERT_TRUE(reference.has_value());
    const ExtractResult viaReference = access.ExtractMember(*reference, folder.program());
    ASSERT_EQ(viaReference.status, ArchiveStatus::Ok);
    EXPECT_EQ(readFile(viaReference.writtenPath).size(), 29);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ArchiveAccessTest, MemberNamesMatchExactly) {
    const QString rar = archive("rar/test_read_format_rar_windows.rar");
    EXPECT_EQ(access.ExtractRarMember("Test.txt", rar, folder.program()).status,
              ArchiveStatus::MemberNotFound);
    EXPECT_EQ(access.ExtractRarMember("testdir\\test.txt", rar, folder.program()).status,
              ArchiveStatus::MemberNotFound);
    EXPECT_EQ(access.ExtractRarMember("test.txt", rar, folder.program()).status, ArchiveStatus::Ok);
    EXPECT_EQ(
        access.ExtractZipMember("FOO.TXT", archive("zip/demo-dirs.zip"), folder.program()).status,
        ArchiveStatus::MemberNotFound);
}

namespace {

enum class Via { Zip, Rar };

struct FailureCase {
    Via via;
    const char* file;  // below archives/, or a name below the program folder
    const char* member;
    ArchiveStatus status;
    const char* english;  // nullptr: no message
    const char* german;
    const char* title = "Marlo";
    const char* titleDe = "Marlo";
};

const FailureCase kFailures[] = {
    {Via::Zip, "zip/test_read_format_zip.zip", "file2", ArchiveStatus::Damaged,
     "Error 2 while reading or extrating Zip", "Error 2 while reading or extrating Zip"},
    {Via::Zip, "@text.zip", "x.mp3", ArchiveStatus::NotAnArchive,
     "Error 3 while reading or extrating Zip", "Error 3 while reading or extrating Zip"},
    {Via::Zip, "zip/demo-dirs.zip", "@missing-folder", ArchiveStatus::WriteFailed,
     "Error 50 while reading or extrating Zip", "Error 50 while reading or extrating Zip"},
    // Archive or member not found: taken quietly, as the codes 9 and 11 always were.
    {Via::Zip, "@missing.zip", "x.mp3", ArchiveStatus::CannotOpen, nullptr, nullptr},
    {Via::Zip, "zip/demo-dirs.zip", "nothing.mp3", ArchiveStatus::MemberNotFound, nullptr, nullptr},
    {Via::Zip, "zip/test_read_format_zip_traditional_encryption_data.zip", "foo.txt",
     ArchiveStatus::Encrypted, "\"foo.txt\" is protected by a password and cannot be extracted.",
     "„foo.txt“ ist durch ein Passwort geschützt und kann nicht entpackt werden.", "Encrypted file",
     "Verschlüsselte Datei"},
    {Via::Zip, "zip/zip-malicious-traversal-root.zip",
     "someroot/../../../../../../../../../../../../../../../../../../../../../../../../../../../../"
     "../../../../../../../../../../../../home/evil.txt",
     ArchiveStatus::UnsafeName, "points outside the target folder", "zeigt aus dem Zielordner",
     "Unsafe file name", "Unsicherer Dateiname"},
    {Via::Zip, "zip/test_read_format_zip_symlink.zip", "symlink", ArchiveStatus::UnsafeName,
     "\"symlink\" was not extracted", "„symlink“ wurde nicht entpackt", "Unsafe file name",
     "Unsicherer Dateiname"},

    {Via::Rar, "rar/malformed/test_read_format_rar_invalid1.rar", "test", ArchiveStatus::Damaged,
     "Bad Data", "Bad Data"},
    {Via::Rar, "@text.rar", "x.mp3", ArchiveStatus::NotAnArchive, "Fehler 13", "Fehler 13"},
    {Via::Rar, "@missing.rar", "x.mp3", ArchiveStatus::CannotOpen, "Fehler 15", "Fehler 15"},
    {Via::Rar, "rar/test_read_format_rar.rar", "@missing-folder", ArchiveStatus::WriteFailed,
     "Fehler 19", "Fehler 19"},
    {Via::Rar, "rar/test_read_format_rar.rar", "nothing.mp3", ArchiveStatus::MemberNotFound,
     nullptr, nullptr},
    {Via::Rar, "rar/test_read_format_rar5_encrypted.rar", "b.txt", ArchiveStatus::Encrypted,
     "\"b.txt\" is protected by a password", "„b.txt“ ist durch ein Passwort geschützt",
     "Encrypted file", "Verschlüsselte Datei"},
    {Via::Rar, "rar/test_read_format_rar5_hardlink.rar", "hardlink.txt", ArchiveStatus::UnsafeName,
     "or it is a link", "oder es ist eine Verknüpfung", "Unsafe file name", "Unsicherer Dateiname"},
    {Via::Rar, "rar/test_rar_multivolume_single_file.vol1.rar", "LibarchiveAddingTest.html",
     ArchiveStatus::MultiVolume,
     "\"LibarchiveAddingTest.html\" continues in another part of a multi-volume archive.",
     "„LibarchiveAddingTest.html“ wird in einem weiteren Teil eines mehrteiligen Archivs "
     "fortgesetzt.",
     "Multi-volume archive", "Mehrteiliges Archiv"},
};

class ExtractionFailureTest : public ::testing::TestWithParam<FailureCase> {
  protected:
    void TearDown() override { Catalogue::setLanguage(UiLanguage::German); }
};

}  // namespace

// Each failure in both languages: the status, and the one message (or none) with its title.
TEST_P(ExtractionFailureTest, ShowsItsMessage) {
    const FailureCase& c = GetParam();
    TempProgramFolder folder;
    QString file = QString::fromUtf8(c.file);
    if (file.startsWith('@')) {
        file = folder.program() + '/' + file.mid(1);
        if (!file.contains("missing")) {
            writeFile(file, "no archive at all\n");
        }
    } else {
        file = archive(c.file);
    }
    QString member = QString::fromUtf8(c.member);
    QString target = folder.program();
    if (member == "@missing-folder") {
        target = folder.program() + "/no/such/folder";
        member = c.via == Via::Zip ? "foo.txt" : "test.txt";
    }
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::German}) {
        Catalogue::setLanguage(language);
        ScriptedPrompts prompts;
        ArchiveAccess access(prompts);
        const QSet<QString> before = treeOf(folder.program());
        const ExtractResult result = c.via == Via::Zip
                                         ? access.ExtractZipMember(member, file, target)
                                         : access.ExtractRarMember(member, file, target);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(treeOf(folder.program()), before);
        const char* expected = language == UiLanguage::English ? c.english : c.german;
        if (expected == nullptr) {
            EXPECT_TRUE(prompts.shown.isEmpty());
            continue;
        }
        ASSERT_EQ(prompts.shown.size(), 1);
        const auto& shown = prompts.shown.front();
        EXPECT_EQ(shown.title,
                  QString::fromUtf8(language == UiLanguage::English ? c.title : c.titleDe));
        // The old texts exactly; our own ones by their telling part.
        if (c.title == std::string_view("Marlo")) {
            EXPECT_EQ(shown.text.toStdString(), expected);
        } else {
            EXPECT_TRUE(shown.text.contains(QString::fromUtf8(expected)))
                << shown.text.toStdString();
        }
        EXPECT_EQ(shown.buttons, PromptButtons::Ok);
    }
}

INSTANTIATE_TEST_SUITE_P(Archives, ExtractionFailureTest, ::testing::ValuesIn(kFailures));

// The ace operations over the ace reader: the same chooser rule and exact names.
TEST_F(ArchiveAccessTest, AceListingAndExactNames) {
    EXPECT_EQ(access.ListAce(archive("ace/zdir.ace"), chooser), ArchiveStatus::Ok);
    QStringList expected;
    for (const QByteArray& line : readFile(archive("ace/zdir.ace.md5")).split('\n')) {
        const QString name = QString::fromUtf8(line.mid(34));
        if (name.contains('.')) {
            expected.append(name);
        }
    }
    QStringList listed = chooser.stringList();
    ASSERT_FALSE(expected.isEmpty());
    expected.sort();
    listed.sort();
    EXPECT_EQ(listed, expected);  // "emptyfile" and every folder left out

    const QString ace = archive("ace/onefile.ace");
    EXPECT_EQ(access.ExtractAceMember("changes.log", ace, folder.program()).status,
              ArchiveStatus::MemberNotFound);
    const ExtractResult result = access.ExtractAceMember("CHANGES.LOG", ace, folder.program());
    ASSERT_EQ(result.status, ArchiveStatus::Ok);
    EXPECT_EQ(
        QCryptographicHash::hash(readFile(result.writtenPath), QCryptographicHash::Md5).toHex(),
        readFile(archive("ace/onefile.ace.md5")).left(32));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

// The only thing a listing shows: the archive's comment.
TEST_F(ArchiveAccessTest, AceCommentIsShownOnListing) {
    const QString alcht = archive("ace/ALCHT.ACE");
    const QString comment = AceReader::list(alcht).comment;
    ASSERT_FALSE(comment.isEmpty());
    EXPECT_EQ(access.ListAce(alcht, chooser), ArchiveStatus::Ok);
    EXPECT_EQ(chooser.stringList(), QStringList({"slots.crd"}));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, "Marlo");
    EXPECT_EQ(prompts.shown[0].text, comment);
}

TEST_F(ArchiveAccessTest, AceFailureMessages) {
    const QString passwd = archive("ace/passwd.ace");
    const QString notAce = writeFile(folder.program() + "/text.ace", "no archive at all\n");
    const QSet<QString> before = treeOf(folder.program());
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::German}) {
        Catalogue::setLanguage(language);
        prompts.shown.clear();
        EXPECT_EQ(access.ExtractAceMember("passwd.m4", passwd, folder.program()).status,
                  ArchiveStatus::Encrypted);
        EXPECT_NE(access.ExtractAceMember("x.mp3", notAce, folder.program()).status,
                  ArchiveStatus::Ok);
        ASSERT_EQ(prompts.shown.size(), 2);
        EXPECT_EQ(prompts.shown[0].title, language == UiLanguage::English
                                              ? QString("Encrypted file")
                                              : QString::fromUtf8("Verschlüsselte Datei"));
        EXPECT_TRUE(prompts.shown[0].text.contains("passwd.m4"));
        // The ace codes read "Fehler" in both languages.
        EXPECT_TRUE(prompts.shown[1].text.startsWith("Fehler "))
            << prompts.shown[1].text.toStdString();
    }
    EXPECT_EQ(treeOf(folder.program()), before);
}
