#include <gtest/gtest.h>

#include <QFile>

#include "cd/CdBase.h"
#include "cd/CddbEntry.h"
#include "cd/TocDrive.h"
#include "tests/cd/CdFixture.h"
#include "tests/support/ScriptedPrompts.h"

namespace marlo {
namespace {

QString readReplyOf(const QString& file) {
    QFile f(test::testDataDir(QStringLiteral("libcddb-cache/misc/") + file));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(f.readAll());
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return QStringLiteral("210 misc ") + file + QStringLiteral(" entry follows\r\n") + text +
           QStringLiteral(".\r\n");
}

TEST(CddbParse, DiscTitleSplitsAtBlankSlashBlankFirst) {
    struct Case {
        const char* title;
        const char* artist;
        const char* album;
    };
    const Case cases[] = {
        {"AC/DC / Back in Black", "AC/DC", "Back in Black"},
        {"Some Artist / Album", "Some Artist", "Album"},
        {"Some Artist/Album", "Some Artist", "Album"},
        {"Artist  /Album", "Artist", "Album"},
        {"Album", "Album", "Album"},
        {"Track/Artist8 / Track/Title8", "Track/Artist8", "Track/Title8"},
    };
    for (const Case& c : cases) {
        const DiscTitleParts parts = splitDiscTitle(QString::fromUtf8(c.title));
        EXPECT_EQ(parts.artist, QString::fromUtf8(c.artist)) << c.title;
        EXPECT_EQ(parts.album, QString::fromUtf8(c.album)) << c.title;
    }
}

TEST(CddbParse, EntryFieldsFromStoredEntries) {
    CddbEntry entry;
    ASSERT_TRUE(parseEntry(readReplyOf(QStringLiteral("12345678")), entry));
    EXPECT_EQ(entry.category, QStringLiteral("misc"));
    EXPECT_EQ(entry.dataRev, 1);
    EXPECT_EQ(entry.title, QStringLiteral("DiscArtist / DiscTitle"));
    EXPECT_EQ(entry.artist, QStringLiteral("DiscArtist"));
    EXPECT_EQ(entry.cdTitle, QStringLiteral("DiscTitle"));
    ASSERT_EQ(entry.songs.size(), 16);
    // Values split over several lines of one key are joined without separator.
    EXPECT_EQ(entry.songs.at(2), QStringLiteral("TrackArtist3 cntd. / TrackTitle3"));
    EXPECT_EQ(entry.songs.at(4), QStringLiteral("TrackArtist5 / TrackTitle5"));
    EXPECT_EQ(entry.songs.at(13), QStringLiteral("TrackTitle14"));
    EXPECT_EQ(entry.extTracks.value(1), QStringLiteral("TrackExt2"));

    // A disc title split over two lines.
    ASSERT_TRUE(
        parseEntry(QStringLiteral("210 rock 1 x\r\nDTITLE=Some Art\r\nDTITLE=ist / Album\r\n"
                                  "TTITLE0=a\r\nTTITLE1=b\r\nTTITLE3=d\r\n.\r\n"),
                   entry));
    EXPECT_EQ(entry.title, QStringLiteral("Some Artist / Album"));
    EXPECT_EQ(entry.artist, QStringLiteral("Some Artist"));
    EXPECT_EQ(entry.cdTitle, QStringLiteral("Album"));
    EXPECT_EQ(entry.category, QStringLiteral("rock"));
    // The missing number 2 ends the titles.
    EXPECT_EQ(entry.songs, QStringList({QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(entry.summary(), QStringLiteral("Some Artist / Album\r\n2\r\na\r\nb"));

    EXPECT_FALSE(parseEntry(QStringLiteral("600 Timeout"), entry));
}

TEST(CddbParse, CloseMatchesAndExactMatch) {
    const QList<CloseMatch> matches = decodeCloseMatches(
        QStringLiteral("211 Found inexact matches\r\nmisc 12345678 DiscArtist / DiscTitle\r\n"
                       "rock 940aac0d Marina & The Diamonds / The Family Jewels\r\n.\r\n"));
    ASSERT_EQ(matches.size(), 2);
    EXPECT_EQ(matches.at(1).category, QStringLiteral("rock"));
    EXPECT_EQ(matches.at(1).discId, QStringLiteral("940aac0d"));
    EXPECT_EQ(matches.at(1).title, QStringLiteral("Marina & The Diamonds / The Family Jewels"));
    const CloseMatch exact =
        parseExactMatch(QStringLiteral("200 misc 940aac0d Marina & The Diamonds / X\r\n"));
    EXPECT_EQ(exact.category, QStringLiteral("misc"));
    EXPECT_EQ(exact.discId, QStringLiteral("940aac0d"));
    EXPECT_EQ(exact.title, QStringLiteral("Marina & The Diamonds / X"));
    EXPECT_EQ(replyCode(QStringLiteral("x21 garbage")), 0);
}

// Like a real drive, it knows its table of contents only while open.
class ClosingDrive : public TocDrive {
  public:
    using TocDrive::TocDrive;
    int trackCount() const override { return isOpen() ? TocDrive::trackCount() : 0; }
    quint32 trackStart(int track) const override {
        return isOpen() ? TocDrive::trackStart(track) : 0;
    }
    quint32 trackLength(int track) const override {
        return isOpen() ? TocDrive::trackLength(track) : 0;
    }
};

TEST(CddbParse, SubmissionTextReadsBackAsTheSameEntry) {
    test::ScriptedPrompts prompts;
    ClosingDrive drive({{150, 22660, 42790}, 57061});  // closed at every call
    CdBase cd(prompts);
    cd.setDrive(&drive);
    EXPECT_EQ(cd.submitString(), QStringLiteral("Error: Invalid DataRev number: 0"));
    cd.setDataRev(3);
    cd.setArtist(QStringLiteral("AC/DC"));
    cd.setCdTitle(QStringLiteral("Back in Black"));
    // Titles of an earlier entry of four tracks; the entry now has two of the disc's three.
    for (int n = 1; n <= 4; ++n) {
        cd.setSongName(n, QStringLiteral("old %1").arg(n));
    }
    cd.setTracks(2);
    cd.setSongName(1, QStringLiteral("Hells Bells"));
    cd.setSongName(2, QStringLiteral("Shoot to Thrill"));
    EXPECT_EQ(cd.submitString(), QStringLiteral("Error: Missing song name on song: 3"));
    EXPECT_EQ(cd.tracks(), 2);
    cd.setTracks(3);
    cd.setSongName(3, QStringLiteral("What Do You Do for Money Honey"));
    cd.setExtTrackData(2, QStringLiteral("live"));
    const QString text = cd.submitString();
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("# xmcd\r\n#\r\n# Track frame offsets:\r\n# 150\r\n"
                                       "# 22660\r\n# 42790\r\n#\r\n"
                                       "# Disc length: 761 Seconds\r\n")))
        << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("DISCID=1302f603\r\n")));
    CddbEntry entry;
    ASSERT_TRUE(parseEntry(QStringLiteral("210 misc 1302f603 x\r\n") + text, entry));
    EXPECT_EQ(entry.dataRev, 3);
    EXPECT_EQ(entry.artist, QStringLiteral("AC/DC"));
    EXPECT_EQ(entry.cdTitle, QStringLiteral("Back in Black"));
    EXPECT_EQ(entry.songs.size(), 3);
    EXPECT_EQ(entry.songs.at(2), QStringLiteral("What Do You Do for Money Honey"));
    EXPECT_EQ(entry.extTracks.value(1), QStringLiteral("live"));
}

TEST(CddbParse, PropertyRules) {
    test::ScriptedPrompts prompts;
    CdBase cd(prompts);
    EXPECT_EQ(cd.replyTimeout(), 30000);
    cd.setConnectTimeout(100);
    EXPECT_EQ(cd.connectTimeout(), 5000);
    cd.setConnectTimeout(100000);
    EXPECT_EQ(cd.replyTimeout(), 65535);
    cd.setEmail(QStringLiteral("me@x"));
    cd.setEmail(QStringLiteral("a b"));
    cd.setHostName(QStringLiteral("my host"));
    EXPECT_EQ(cd.email(), QStringLiteral("me@x"));
    EXPECT_TRUE(cd.hostName().isEmpty());
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown.at(0).title, QStringLiteral("Cddb Control Error"));
    EXPECT_EQ(prompts.shown.at(0).text, QStringLiteral("No spaces allowed in Email"));
    EXPECT_EQ(prompts.shown.at(0).icon, PromptIcon::Error);
    EXPECT_TRUE(prompts.shown.at(1).title.isEmpty());
    EXPECT_EQ(prompts.shown.at(1).text, QStringLiteral("No spaces allowed in HostName"));
}

}  // namespace
}  // namespace marlo
