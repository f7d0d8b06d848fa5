// What follows an item, the list navigation and taking over a new list.
#include "base/EventWait.h"
#include "tests/player/EngineFixture.h"

namespace marlo::test {
namespace {

enum class Repeat { All, One, Neither, Both };

enum class Via { AudioDevice, Streaming, Module };

struct EndCase {
    Via via;
    bool atLast;
    Repeat repeat;
    int expectedIndex;  // list of three, starting at entry 1 (other) or 2 (last)
    bool playsOn;
};

void PrintTo(const EndCase& c, std::ostream* out) {
    *out << (c.via == Via::Module      ? "module"
             : c.via == Via::Streaming ? "streaming"
                                       : "item")
         << (c.atLast ? " at last" : " at other") << " repeat=" << static_cast<int>(c.repeat);
}

class EndOfItem : public EngineFixture, public ::testing::WithParamInterface<EndCase> {};

TEST_P(EndOfItem, RepeatsAdvancesOrEnds) {
    const EndCase c = GetParam();
    set(option::kRepeatAll, c.repeat == Repeat::All || c.repeat == Repeat::Both);
    set(option::kRepeatOne, c.repeat == Repeat::One || c.repeat == Repeat::Both);
    const bool module = c.via == Via::Module;
    addItems({"A", "B", "C"}, module ? "mod" : c.via == Via::Streaming ? "mp3" : "");
    select(c.atLast ? 2 : 1);
    engine.play();
    ASSERT_TRUE(engine.state().playing);
    const auto starts = [&] {
        return module                    ? modulePlays()
               : c.via == Via::Streaming ? static_cast<int>(streaming.log.count("run"))
                                         : audioPlays();
    };
    const int startsBefore = starts();

    if (module) {
        modules.status.position = 3;
        engine.pollTick();
        modules.status.position = 0;  // looped back to the start: the end
        engine.pollTick();
    } else if (c.via == Via::Streaming) {
        streaming.fireDone();
    } else {
        audio.fireDone();
    }

    EXPECT_EQ(index(), c.expectedIndex);
    EXPECT_EQ(engine.state().playing, c.playsOn);
    EXPECT_EQ(starts() - startsBefore, c.playsOn ? 1 : 0);
    if (!c.playsOn) {
        EXPECT_EQ(display.play(), ButtonLook::Idle);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, EndOfItem,
    ::testing::Values(EndCase{Via::AudioDevice, true, Repeat::All, 0, true},
                      EndCase{Via::AudioDevice, true, Repeat::One, 2, true},
                      EndCase{Via::AudioDevice, true, Repeat::Neither, 2, false},
                      EndCase{Via::AudioDevice, true, Repeat::Both, 0, true},
                      EndCase{Via::AudioDevice, false, Repeat::All, 2, true},
                      EndCase{Via::AudioDevice, false, Repeat::One, 1, true},
                      EndCase{Via::AudioDevice, false, Repeat::Neither, 1, false},
                      EndCase{Via::AudioDevice, false, Repeat::Both, 1, true},
                      EndCase{Via::Module, true, Repeat::All, 0, true},
                      EndCase{Via::Module, true, Repeat::One, 2, true},
                      EndCase{Via::Module, true, Repeat::Neither, 2, false},
                      EndCase{Via::Module, false, Repeat::All, 2, true},
                      EndCase{Via::Module, false, Repeat::One, 1, true},
                      // Unlike other items, a module in the middle goes on to the next entry.
                      EndCase{Via::Module, false, Repeat::Neither, 2, true},
                      EndCase{Via::Streaming, true, Repeat::All, 0, true},
                      EndCase{Via::Streaming, false, Repeat::Neither, 1, false},
                      EndCase{Via::Streaming, false, Repeat::All, 2, true}));

struct NavCase {
    bool forward;
    int from;
    bool wrap;
    int expected;
};

class Navigation : public EngineFixture, public ::testing::WithParamInterface<NavCase> {};

TEST_P(Navigation, MovesWithinOrAroundTheList) {
    const NavCase c = GetParam();
    set(option::kRepeatAll, c.wrap);
    addItems({"A", "B", "C"});
    select(c.from);
    audio.log.clear();
    c.forward ? engine.next() : engine.previous();
    EXPECT_EQ(index(), c.expected);
    if (c.expected == c.from) {
        EXPECT_TRUE(audio.log.isEmpty()) << "a refused move loads nothing";
    } else {
        // Not playing: the new entry is only loaded.
        EXPECT_EQ(audio.commands(), QStringList({"open", "close"}));
        EXPECT_FALSE(engine.state().playing);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Navigation,
                         ::testing::Values(NavCase{true, 2, false, 2}, NavCase{true, 2, true, 0},
                                           NavCase{true, 0, false, 1}, NavCase{true, 0, true, 1},
                                           NavCase{false, 0, false, 0}, NavCase{false, 0, true, 2},
                                           NavCase{false, 2, false, 1},
                                           NavCase{false, 2, true, 1}));

TEST_F(EngineFixture, NextWhilePlayingStopsAndPlaysTheNextEntry) {
    addItems({"A", "B"});
    select(0);
    engine.play();
    engine.next();
    EXPECT_EQ(index(), 1);
    EXPECT_TRUE(engine.state().playing);
    EXPECT_EQ(audio.commands(), QStringList({"open", "play", "stop", "close", "open", "play"}));
    EXPECT_EQ(display.titel(), "B");
    EXPECT_EQ(display.next(), ButtonLook::Disabled);
    EXPECT_EQ(display.previous(), ButtonLook::Enabled);
}

// Resuming may load a played-out file again while window events go on: Stop pressed meanwhile
// acts once the resume is done, not in the middle of it.
TEST_F(EngineFixture, StopPressedWhileAResumeWaitsActsAfterIt) {
    addItems({"A"});
    engine.play();
    engine.pause();
    audio.during = [this](const QString& command) {
        if (command == "play") {
            QTimer::singleShot(0, &engine, [this] { engine.stop(); });
            waitWhileDispatching([] { return false; }, 50);
            audio.log << "play done";
        }
    };
    engine.play();
    audio.during = nullptr;
    settle();
    EXPECT_EQ(audio.commands().mid(3), QStringList({"play", "play done", "stop", "close"}));
    EXPECT_FALSE(engine.state().playing);
    EXPECT_EQ(display.pause(), ButtonLook::Idle);
}

TEST_F(EngineFixture, PageKeysAndSpaceActAsTheButtons) {
    addItems({"A", "B"});
    select(0);
    engine.remoteKey(34);
    EXPECT_EQ(index(), 1);
    engine.remoteKey(33);
    EXPECT_EQ(index(), 0);
    engine.remoteKey(32);
    EXPECT_TRUE(engine.state().playing);
    engine.remoteKey(32);
    EXPECT_TRUE(engine.state().paused);
}

TEST_F(EngineFixture, TakeOverLoadsTheFirstEntryWithoutPlaying) {
    audio.fileLength = 75 * 60 * 1000;
    addItems({"A", "B"});
    select(1);
    engine.takeOverPlaybackList();
    EXPECT_EQ(index(), 0);
    EXPECT_FALSE(engine.state().playing);
    EXPECT_EQ(display.titel(), "A");
    EXPECT_EQ(display.dauer(), "15:00 min:sec");  // a time of day: hours drop out
    EXPECT_EQ(display.interpret(), "Artist");
    EXPECT_EQ(audio.commands(), QStringList({"open", "close"}));
}

TEST_F(EngineFixture, TakeOverWithAutoplayPlaysAndKeepsAPlayingEntry) {
    set(option::kAutoplay);
    addItems({"A", "B"});
    engine.takeOverPlaybackList();
    EXPECT_TRUE(engine.state().playing);
    EXPECT_EQ(audioPlays(), 1);

    // A new list while "A" plays: "A" is selected again where it now stands, nothing restarts.
    session->playback.takeAll();
    addItems({"Z", "A"});
    engine.takeOverPlaybackList();
    EXPECT_EQ(index(), 1);
    EXPECT_EQ(audioPlays(), 1);
    EXPECT_TRUE(engine.state().playing);
}

TEST_F(EngineFixture, TakeOverOfAnEmptyListSaysSoInBothLanguages) {
    engine.takeOverPlaybackList();
    EXPECT_EQ(display.titel(), "No file to play");
    Catalogue::setLanguage(UiLanguage::German);
    engine.takeOverPlaybackList();
    EXPECT_EQ(display.titel(), "Kein Titel in der Abspielliste");
}

}  // namespace
}  // namespace marlo::test
