// Items however short reach their end; the running time of files on the streaming control; the
// ways a start can fail.
#include "platform/media/OpenMptModuleLibrary.h"
#include "platform/media/PcmOutput.h"
#include "tests/platform/MediaTestTools.h"
#include "tests/player/EngineFixture.h"
#include "tests/support/TinyModule.h"

namespace marlo::test {
namespace {

// The engine over the real module library, rendering only when the test pulls, so a song of a
// few rows is heard to its end in a few polls.
class RealModules : public EngineFixture {
  protected:
    // Renders one period of the module timer and lets the engine poll, until the list moved on
    // or `songMs` of music have passed.
    void playUntilMovedOn(int songMs) {
        std::vector<qint16> pcm(std::size_t(PcmOutput::kSampleRate) * 150 / 1000 * 2);
        for (int ms = 0; ms < songMs && index() == 0; ms += 150) {
            openmpt.render(pcm.data(), int(pcm.size() / 2));
            realEngine.pollTick();
        }
    }

    OpenMptModuleLibrary openmpt{OpenMptModuleLibrary::Output::None};
    PlaybackEngine realEngine{EngineLibrary::of(*session),
                              settings,
                              {audio, streaming, openmpt},
                              display,
                              folder.program() + "Extracted"};
};

TEST_F(RealModules, SongsOfOneRowOrOneOrderEndAndTheListMovesOn) {
    const QString oneRow = writeFile(media("row.mod"), tinyModule(1));
    const QString threeRows = writeFile(media("rows.mod"), tinyModule(3));
    const QString oneOrder = testdata("modules/libxmp_pattern_loop_octalyser.mod");
    int n = 0;
    for (const QString& path : {oneRow, threeRows, oneOrder}) {
        SCOPED_TRACE(path.toStdString());
        session->playback.clear();
        const QString title = QString::number(++n);
        session->store.putItemRecord({session->kind(), title, path, "Artist", "mod"});
        session->store.putItemRecord({session->kind(), title + "b", oneRow, "Artist", "mod"});
        ASSERT_TRUE(session->store.commit());
        session->playback.append(title);
        session->playback.append(title + "b");
        select(0);
        realEngine.play();
        ASSERT_TRUE(realEngine.state().playing);
        playUntilMovedOn(60'000);
        EXPECT_EQ(index(), 1) << "the module never ended";
        EXPECT_TRUE(realEngine.state().playing);
        realEngine.stop();
    }
}

// After a module `Posit` reads "Patt. 0 - Row 0"; a file that follows shows its own time at once,
// however soon it ends.
TEST_F(EngineFixture, AFileAfterAModuleShowsItsOwnTimeAtOnce) {
    streaming.seconds = 0.16;
    for (const char* type : {"mp3", ""}) {
        SCOPED_TRACE(type);
        session->playback.clear();
        addItem("M", "m.mod", "mod");
        addItem(QStringLiteral("F") + type, "f.file", type);
        select(0);
        engine.play();
        modules.status.position = 1;
        engine.pollTick();
        modules.status.position = 0;
        engine.pollTick();
        ASSERT_EQ(index(), 1);
        ASSERT_TRUE(engine.state().playing);
        EXPECT_EQ(display.posit(), "00:00 min:sec");
        engine.stop();
    }
}

struct RunningTimeCase {
    UiLanguage language;
    const char* posit;
};

class StreamingRunningTime : public EngineFixture,
                             public ::testing::WithParamInterface<RunningTimeCase> {};

// The periodic timer of the streaming control shows its position, rounded to whole seconds, with
// the language's suffix, and the bar; it stops with the item.
TEST_P(StreamingRunningTime, ShowsThePositionAndBarWhilePlaying) {
    Catalogue::setLanguage(GetParam().language);
    streaming.seconds = 200;
    addItem("S", "s.mp3", "mp3");
    engine.play();
    ASSERT_TRUE(engine.state().playing);
    streaming.setPosition(65.4);
    ASSERT_TRUE(waitUntil([this] { return display.posit() == GetParam().posit; }, 3000))
        << display.posit().toStdString();
    EXPECT_DOUBLE_EQ(display.barFraction(), 65.0 / 200);
    // Rounded to whole seconds; past the reported length the bar stays full.
    streaming.setPosition(65.6);
    engine.pollTick();
    EXPECT_EQ(display.posit().left(5), "01:06");
    streaming.setPosition(250);
    engine.pollTick();
    EXPECT_EQ(display.posit().left(5), "04:10");
    EXPECT_DOUBLE_EQ(display.barFraction(), 1.0);

    engine.stop();
    EXPECT_FALSE(engine.polling());
    streaming.setPosition(80);
    runEventsFor(1200);
    EXPECT_NE(display.posit(), GetParam().posit);
    EXPECT_DOUBLE_EQ(display.barFraction(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Languages, StreamingRunningTime,
                         ::testing::Values(RunningTimeCase{UiLanguage::English, "01:05 min:sec"},
                                           RunningTimeCase{UiLanguage::German, "01:05 Min:Sek"}));

// A start that fails shows the device error, sends no play command and leaves nothing running.
TEST_F(EngineFixture, AnAudioDeviceThatCannotOpenIsADeviceError) {
    audio.failing = {"open"};
    addItems({"A", "B"});
    select(0);
    engine.play();
    EXPECT_EQ(display.titel(), "ERROR: Device not ready");
    EXPECT_FALSE(engine.state().playing);
    EXPECT_EQ(audio.commands(), QStringList({"open", "close"}));
    EXPECT_EQ(display.play(), ButtonLook::Idle);
    EXPECT_EQ(index(), 0);
}

// A control that never answers ends the start with the device error once the limit has passed,
// at the start and at a click on the bar alike.
TEST_F(EngineFixture, AStreamingControlThatNeverGetsReadyIsADeviceError) {
    engine.setReadyWaitLimit(50);
    streaming.seconds = 100;
    addItem("S", "s.mp3", "mp3");
    for (const bool atSeek : {false, true}) {
        SCOPED_TRACE(atSeek ? "seek" : "start");
        streaming.readiness = atSeek ? FakeStreamingControl::Readiness::Immediately
                                     : FakeStreamingControl::Readiness::Never;
        display.setTitel({});
        engine.play();
        if (atSeek) {
            ASSERT_TRUE(engine.state().playing);
            streaming.readiness = FakeStreamingControl::Readiness::Never;
            engine.seek(0.5);
        }
        EXPECT_EQ(display.titel(), "ERROR: Device not ready");
        EXPECT_FALSE(engine.state().playing);
        EXPECT_EQ(streaming.fileName(), "");
        EXPECT_FALSE(streaming.isRunning());
        EXPECT_FALSE(engine.polling());
    }
}

}  // namespace
}  // namespace marlo::test
