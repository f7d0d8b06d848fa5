#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <map>

#include "FakeLyricsServer.h"
#include "base/Catalogue.h"
#include "base/EventWait.h"
#include "base/texts/LyricsTexts.h"
#include "lyrics/DisplayLyrics.h"
#include "lyrics/LyricsFollower.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

namespace lt = texts::lyrics;

// Stands still unless it runs; then the position moves on with the clock.
struct FakePlayer : LyricsPlayer {
    QString currentKey() override { return item.title; }
    NowPlaying nowPlaying() override { return item; }
    qint64 positionMs() override { return position + (clock.isValid() ? clock.elapsed() : 0); }
    bool running() override { return clock.isValid(); }
    bool canSeek() override { return seekable; }
    void seekTo(qint64 ms) override { seeks.append(position = ms); }
    void setChangeListener(std::function<void()> listener) override { changed = listener; }

    NowPlaying item;
    qint64 position = 0;
    QElapsedTimer clock;
    bool seekable = true;
    QList<qint64> seeks;
    std::function<void()> changed;
};

struct MapStore : ItemLyricsStore {
    std::optional<QByteArray> storedLyrics(const QString& title) override {
        const auto it = items.find(title);
        return it == items.end() ? std::nullopt : std::optional(it->second);
    }
    void storeLyrics(const QString& title, const QByteArray& lyrics) override {
        items[title] = lyrics;
        ++stores;
    }
    std::map<QString, QByteArray> items;
    int stores = 0;
};

class LyricsFollowerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Catalogue::setLanguage(UiLanguage::English);
        follower.setStore(&store);
        follower.setServer([this] { return server.lrclibEntry(); });
    }
    void TearDown() override { Catalogue::setLanguage(UiLanguage::German); }

    NowPlaying song(const QString& title, const QByteArray& lrc = {}) {
        const QString path = dir.filePath(title + ".wav");
        test::writeFile(path, "RIFF");
        if (!lrc.isEmpty()) {
            test::writeFile(dir.filePath(title + ".lrc"), lrc);
        }
        return {NowPlaying::Kind::AudioFile, title, "Artist", path, path, 200000};
    }
    QString shownText() const { return window.text()->toPlainText(); }
    void waitForLookup() {
        waitWhileDispatching([this] { return !follower.looking(); }, 5000);
    }

    QTemporaryDir dir;
    test::FakeLyricsServer server;
    FakePlayer player;
    MapStore store;
    DisplayLyrics window;
    LyricsFollower follower{window, player};
};

TEST_F(LyricsFollowerTest, TheLitLineFollowsPlaybackSeeksAndTheNextItem) {
    player.item = song("one", "[00:03.00]First\n[00:06.00]Second\n[00:09.00]Third\n");
    follower.showItem(player.item);
    EXPECT_FALSE(follower.active());  // hidden: nothing runs
    window.show();
    EXPECT_TRUE(follower.active());
    EXPECT_EQ(window.litLine(), -1);
    for (const auto& [at, line] : {std::pair{3000, 0}, {5999, 0}, {6000, 1}, {60000, 2}}) {
        player.position = at;
        follower.tick();
        EXPECT_EQ(window.litLine(), line) << at;
    }
    // A click on a line seeks there, unless the item cannot seek.
    QTextCursor second(window.text()->document()->findBlockByNumber(1));
    const QPoint onSecond = window.text()->cursorRect(second).center();
    QTest::mouseClick(window.text()->viewport(), Qt::LeftButton, {}, onSecond);
    EXPECT_EQ(player.seeks, QList<qint64>{6000});
    EXPECT_EQ(window.litLine(), 1);
    player.seekable = false;
    QTest::mouseClick(window.text()->viewport(), Qt::LeftButton, {}, onSecond);
    EXPECT_EQ(player.seeks.size(), 1);

    // "+" shows the lyrics 100 ms earlier; the offset is stored with them for the item.
    player.position = 8950;
    follower.tick();
    EXPECT_EQ(window.litLine(), 1);
    QTest::keyClick(window.text(), '+');
    EXPECT_EQ(window.litLine(), 2);
    QTest::keyClick(window.text(), '-');
    QTest::keyClick(window.text(), '+');

    // Another item: the player says something changed.
    player.item = song("two", "[00:01.00]Other song\n");
    player.changed();
    QTest::qWait(20);
    EXPECT_EQ(shownText(), "Other song");
    EXPECT_EQ(window.windowTitle(), "Lyrics Displayer - two");
    ASSERT_EQ(store.items.count("one"), 1u);
    EXPECT_EQ(store.stores, 1);
    EXPECT_TRUE(store.items["one"].startsWith("[offset:100]\n[00:03.000]First\n"));
    window.hide();
    EXPECT_FALSE(follower.active());
}

TEST_F(LyricsFollowerTest, WhileThePositionRunsTheNextLineLightsWhenItIsDue) {
    player.item = song("run", "[00:00.10]One\n[00:00.40]Two\n");
    window.show();
    follower.showItem(player.item);
    EXPECT_EQ(window.litLine(), -1);
    player.clock.start();
    player.changed();  // Play
    EXPECT_TRUE(waitWhileDispatching([this] { return window.litLine() == 1; }, 3000));
    EXPECT_GE(player.positionMs(), 400);
}

TEST_F(LyricsFollowerTest, WordsLightOneByOneAndAModuleHasNone) {
    player.item = song("w", "[00:01.00]<00:01.00>Hel <00:01.50>lo\n");
    window.show();
    follower.showItem(player.item);
    player.position = 1600;
    follower.tick();
    const QList<QTextEdit::ExtraSelection> lit = window.text()->extraSelections();
    ASSERT_EQ(lit.size(), 2);
    EXPECT_EQ(lit[1].cursor.selectedText(), "lo");
    player.item.kind = NowPlaying::Kind::Module;
    player.item.title = "mod";
    follower.tick();
    EXPECT_EQ(shownText(), Catalogue::text(lt::kModuleNoLyrics));
    EXPECT_TRUE(server.log().isEmpty());
}

TEST_F(LyricsFollowerTest, TheServerIsAskedInTheBackgroundOnceAndItsFindIsStored) {
    // Hidden: nothing is asked.
    player.item = song("synced");
    follower.showItem(player.item);
    QTest::qWait(50);
    EXPECT_TRUE(server.log().isEmpty());

    window.show();
    EXPECT_TRUE(follower.looking());
    EXPECT_EQ(shownText(), Catalogue::text(lt::kSearchingSongLyrics));
    waitForLookup();
    ASSERT_EQ(server.log().size(), 1);
    EXPECT_EQ(server.log()[0], "/api/get?track_name=synced&artist_name=Artist&duration=200");
    EXPECT_TRUE(server.userAgent().startsWith("Marlo/"));
    EXPECT_EQ(shownText(), "Fetched one\nFetched two");
    EXPECT_TRUE(store.items["synced"].startsWith("[00:01.00]Fetched one"));
    follower.showItem(player.item);  // stored now: not fetched again
    EXPECT_EQ(server.log().size(), 1);

    // Not at "/api/get": the search finds it, and bad answers are searched past.
    for (const char* title : {"syncedonly", "badtypes"}) {
        player.item = song(title);
        follower.showItem(player.item);
        waitForLookup();
        EXPECT_TRUE(server.log().last().startsWith("/api/search?track_name=")) << title;
        EXPECT_TRUE(store.items.count(title)) << title;
    }
    EXPECT_EQ(shownText(), "Line one of 101\n\nLine two");

    // Nothing there: said in the window, and not asked again in this session.
    player.item = song("instrumental");
    follower.showItem(player.item);
    waitForLookup();
    EXPECT_EQ(shownText(), Catalogue::text(lt::kNoSongLyrics));
    const qsizetype asked = server.log().size();
    follower.showItem(player.item);
    EXPECT_FALSE(follower.looking());
    EXPECT_EQ(server.log().size(), asked);
    EXPECT_EQ(store.items.count("instrumental"), 0u);
}

TEST_F(LyricsFollowerTest, ASlowServerLeavesTheWindowFollowingAndGivesUpInTime) {
    window.show();
    follower.setLookupTimeoutMs(2000);
    player.item = song("slow");
    QElapsedTimer clock;
    clock.start();
    follower.showItem(player.item);
    EXPECT_LT(clock.elapsed(), 1000);  // a fetch that waited would take 2 s
    EXPECT_TRUE(follower.looking());
    waitForLookup();
    EXPECT_EQ(shownText(), Catalogue::text(lt::kNoSongLyrics));
}

}  // namespace
}  // namespace marlo
