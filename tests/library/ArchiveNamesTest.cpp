#include <gtest/gtest.h>

#include "library/AddDroppedFiles.h"
#include "library/ArchiveMemberRef.h"
#include "library/ExtensionFilter.h"
#include "library/FileTitle.h"
#include "library/ItemFormats.h"

using namespace marlo;

TEST(FileTitle, FileNameRule) {
    const struct {
        const char* name;
        const char* title;
    } cases[] = {
        {"my SONG.final.wav", "My Song"},
        {"02 - my song.MP3", "02 - My Song"},
        {"/home/me/Music/the BEST of.mid", "The Best Of"},
        {"C:\\Musik\\aBC dEF.mid", "Abc Def"},
        {"two  blanks.wav", "Two  Blanks"},
        {"README", "Readme"},  // no dot: the whole name
        {"über ärger.mp3", "Über Ärger"},
        {"straße.wav", "Straße"},  // keeps its length
        {"", ""},
        // Archive members lose their folders, whichever separator the archive used; a dot in a
        // folder does not cut the name.
        {"Album/track one.mp3", "Track One"},
        {"My Album/Best Of/side a.mp3", "Side A"},
        {"dir.v2/song.mp3", "Song"},
        {"dir2\\notification.wav", "Notification"},
        {"Album/", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(titleFromFileName(QString::fromUtf8(c.name)).toStdString(), c.title) << c.name;
    }
}

TEST(ArchiveMemberRef, Splitting) {
    const struct {
        const char* reference;
        const char* archive;  // nullptr: no member reference
        const char* member;
    } cases[] = {
        {"/music/a.zip|song.mp3", "/music/a.zip", "song.mp3"},
        {"/music/a.ZIP|dir/song.mp3", "/music/a.ZIP", "dir/song.mp3"},
        {"/odd|folder/b.rar|x.wav", "/odd|folder/b.rar", "x.wav"},    // "|" before the archive
        {"/m/c.ace|inner.zip|x.wav", "/m/c.ace", "inner.zip|x.wav"},  // first archive wins
        {"/m/notes|x.wav", "/m/notes", "x.wav"},                      // no archive: first "|"
        {"/m/d.rar|", "/m/d.rar", ""},
        {"/m/song.mp3", nullptr, nullptr},
        {"/m/archive.zip", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reference);
        const auto split = splitMemberReference(QString::fromUtf8(c.reference));
        ASSERT_EQ(split.has_value(), c.archive != nullptr);
        if (split) {
            EXPECT_EQ(split->archivePath.toStdString(), c.archive);
            EXPECT_EQ(split->memberName.toStdString(), c.member);
            EXPECT_EQ(split->joined().toStdString(), c.reference);
        }
    }
    EXPECT_EQ(archiveKindOf("x.Rar"), ArchiveKind::Rar);
    EXPECT_EQ(archiveKindOf("x.ace"), ArchiveKind::Ace);
    EXPECT_EQ(archiveKindOf("x.zipx"), ArchiveKind::None);
    EXPECT_EQ(archiveKindOf("zip"), ArchiveKind::None);
}

TEST(ExtensionFilter, AppendsUntilKindSwitch) {
    EXPECT_EQ(ExtensionFilter::patternsFor(MediaKind::Pictures).mid(0, 3),
              QStringList({"*.bmp", "*.jpg", "*.gif"}));
    EXPECT_TRUE(ExtensionFilter::patternsFor(MediaKind::Pictures).contains("*.png"));
    EXPECT_TRUE(ExtensionFilter::patternsFor(MediaKind::Video).contains("*.mkv"));
    const QStringList audio = ExtensionFilter::patternsFor(MediaKind::Audio);
    EXPECT_EQ(audio.at(10), "*.mid");  // the classic list first, as it was
    EXPECT_TRUE(audio.contains("*.flac") && audio.contains("*.opus") && audio.contains("*.umx"));
    EXPECT_EQ(ExtensionFilter::patternsFor(MediaKind::Video).first(), "*.avi");
    EXPECT_TRUE(ExtensionFilter::patternsFor(MediaKind::CdAudio).isEmpty());

    ExtensionFilter filter;
    EXPECT_EQ(filter.filter(), "");
    EXPECT_EQ(filter.pattern(), "");
    filter.append({"*.wav", "*.mp3"});
    EXPECT_EQ(filter.filter(), "*.wav;*.mp3;");
    EXPECT_EQ(filter.pattern(), "*.wav;*.mp3");
    filter.append({});
    filter.append({"*.mid"});
    EXPECT_EQ(filter.filter(), "*.wav;*.mp3;*.mid;");
    filter.reset();
    EXPECT_EQ(filter.filter(), "");
}

// Current files: what libmpv plays and Qt's image plugins read, beside the classic endings.
TEST(ItemFormats, CurrentVideoAndPictureFilesAreItemsAndDropsOfTheirKind) {
    struct Case {
        const char* path;
        std::optional<MediaKind> kind;
    };
    const Case cases[] = {{"clip.MKV", MediaKind::Video},     {"clip.mp4", MediaKind::Video},
                          {"clip.webm", MediaKind::Video},    {"old.mpg", MediaKind::Video},
                          {"photo.PNG", MediaKind::Pictures}, {"photo.webp", MediaKind::Pictures},
                          {"scan.tiff", MediaKind::Pictures}, {"photo.jpeg", MediaKind::Pictures},
                          {"song.mp3", MediaKind::Audio},     {"notes.txt", std::nullopt},
                          {"clip.mkv.txt", std::nullopt}};
    for (const Case& c : cases) {
        EXPECT_EQ(dropKindOf(c.path), c.kind) << c.path;
        QString tag;
        for (MediaKind kind : {MediaKind::Video, MediaKind::Pictures}) {
            EXPECT_EQ(acceptItemPath(kind, c.path, tag), c.kind == kind) << c.path;
        }
    }
}

// Today's audio files and every module format libopenmpt plays are audio items; the type tag
// routes modules to the module player and MP3 to the streaming control, the rest to the device.
TEST(ItemFormats, CurrentAudioFilesAreAudioItemsWithTheirTypeTag) {
    const struct {
        const char* path;
        const char* tag;
    } cases[] = {{"a.flac", ""},    {"a.OGG", ""},    {"a.opus", ""},   {"a.m4a", ""},
                 {"a.aiff", ""},    {"a.wv", ""},     {"a.wma", ""},    {"a.mp2", "mp3"},
                 {"a.mptm", "mod"}, {"a.669", "mod"}, {"a.UMX", "mod"}, {"a.XM", "mod"}};
    for (const auto& c : cases) {
        QString tag = QStringLiteral("old");
        EXPECT_TRUE(acceptItemPath(MediaKind::Audio, c.path, tag)) << c.path;
        EXPECT_EQ(tag, c.tag) << c.path;
        EXPECT_EQ(dropKindOf(c.path), MediaKind::Audio) << c.path;
        EXPECT_FALSE(acceptItemPath(MediaKind::Video, c.path, tag)) << c.path;
    }
    QString tag;
    // A picture ending libopenmpt also claims stays a picture.
    EXPECT_EQ(dropKindOf("scan.ppm"), MediaKind::Pictures);
    EXPECT_FALSE(acceptItemPath(MediaKind::Audio, "scan.ppm", tag));
    EXPECT_FALSE(acceptItemPath(MediaKind::Audio, "a.flac.txt", tag));
}
