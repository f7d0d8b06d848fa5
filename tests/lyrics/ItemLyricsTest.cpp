#include <gtest/gtest.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/xiphcomment.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <map>

#include "lyrics/FileLyrics.h"
#include "lyrics/ItemLyrics.h"
#include "tests/support/AudioAnalysis.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

using namespace filelyrics;
using SyltFormat = TagLib::ID3v2::SynchronizedLyricsFrame::TimestampFormat;

struct MapStore : ItemLyricsStore {
    std::map<QString, QByteArray> items;
    std::optional<QByteArray> storedLyrics(const QString& title) override {
        const auto it = items.find(title);
        return it == items.end() ? std::nullopt : std::optional(it->second);
    }
    void storeLyrics(const QString& title, const QByteArray& lyrics) override {
        items[title] = lyrics;
    }
};

class ItemLyricsTest : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    QString mp3(const QString& name) {
        const QString wav = test::writeSineWav(path(name + ".wav"), 440, 1000);
        EXPECT_EQ(QProcess::execute("lame", {"--silent", wav, path(name + ".mp3")}), 0);
        QFile::remove(wav);
        return path(name + ".mp3");
    }

    static void addSylt(TagLib::ID3v2::Tag* tag, SyltFormat format,
                        std::initializer_list<std::pair<unsigned, const char*>> lines) {
        TagLib::ID3v2::SynchronizedLyricsFrame::SynchedTextList list;
        for (const auto& [time, text] : lines) {
            list.append({time, TagLib::String(text, TagLib::String::UTF8)});
        }
        auto* frame = new TagLib::ID3v2::SynchronizedLyricsFrame(TagLib::String::UTF8);
        frame->setTimestampFormat(format);
        frame->setType(TagLib::ID3v2::SynchronizedLyricsFrame::Lyrics);
        frame->setSynchedText(list);
        tag->addFrame(frame);
    }

    static void addUslt(TagLib::ID3v2::Tag* tag, const char* text) {
        auto* frame = new TagLib::ID3v2::UnsynchronizedLyricsFrame(TagLib::String::UTF8);
        frame->setText(text);
        tag->addFrame(frame);
    }

    QTemporaryDir dir;
};

TEST_F(ItemLyricsTest, Mp3TagsGiveTimedLinesBeforeTheirPlainText) {
    const QString both = mp3("both");
    const QString plain = mp3("plain");
    const QString frames = mp3("frames");
    {
        TagLib::MPEG::File file(QFile::encodeName(both).constData());
        addUslt(file.ID3v2Tag(true), "Plain words");
        addSylt(file.ID3v2Tag(), SyltFormat::AbsoluteMilliseconds,
                {{2500, "\nTwo"}, {1000, "One"}});
        file.ID3v2Tag()->setAlbum("Best Of");
        ASSERT_TRUE(file.save());
        TagLib::MPEG::File other(QFile::encodeName(plain).constData());
        addUslt(other.ID3v2Tag(true), "Plain words\nline two");
        ASSERT_TRUE(other.save());
        // 38 frames of 1152 samples at 44.1 kHz: 992 ms.
        TagLib::MPEG::File third(QFile::encodeName(frames).constData());
        addSylt(third.ID3v2Tag(true), SyltFormat::AbsoluteMpegFrames, {{38, "Framed"}});
        ASSERT_TRUE(third.save());
    }
    QString album;
    const SyncedLyrics timed = fromTags(both, &album);
    ASSERT_EQ(timed.lines.size(), 2);
    EXPECT_EQ(timed.lines[0], (LyricLine{1000, "One", {}}));
    EXPECT_EQ(timed.lines[1], (LyricLine{2500, "Two", {}}));
    EXPECT_EQ(album, "Best Of");
    EXPECT_EQ(fromTags(plain).plain, "Plain words\nline two");
    const SyncedLyrics framed = fromTags(frames);
    ASSERT_EQ(framed.lines.size(), 1);
    EXPECT_EQ(framed.lines[0].ms, 992);
}

TEST_F(ItemLyricsTest, FlacCommentsMayHoldLrcOrPlainText) {
    const QString wav = test::writeSineWav(path("a.wav"), 440, 500);
    for (const char* name : {"lrc.flac", "plain.flac"}) {
        ASSERT_EQ(QProcess::execute("sox", {wav, path(name)}), 0);
    }
    {
        TagLib::FLAC::File lrc(QFile::encodeName(path("lrc.flac")).constData());
        lrc.xiphComment(true)->addField("LYRICS", "[00:01.00]Flac line\n[00:02.00]More");
        ASSERT_TRUE(lrc.save());
        TagLib::FLAC::File plain(QFile::encodeName(path("plain.flac")).constData());
        plain.xiphComment(true)->addField("UNSYNCEDLYRICS", "Just sung");
        ASSERT_TRUE(plain.save());
    }
    const SyncedLyrics lrc = fromTags(path("lrc.flac"));
    ASSERT_EQ(lrc.lines.size(), 2);
    EXPECT_EQ(lrc.lines[0], (LyricLine{1000, "Flac line", {}}));
    EXPECT_EQ(fromTags(path("plain.flac")).plain, "Just sung");
    EXPECT_TRUE(fromTags(wav).isEmpty());
}

TEST_F(ItemLyricsTest, StoredLyricsWinOverTheLrcBesideWhichWinsOverTheTag) {
    const QString song = mp3("song");
    {
        TagLib::MPEG::File file(QFile::encodeName(song).constData());
        addUslt(file.ID3v2Tag(true), "From the tag");
        ASSERT_TRUE(file.save());
    }
    MapStore store;
    NowPlaying item{NowPlaying::Kind::AudioFile, "Song", "Artist", song, song, 1000};
    EXPECT_EQ(ItemLyrics::find(item, &store).lyrics.plain, "From the tag");
    test::writeFile(path("song.lrc"), "[00:00.50]Beside");
    EXPECT_EQ(ItemLyrics::find(item, &store).lyrics.lines.value(0).text, "Beside");
    // An archive member has no folder of its own to look beside.
    item.ownPath.clear();
    EXPECT_EQ(ItemLyrics::find(item, &store).lyrics.plain, "From the tag");
    store.items["Song"] = "[00:03.00]Stored";
    const ItemLyrics stored = ItemLyrics::find(item, &store);
    EXPECT_TRUE(stored.stored);
    EXPECT_EQ(stored.lyrics.lines.value(0).ms, 3000);
    item.kind = NowPlaying::Kind::Module;
    EXPECT_TRUE(ItemLyrics::find(item, &store).lyrics.isEmpty());
}

QByteArray vlq(quint32 v) {
    QByteArray out(1, char(v & 0x7F));
    while ((v >>= 7) != 0) {
        out.prepend(char(0x80 | (v & 0x7F)));
    }
    return out;
}

TEST_F(ItemLyricsTest, MidiLyricEventsAreTimedByTheTempoMap) {
    QFile kar(test::testdata("midi/test-karaoke-kar.mid"));
    ASSERT_TRUE(kar.open(QIODevice::ReadOnly));
    const SyncedLyrics karaoke = fromMidi(kar.readAll());
    ASSERT_EQ(karaoke.lines.size(), 6);
    EXPECT_EQ(karaoke.lines[1].text, "Mary was a little lame,");
    EXPECT_EQ(karaoke.lines[2].text, "Little lame,");
    EXPECT_EQ(karaoke.lines[2].ms, 2666);
    EXPECT_EQ(karaoke.lines[1].words.size(), 7);

    // 480 ticks a beat at 120 bpm, then from tick 960 twice as fast; 3000 more syllables.
    QByteArray track;
    track += vlq(0) + QByteArray("\xFF\x51\x03\x07\xA1\x20", 6);
    track += vlq(480) + QByteArray("\xFF\x05\x03Hel", 6);
    track += vlq(0) + QByteArray("\xFF\x05\x04lo\r\n", 7);
    track += vlq(480) + QByteArray("\xFF\x51\x03\x03\xD0\x90", 6);
    track += vlq(480) + QByteArray("\xFF\x05\x04/Two", 7);
    for (int i = 0; i < 3000; ++i) {
        track += vlq(1) + QByteArray("\xFF\x05\x02la", 5);
    }
    track += vlq(0) + QByteArray("\xFF\x2F\x00", 3);
    QByteArray midi("MThd\0\0\0\x06\0\0\0\x01\x01\xE0MTrk", 18);
    for (int shift = 24; shift >= 0; shift -= 8) {
        midi += char((track.size() >> shift) & 0xFF);
    }
    const SyncedLyrics made = fromMidi(midi + track);
    ASSERT_EQ(made.lines.size(), 2);
    EXPECT_EQ(made.lines[0], (LyricLine{500, "Hello", {{500, 0, 3}, {500, 3, 2}}}));
    EXPECT_EQ(made.lines[1].ms, 1250);
    EXPECT_EQ(made.lines[1].words.size(), 3001);
    EXPECT_TRUE(fromMidi("MThd broken").isEmpty());
}

}  // namespace
}  // namespace marlo
