#include <QApplication>
#include <QListView>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "library/AddFiles.h"
#include "library/ExtensionFilter.h"
#include "library/SaveItem.h"
#include "library/ZipListe.h"
#include "tests/library/LibraryFixture.h"
#include "tests/support/AudioAnalysis.h"

namespace marlo::test {
namespace {

QString mp3(const char* name) {
    return testdata(QStringLiteral("mp3/") + QLatin1String(name));
}

// An ID3v1 tag: marker, 30-byte title, 30-byte artist, the rest of the 128 bytes.
QByteArray id3v1(const QByteArray& title, const QByteArray& artist) {
    QByteArray tag = "TAG" + title.leftJustified(30, ' ') + artist.leftJustified(30, ' ');
    return tag.leftJustified(128, '\0');
}

class AddFilesTest : public LibraryFixture {
  protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        adder.setProgress([this](int done, int total) { progress.append({done, total}); });
    }
    FileReading readMp3(const QString& path) { return ReadMp3Tag(path); }
    QString media(const QString& relative, const QByteArray& bytes = "x") {
        return writeFile(folder.program() + "/media/" + relative, bytes);
    }
    // Opens the audio collection "Rock" (empty) for saving.
    void openRock() {
        writeLines("Audio.dat", {"Rock"});
        session->chooser.setText("Rock");
    }

    AddFiles adder{*itemEditor};
    QList<QPair<int, int>> progress;
};

TEST_F(AddFilesTest, Mp3TitlesComeFromTheId3v1TagOrTheFileName) {
    FileReading r = readMp3(mp3("mp3agic_v1tag.mp3"));
    EXPECT_EQ(r.title, "TITLE1234567890123456789012345");  // all 30 characters
    EXPECT_EQ(r.artist, "ARTIST123456789012345678901234");
    EXPECT_EQ(r.path, mp3("mp3agic_v1tag.mp3"));
    // Inner blanks stay; trailing blanks (and the NUL padding of v1.1 tags) go.
    r = readMp3(mp3("tag_id3v1_test_sample_usascii_v1.mp3"));
    EXPECT_EQ(r.title, "Sample Title");
    EXPECT_EQ(r.artist, "Sample Artist");
    r = readMp3(mp3("tag_id3v1_test_sample_usascii_v1.1.mp3"));
    EXPECT_EQ(r.title, "Sample Title");
    EXPECT_EQ(r.artist, "Sample Artist");
    EXPECT_EQ(readMp3(mp3("tag_with_tags_sample.id3v11.mp3")).title, "Test Title");
    EXPECT_EQ(readMp3(mp3("tag_id3v1_test_sample_utf8_v1.1.mp3")).title,
              QString::fromUtf8("サンプルのタイトル"));
    // Only an ID3v2 tag at the start: its values; none at all: the file name rule.
    r = readMp3(mp3("mp3agic_v23tag.mp3"));
    EXPECT_EQ(r.title, "TITLE1234567890123456789012345");
    EXPECT_EQ(r.artist, "ARTIST123456789012345678901234");
    EXPECT_EQ(readMp3(mp3("tag_without_tags_sample.mp3")).title, "Tag_without_tags_sample");
    EXPECT_EQ(readMp3(mp3("mp3agic_notanmp3.mp3")).title, "Mp3agic_notanmp3");
}

// An ID3v2 tag (version 3 or 4) of one text frame before the sound.
QByteArray id3v2(int version, const QByteArray& frameId, char encoding, const QByteArray& text) {
    const QByteArray body = encoding + text;
    auto size = [version](quint32 n, bool syncsafe) {
        if (syncsafe) {
            n = (n & 0x7F) | ((n & 0x3F80) << 1) | ((n & 0x1FC000) << 2) | ((n & 0xFE00000) << 3);
        }
        return QByteArray(1, char(n >> 24)) + char(n >> 16) + char(n >> 8) + char(n);
    };
    const QByteArray frame =
        frameId + size(quint32(body.size()), version == 4) + '\0' + '\0' + body;
    return "ID3" + QByteArray(1, char(version)) + '\0' + '\0' + size(quint32(frame.size()), true) +
           frame;
}

// Tags of today's files through TagLib; the ID3v1 rule stays for files that have such a tag.
TEST_F(AddFilesTest, TitlesAndArtistsFromTheTagsOfEachFormat) {
    const QString wav = writeSineWav(media("tone.wav"), 440.0, 300);
    const QString longTitle = "A Title Of Forty Characters, Not Thirty";
    const QString longArtist = QString::fromUtf8("Ärtist With A Name Beyond Thirty");
    auto run = [&](const QString& program, const QStringList& args, const QString& out) {
        EXPECT_EQ(QProcess::execute(program, args), 0) << program.toStdString();
        return out;
    };
    auto lame = [&](const char* name, const QStringList& tags) {
        const QString out = folder.program() + "/media/" + name;
        return run("lame", QStringList{"--silent"} + tags + QStringList{wav, out}, out);
    };
    auto flac = [&](const char* name, const QStringList& tags) {
        const QString out = folder.program() + "/media/" + name;
        return run("flac", QStringList{"-s", "-f", "-o", out} + tags + QStringList{wav}, out);
    };
    const QString v2only = lame("v2 only.mp3", {"--id3v2-only", "--tt", longTitle, "--ta", "Band"});
    const QByteArray lossy = readFile(lame("plain.mp3", {}));
    const struct {
        QString path;
        QString title;
        QString artist;
    } cases[] = {
        {lame("v1 only.mp3", {"--id3v1-only", "--tt", "Only One", "--ta", "Solo"}), "Only One",
         "Solo"},
        {v2only, longTitle, "Band"},
        // ID3v1 cut at 30 characters, ID3v2 whole: the whole value.
        {lame("both.mp3", {"--add-id3v2", "--tt", longTitle, "--ta", longArtist}), longTitle,
         longArtist},
        // An ID3v1 tag that says something else than the ID3v2 tag wins.
        {writeFile(v2only + ".v1.mp3", readFile(v2only) + id3v1("Other", "Someone")), "Other",
         "Someone"},
        {flac("vorbis.flac", {"-T", "TITLE=Flac Song", "-T", "ARTIST=Flac Band"}), "Flac Song",
         "Flac Band"},
        {run("oggenc", {"-Q", "-t", "Ogg Song", "-a", "Ogg Band", "-o", media("x.ogg"), wav},
             media("x.ogg")),
         "Ogg Song", "Ogg Band"},
        {run("opusenc",
             {"--quiet", "--title", "Opus Song", "--artist", "Opus Band", wav, media("x.opus")},
             media("x.opus")),
         "Opus Song", "Opus Band"},
        {run("ffmpeg",
             {"-v", "quiet", "-y", "-i", wav, "-metadata", "title=Mp4 Song", "-metadata",
              "artist=Mp4 Band", media("x.m4a")},
             media("x.m4a")),
         "Mp4 Song", "Mp4 Band"},
        {flac("no tags.flac", {}), "No Tags", ""},
        // A title the store cannot hold: the file's name, the artist as tagged.
        {flac("odd title.flac", {"-T", "TITLE=What?", "-T", "ARTIST=Asker"}), "Odd Title", "Asker"},
        {writeFile(media("latin.mp3"), id3v2(3, "TIT2", '\0', "Caf\xe9") + lossy), "Café", ""},
        {writeFile(media("utf16.mp3"),
                   id3v2(3, "TPE1", '\1', QByteArray("\xff\xfeO\0k\0", 6)) + lossy),
         "Utf16", "Ok"},
        // Damaged: invalid UTF-8 (TagLib drops the value); a tag that claims 10 MB of a short
        // file.
        {writeFile(media("bad utf8.mp3"), id3v2(4, "TPE1", '\3', "A\xff\xfe") + lossy), "Bad Utf8",
         ""},
        {writeFile(media("huge tag.mp3"), QByteArray("ID3\4\0\0\x05\x00\x00\x00TIT2", 14) + lossy),
         "Huge Tag", ""},
    };
    for (const auto& c : cases) {
        const FileReading r = c.path.endsWith(".mp3") ? ReadMp3Tag(c.path) : ReadGeneric(c.path);
        EXPECT_EQ(r.title, c.title) << c.path.toStdString();
        EXPECT_EQ(r.artist, c.artist) << c.path.toStdString();
        EXPECT_EQ(r.path, c.path);
    }
}

TEST_F(AddFilesTest, OnlyFilesOfAtLeast256BytesAreSearchedForATag) {
    // The marker anywhere in the last 256 bytes counts, in any letter case.
    QByteArray bytes = QByteArray(10, 'x') + "tAgLoose Title" + QByteArray(30 - 11, ' ') + "Art";
    const QString exact = media("exact song.mp3", bytes.leftJustified(256, ' '));
    const QString shorter = media("short song.mp3", bytes.leftJustified(255, ' '));
    FileReading r = readMp3(exact);
    EXPECT_EQ(r.title, "Loose Title");
    EXPECT_EQ(r.artist, "Art");
    EXPECT_EQ(readMp3(shorter).title, "Short Song");

    // A real tag wins over the letters "tag" in the audio data before it.
    const QString tagged = media("real.mp3", QByteArray(100, 'a') + "stage" + QByteArray(23, 'a') +
                                                 id3v1("Real Title", "Real Artist"));
    EXPECT_EQ(readMp3(tagged).title, "Real Title");
}

TEST_F(AddFilesTest, ModuleTitlesComeFromTheirHeaders) {
    const QList<QPair<const char*, const char*>> cases = {
        {"libxmp_Bidi-Loops.it", "Chans should be in tune"},  // IMPM: 28 bytes at 4
        {"libxmp_stereo.it", "Stereo Samples"},
        {"libxmp_ft2_kxx.xm", "Kxx misc, xx>speed"},  // 20 bytes at 17, trailing blanks cut
        {"openmpt_test.xm", "Test Module"},
        {"libxmp_PatternJump.mod", "Jump Commands"},  // first 20 bytes up to the padding
        {"openmpt_test.mod", "MOD_Test___________X"},
        {"libxmp_pattern_loop_octalyser.mod", "PATTERN LOOP (OCT)"},
        {"libxmp_pattern_loop_st321.s3m", "Pattern Loop (ST 3.0"},  // cut at 20 characters
        {"openmpt_test.s3m", "S3M_Test____________"},
        {"libxmp_format_it_schism.it", ""},  // a blank name field gives no title
    };
    for (const auto& [file, title] : cases) {
        const QString path = testdata(QStringLiteral("modules/") + QLatin1String(file));
        const FileReading r = ReadGeneric(path);
        EXPECT_EQ(r.title, QString::fromLatin1(title)) << file;
        EXPECT_EQ(r.path, path);
    }
    // The XM marker in other letter case; a module that is not one keeps its header rule.
    EXPECT_EQ(ReadGeneric(media("a.XM", "EXTENDED MODULE: Shouted Name        \x1a")).title,
              "Shouted Name");
}

TEST_F(AddFilesTest, FileNamesAndFoldersAsTheEditorFlowsReadThem) {
    const QString capital =
        media("02 - my song.MP3", QByteArray(200, 'a') + id3v1("Tagged", "Someone"));
    // The item editor compares the ending case-sensitively: .MP3 is read by its name.
    adder.AddFile(capital, EndingCase::Sensitive);
    EXPECT_EQ(itemEditor->fields.title, "02 - My Song");
    EXPECT_TRUE(itemEditor->fields.artist.isEmpty());
    adder.AddFile(capital, EndingCase::Insensitive);
    EXPECT_EQ(itemEditor->fields.title, "Tagged");
    EXPECT_EQ(itemEditor->fields.artist, "Someone");
    adder.AddFile(media("my SONG.final.wav"), EndingCase::Sensitive);
    EXPECT_EQ(itemEditor->fields.title, "My Song");

    const QString folderPath = folder.program() + "/media/album.mp3";
    QDir().mkpath(folderPath);
    adder.AddFile(folderPath, EndingCase::Sensitive);
    EXPECT_TRUE(itemEditor->fields.title.isEmpty());
    EXPECT_TRUE(itemEditor->fields.path.isEmpty());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, "Warning");
    EXPECT_EQ(prompts.shown[0].text, "Directories can't be entered into the database!");
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Error);
}

// Titles name records: a like-named file from elsewhere must not take over another's record.
TEST_F(AddFilesTest, ALikeNamedFileFromElsewhereGetsANumberedTitle) {
    openRock();
    const QString first = media("album1/intro.wav");
    const QString second = media("album2/intro.wav");
    EXPECT_EQ(adder.addMany({first, second}, EndingCase::Sensitive, false).saved, 2);
    const QStringList both{"Intro", "Intro (2)"};
    EXPECT_EQ(linesOf("aRock.dat"), both);
    EXPECT_TRUE(memberOnDisk("a_Intro").contains("Pfad=" + first.toUtf8()));
    EXPECT_TRUE(memberOnDisk("a_Intro (2)").contains("Pfad=" + second.toUtf8()));

    // The same file again keeps its record and title.
    adder.addMany({first}, EndingCase::Sensitive, false);
    EXPECT_EQ(linesOf("aRock.dat"), both);

    // A filed file that is gone: the new one takes its record over, as for a moved folder.
    ASSERT_TRUE(QFile::remove(first));
    const QString moved = media("moved/intro.wav");
    adder.addMany({moved}, EndingCase::Sensitive, false);
    EXPECT_EQ(linesOf("aRock.dat"), both);
    EXPECT_TRUE(memberOnDisk("a_Intro").contains("Pfad=" + moved.toUtf8()));
}

class AddFolderTest : public AddFilesTest {
  protected:
    void SetUp() override {
        AddFilesTest::SetUp();
        openRock();
        media("tree/b song.wav");
        media("tree/notes.txt");
        media("tree/a song.MID");
        media("tree/c song.FLAC");
        media("tree/sub1/sub2/deep.mp3", QByteArray(300, 'a') + id3v1("Deep Title", "Deep"));
        media("tree/sub1/middle.wav");
        media("tree/Zz/last.wav");
        root = folder.program() + "/media/tree";
    }
    QStringList audioPatterns() const { return ExtensionFilter::patternsFor(MediaKind::Audio); }
    QString root;
};

TEST_F(AddFolderTest, WithSubfoldersDepthFirstBeforeTheFolderItself) {
    prompts.answers.push_back(PromptAnswer::Yes);
    const AddFiles::Report report = adder.AddFolder(root, audioPatterns());
    EXPECT_EQ(prompts.messageTitles(), QStringList{"Add Subdirs?"});
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Question);
    EXPECT_EQ(report.saved, 6);
    EXPECT_EQ(linesOf("aRock.dat"),
              (QStringList{"Deep Title", "Middle", "Last", "A Song", "B Song", "C Song"}));
    EXPECT_TRUE(membersOnDisk().contains("a_Deep Title"));
    EXPECT_TRUE(memberOnDisk("a_A Song").contains("Pfad=" + (root + "/a song.MID").toUtf8()));
    EXPECT_EQ(session->archive.count(), 6);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last(), qMakePair(6, 6));
}

TEST_F(AddFolderTest, WithoutSubfoldersOnlyTheFolderAndNoQuestionWithoutAny) {
    prompts.answers.push_back(PromptAnswer::No);
    adder.AddFolder(root, audioPatterns());
    EXPECT_EQ(linesOf("aRock.dat"), (QStringList{"A Song", "B Song", "C Song"}));

    prompts.shown.clear();
    const AddFiles::Report report = adder.AddFolder(root + "/sub1/sub2", {"*.mp3"});
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(report.saved, 1);
    // A narrowed filter leaves the other types out.
    adder.AddFolder(root + "/Zz", {"*.mp3"});
    EXPECT_EQ(linesOf("aRock.dat"), (QStringList{"A Song", "B Song", "C Song", "Deep Title"}));
}

TEST_F(AddFolderTest, TheFolderBrowserStartsTheAddAndItsCancelAddsNothing) {
    EXPECT_EQ(adder.AddFolderFromBrowser(audioPatterns()).saved, 0);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, "Bestimmen Sie nun das Verzeichnis:");
    prompts.folders.push_back(root + "/Zz");
    EXPECT_EQ(adder.AddFolderFromBrowser(audioPatterns()).saved, 1);
    EXPECT_EQ(linesOf("aRock.dat"), QStringList{"Last"});
}

class AddArchiveTest : public AddFilesTest {
  protected:
    void SetUp() override {
        AddFilesTest::SetUp();
        openRock();
        zip = folder.program() + "/media/music.zip";
        QDir().mkpath(folder.program() + "/media");
        ZipStore store(zip);
        store.open();
        store.put("b song.wav", "RIFF");
        store.put("Music/my song.mp3", "ID3");
        store.put("music/Tone A.wav", "RIFF");
        store.put("music/Tone B.wav", "RIFF");
        store.put("readme.txt", "text");
        ASSERT_TRUE(store.commit());
    }
    // The real chooser window: a click on the member picks it.
    static void pick(const QString& member) {
        QTimer::singleShot(0, [member] {
            auto* chooser = qobject_cast<ZipListe*>(QApplication::activeModalWidget());
            ASSERT_NE(chooser, nullptr);
            auto* list = chooser->findChild<QListView*>("List1");
            const int row = static_cast<int>(chooser->members().stringList().indexOf(member));
            ASSERT_GE(row, 0);
            const QModelIndex index = list->model()->index(row, 0);
            list->scrollTo(index);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(index).center());
        });
    }
    QString zip;
};

TEST_F(AddArchiveTest, AddingAllMembersSavesThoseOfTheKindInFoldersTooAndTellsARefusalOnce) {
    prompts.answers.push_back(PromptAnswer::Yes);
    const AddFiles::Report report = adder.AddFile(zip, EndingCase::Sensitive);
    EXPECT_EQ(report.saved, 4);
    EXPECT_EQ(report.skipped, 1);
    EXPECT_EQ(prompts.messageTitles(), (QStringList{"Add all?", "File format not supported!"}));
    EXPECT_EQ(prompts.shown[0].text, "Do want to add all files in the archive into the database?");
    // A title names its record in the store: the member's folder is not part of it.
    QStringList titles = linesOf("aRock.dat");
    titles.sort();
    EXPECT_EQ(titles, (QStringList{"B Song", "My Song", "Tone A", "Tone B"}));
    EXPECT_TRUE(memberOnDisk("a_B Song").contains(("Pfad=" + zip + "|b song.wav").toUtf8()));
    EXPECT_TRUE(memberOnDisk("a_Tone B").contains(("Pfad=" + zip + "|music/Tone B.wav").toUtf8()));
}

TEST_F(AddArchiveTest, AllMembersOfTheRealFolderedArchivesGoThroughSaving) {
    // Only dir2.ace holds a sound (dir2\notification.wav); every other member is refused for
    // its type, told once per archive, and none for its title.
    const struct {
        const char* archive;
        int saved;
    } archives[] = {{"archives/zip/test_read_format_zip.zip", 0},
                    {"archives/rar/test_read_format_rar.rar", 0},
                    {"archives/ace/zdir.ace", 0},
                    {"archives/ace/dir2.ace", 1}};
    for (const auto& a : archives) {
        const QString relative = QString::fromLatin1(a.archive);
        SCOPED_TRACE(a.archive);
        prompts.shown.clear();
        progress.clear();
        prompts.answers.push_back(PromptAnswer::Yes);
        const AddFiles::Report report = adder.AddFile(testdata(relative), EndingCase::Sensitive);
        ASSERT_FALSE(progress.isEmpty());
        const int members = progress.last().second;
        EXPECT_GT(members, 1);
        EXPECT_EQ(report.saved, a.saved);
        EXPECT_EQ(report.saved + report.skipped, members);
        EXPECT_EQ(prompts.messageTitles(), (QStringList{"Add all?", "File format not supported!"}));
    }
    EXPECT_EQ(linesOf("aRock.dat"), QStringList{"Notification"});
    EXPECT_TRUE(
        memberOnDisk("a_Notification")
            .contains(
                ("Pfad=" + testdata("archives/ace/dir2.ace") + "|dir2/notification.wav").toUtf8()));
}

TEST_F(AddArchiveTest, OneMemberThroughTheChooserIsTitledByItsNameAndSaves) {
    prompts.answers.push_back(PromptAnswer::No);
    pick("Music/my song.mp3");
    adder.AddFile(zip, EndingCase::Sensitive);
    EXPECT_EQ(itemEditor->fields.path, zip + "|Music/my song.mp3");
    EXPECT_EQ(itemEditor->fields.title, "My Song");

    const QString zdir = testdata("archives/ace/zdir.ace");
    prompts.answers.push_back(PromptAnswer::No);
    // The archive's backslashes come as "/", as the chooser lists every archive's names.
    pick("zman/man1/chattr.1");
    adder.AddFile(zdir, EndingCase::Sensitive);
    EXPECT_EQ(itemEditor->fields.path, zdir + "|zman/man1/chattr.1");
    EXPECT_EQ(itemEditor->fields.title, "Chattr");
    EXPECT_FALSE(QFile::exists(data("aRock.dat")));  // the user saves in the item editor

    const QString dir2 = testdata("archives/ace/dir2.ace");
    prompts.answers.push_back(PromptAnswer::No);
    pick("dir2/notification.wav");
    adder.AddFile(dir2, EndingCase::Sensitive);
    EXPECT_EQ(itemEditor->fields.title, "Notification");
    prompts.shown.clear();
    EXPECT_EQ(SaveItem(*itemEditor).run().result, SaveItem::Result::Saved);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(linesOf("aRock.dat"), QStringList{"Notification"});
}

TEST_F(AddArchiveTest, AnArchiveWithoutMembersSaysSoInsteadOfAnEmptyChooser) {
    const QString broken = media("broken.zip", "not a zip");
    adder.AddFile(broken, EndingCase::Sensitive);
    EXPECT_EQ(prompts.messageTitles(), QStringList{"Archive"});
    EXPECT_TRUE(itemEditor->fields.path.isEmpty());
}

}  // namespace
}  // namespace marlo::test
