#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include "FakeLyricsServer.h"
#include "lyrics/Lyric.h"

namespace marlo {
namespace {

using test::FakeLyricsServer;
using Outcome = Lyric::Outcome;

// Picks the third line and remembers what it was shown.
class PickThird : public SongChooser {
  public:
    int chooseSong(const QList<LyricsHit>& hits) override {
        shown = hits;
        return 2;
    }
    QList<LyricsHit> shown;
};

class LyricFetchTest : public ::testing::Test {
  protected:
    LyricFetchTest() {
        lyric.setChooser(&chooser);
        lyric.setTimeoutMs(kBoundMs);
        QObject::connect(&lyric, &Lyric::commInfo, [this](const QString& text, bool flag) {
            notices.append({text, flag});
        });
    }

    QString fetch(const QString& server, QString artist, QString album, QString song) {
        lyric.setServer(server);
        return lyric.getLyrics(artist, album, song);
    }

    bool noticed(const QString& text, bool flag) const {
        return notices.contains(std::pair{text, flag});
    }

    static constexpr int kBoundMs = 1000;
    FakeLyricsServer server;
    PickThird chooser;
    Lyric lyric;
    QList<std::pair<QString, bool>> notices;
};

TEST_F(LyricFetchTest, BothProtocolsGiveTheirResults) {
    struct Case {
        bool lrclib;
        QString song;
        Outcome outcome;
        QString result;
        int hits;   // hits kept
        int shown;  // hits the chooser was shown (0 = not asked)
    };
    const QString noSongs = "No Songs Found!";
    const QList<Case> cases{
        {false, "zero", Outcome::NotFound, noSongs, 0, 0},
        {false, "noid", Outcome::NoId, "Error Getting ID", 0, 0},
        {false, "one", Outcome::Found, test::lyricsOfClassicSong(11), 1, 0},
        {false, "three", Outcome::Found, test::lyricsOfClassicSong(33), 3, 3},
        {false, "many", Outcome::Found, test::lyricsOfClassicSong(3), 1000, 1000},
        {false, "nofulltext", Outcome::Empty, "", 1, 0},
        {false, "noclick", Outcome::Empty, "", 1, 0},
        {true, "zero", Outcome::NotFound, noSongs, 0, 0},
        {true, "one", Outcome::Found, "Line one of 101\r\r\n\r\r\nLine two", 1, 0},
        {true, "three", Outcome::Found, "Line one of 303\r\r\n\r\r\nLine two", 3, 3},
        {true, "many", Outcome::Found, "Line one of 1002\r\r\n\r\r\nLine two", 1000, 1000},
        {true, "emptyplain", Outcome::NotFound, noSongs, 1, 0},
        {true, "syncedonly", Outcome::Found, "First\r\r\nSecond", 1, 0},
        {true, "Für Elise & Co", Outcome::Found, QStringLiteral("Grüße aus Köln\r\r\nこんにちは"),
         1, 0},
        {true, "malformed", Outcome::Failed,
         "Lyrics transfer failed: the server's answer is not readable JSON", 0, 0},
    };
    for (const Case& c : cases) {
        const std::string name = (c.lrclib ? "lrclib " : "classic ") + c.song.toStdString();
        chooser.shown.clear();
        notices.clear();
        const QString result = fetch(c.lrclib ? server.lrclibEntry() : server.classicEntry(),
                                     "Some Band", "First Album", c.song);
        EXPECT_EQ(result, c.result) << name;
        EXPECT_EQ(lyric.outcome(), c.outcome) << name;
        EXPECT_EQ(lyric.hitCount(), c.hits) << name;
        EXPECT_EQ(chooser.shown.size(), c.shown) << name;
        if (c.hits > 0) {
            EXPECT_TRUE(noticed(QStringLiteral("%1 songs found").arg(c.hits), false)) << name;
        }
        ASSERT_FALSE(notices.isEmpty()) << name;
        EXPECT_EQ(notices.last(), std::pair(QStringLiteral("Done"), false)) << name;
    }
}

TEST_F(LyricFetchTest, ChooserSeesTitlesAndTheChosenSongIsFetched) {
    fetch(server.lrclibEntry(), "Some Band", "First Album", "three");
    ASSERT_EQ(chooser.shown.size(), 3);
    EXPECT_EQ(chooser.shown[0].title, "Artist 301 / Track 301 / Album 301");
    EXPECT_EQ(lyric.chosenId(), "303");
    EXPECT_EQ(server.log().last(), "/api/get/303");

    fetch(server.classicEntry(), "Some Band", "First Album", "three");
    ASSERT_EQ(chooser.shown.size(), 3);
    EXPECT_EQ(chooser.shown[1].title, "Song number 32");
    EXPECT_EQ(server.log().last(), "/query/get?s=33");
}

TEST_F(LyricFetchTest, WithoutChooserTheFirstHitIsTaken) {
    lyric.setChooser(nullptr);
    EXPECT_EQ(fetch(server.classicEntry(), "A", "B", "three"), test::lyricsOfClassicSong(31));
    EXPECT_EQ(fetch(server.lrclibEntry(), "A", "B", "three"),
              "Line one of 301\r\r\n\r\r\nLine two");
}

TEST_F(LyricFetchTest, QueriesAreEncodedPerProtocolAndBlanksComeBackAsPlus) {
    QString artist = "Some Band";
    QString album = "First & Best";
    QString song = "Opening Song";
    lyric.setServer(server.classicEntry());
    lyric.getLyrics(artist, album, song);
    EXPECT_EQ(artist, "Some+Band");
    EXPECT_EQ(album, "First+&+Best");
    EXPECT_EQ(song, "Opening+Song");
    const QString classicTarget =
        "/query/normal?artist=Some+Band&album=First+%26+Best&song=Opening+Song";
    EXPECT_EQ(server.log().first(), classicTarget);
    EXPECT_TRUE(noticed("Get: http://" + server.classicEntry() + classicTarget, true));
    EXPECT_TRUE(noticed("Connecting", false));
    EXPECT_TRUE(noticed("Request completed", false));

    fetch(server.lrclibEntry(), "Sänger", "Best? #1", "Für Elise & Co");
    EXPECT_TRUE(server.log().contains(
        "/api/search?track_name=F%C3%BCr%20Elise%20%26%20Co&artist_name=S%C3%A4nger"
        "&album_name=Best%3F%20%231"));
}

TEST_F(LyricFetchTest, BlankArtistOrAlbumAsksNobody) {
    EXPECT_EQ(fetch(server.classicEntry(), "", "B", "C"), "Artist Property is blank");
    EXPECT_EQ(fetch(server.lrclibEntry(), "A", "", "C"), "Album Property is blank");
    EXPECT_EQ(lyric.outcome(), Outcome::Blank);
    EXPECT_TRUE(notices.isEmpty());
    EXPECT_TRUE(server.log().isEmpty());
}

// Every bad answer ends within the bound with a failure text and no lyrics, for both kinds.
TEST_F(LyricFetchTest, BadServersEndInTimeWithAFailureText) {
    struct Case {
        QString song;
        QString reason;
    };
    const QList<Case> cases{
        {"slow", "no complete answer within 1 s"},
        {"silent", "no complete answer within 1 s"},
        {"midbody", ""},  // Qt's own words for the broken connection
        {"huge", "the page is larger than 2 MiB"},
        {"hugedeclared", "the page is larger than 2 MiB"},
        {"404", "the server answered HTTP 404"},
        {"500", "the server answered HTTP 500"},
    };
    for (const bool lrclib : {false, true}) {
        for (const Case& c : cases) {
            const std::string name = (lrclib ? "lrclib " : "classic ") + c.song.toStdString();
            notices.clear();
            QElapsedTimer clock;
            clock.start();
            const QString result = fetch(lrclib ? server.lrclibEntry() : server.classicEntry(),
                                         "Some Band", "First Album", c.song);
            EXPECT_LT(clock.elapsed(), kBoundMs + 1500) << name;
            EXPECT_EQ(lyric.outcome(), Outcome::Failed) << name;
            EXPECT_TRUE(result.startsWith("Lyrics transfer failed: "))
                << name << " " << result.toStdString();
            if (!c.reason.isEmpty()) {
                EXPECT_EQ(result, "Lyrics transfer failed: " + c.reason) << name;
            }
            EXPECT_TRUE(noticed("Communications error", false)) << name;
            EXPECT_EQ(notices.last(), std::pair(QStringLiteral("Done"), false)) << name;
            EXPECT_EQ(lyric.hitCount(), 0) << name;
        }
    }
}

TEST_F(LyricFetchTest, ASecondFetchDuringTheWaitIsRefusedAndTheWindowRuns) {
    QString second;
    bool timerRan = false;
    QTimer::singleShot(200, [&] {
        timerRan = true;
        QString a = "A", b = "B", c = "one";
        second = lyric.getLyrics(a, b, c);
    });
    fetch(server.classicEntry(), "A", "B", "silent");
    EXPECT_TRUE(timerRan);
    EXPECT_EQ(second, "A lyrics fetch is already running");
    EXPECT_EQ(lyric.outcome(), Outcome::Failed);
    EXPECT_FALSE(lyric.busy());
    // The refused call sent nothing.
    EXPECT_EQ(server.log().size(), 1);
}

TEST_F(LyricFetchTest, AnUnusableServerEntryIsAFailure) {
    const QString result = fetch("ftp://example.org", "A", "B", "C");
    EXPECT_EQ(lyric.outcome(), Outcome::Failed);
    EXPECT_TRUE(result.startsWith("Lyrics transfer failed: ")) << result.toStdString();
}

}  // namespace
}  // namespace marlo
