#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

#include "platform/media/OpenMptModuleLibrary.h"
#include "platform/media/PcmOutput.h"
#include "tests/platform/SoundTestTools.h"
#include "tests/support/SoundServer.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

using namespace soundtest;

constexpr int kRate = PcmOutput::kSampleRate;

// A steady level for half a second, then the end; `given` counts the frames handed out.
PcmOutput::Source halfSecondSource(qint64& given) {
    return [&given](qint16* out, int frames) {
        const int n = int(std::min<qint64>(frames, kRate / 2 - given));
        std::fill(out, out + 2 * n, qint16(1000));
        given += n;
        return n;
    };
}

TEST(PcmOutputTest, WithoutSoundServerSaysSoAndPullsSilentlyAtPlayingPace) {
    if (ranInFreshProcess()) {
        return;
    }
    QTemporaryDir runtime;
    useSoundServerAt(runtime.path(), QStringLiteral("unix:") + runtime.filePath("no-such-socket"));

    // A source that ends after half a second.
    qint64 given = 0;
    PcmOutput output(halfSecondSource(given));
    int unavailable = 0;
    int ended = 0;
    QObject::connect(&output, &PcmOutput::soundUnavailable, [&] { ++unavailable; });
    QObject::connect(&output, &PcmOutput::sourceEnded, [&] { ++ended; });
    EXPECT_FALSE(output.start());
    EXPECT_FALSE(output.isAudible());
    EXPECT_TRUE(output.isActive());
    EXPECT_FALSE(output.errorString().isEmpty());
    EXPECT_EQ(unavailable, 1);
    ASSERT_TRUE(processEventsUntil([&] { return ended > 0; }, 5000));
    EXPECT_EQ(output.framesPulled(), kRate / 2);

    // Suspended, nothing is pulled; resumed, pulling goes on.
    given = 0;
    EXPECT_FALSE(output.start());
    output.suspend();
    processEventsUntil([] { return false; }, 100);
    EXPECT_EQ(output.framesPulled(), 0);
    output.resume();
    EXPECT_TRUE(processEventsUntil([&] { return output.framesPulled() > 0; }, 2000));
    output.stop();

    // A module played through the library advances and ends without a sound card. This song
    // runs 0.8 s through orders 0 to 3 and never jumps back.
    OpenMptModuleLibrary lib;
    const int play = lib.playModule(
        lib.loadModule(test::testdata("modules/libxmp_pattern_jump_st3_break.s3m")), true);
    ASSERT_NE(play, 0);
    ASSERT_NE(lib.output(), nullptr);
    EXPECT_FALSE(lib.output()->isAudible());
    bool above = false;
    bool endNoticed = false;
    ASSERT_TRUE(processEventsUntil(
        [&] {
            ModuleLibrary::PlayStatus status;
            EXPECT_TRUE(lib.getPlayStatus(play, status));
            above = above || status.position > 0;
            endNoticed = above && status.position == 0;
            return endNoticed;
        },
        10000));
    EXPECT_EQ(lib.completedPasses(), 1);
    EXPECT_TRUE(lib.stopModule(play));
    EXPECT_TRUE(lib.close());
}

TEST(PcmOutputTest, ModuleIsHeardThroughTheSoundServer) {
    if (ranInFreshProcess()) {
        return;
    }
    test::SoundServer server;
    ASSERT_TRUE(server.ok());
    const QProcessEnvironment env = useOwnSoundServer(server);

    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("rec.wav"));
    QProcess recorder;
    ASSERT_TRUE(startRecording(recorder, env, wav));

    OpenMptModuleLibrary lib;
    lib.setAmplification(100);
    const int play =
        lib.playModule(lib.loadModule(test::testdata("modules/libxmp_read_event_ft2.xm")), true);
    ASSERT_NE(play, 0);
    ASSERT_NE(lib.output(), nullptr);
    EXPECT_TRUE(lib.output()->isAudible()) << lib.output()->errorString().toStdString();
    // About 1.5 s of the song taken by the server.
    EXPECT_TRUE(
        processEventsUntil([&] { return lib.output()->framesPulled() > kRate * 3 / 2; }, 10000));
    ModuleLibrary::PlayStatus status;
    ASSERT_TRUE(lib.getPlayStatus(play, status));
    EXPECT_GT(status.row, 0);
    // Let what is buffered play out before the recording ends.
    processEventsUntil([] { return false; }, 400);
    EXPECT_TRUE(lib.stopModule(play));
    lib.close();
    recorder.terminate();
    ASSERT_TRUE(recorder.waitForFinished(5000));

    // The song sits around -17 dBFS; silence would be 0.
    EXPECT_GT(recordedRmsAmplitude(wav), 0.02);
}

// The server holds a while of sound ahead of what is heard: the end of a source, and of a song,
// is told when the listener has heard it, not when the last of it was handed over.
TEST(PcmOutputTest, EndsAreToldWhenHeard) {
    if (ranInFreshProcess()) {
        return;
    }
    test::SoundServer server;
    ASSERT_TRUE(server.ok());
    useOwnSoundServer(server);

    // Half a second of sound, all of it taken by the server at once.
    qint64 given = 0;
    PcmOutput output(halfSecondSource(given));
    int ended = 0;
    QObject::connect(&output, &PcmOutput::sourceEnded, [&] { ++ended; });
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(output.start()) << output.errorString().toStdString();
    ASSERT_TRUE(processEventsUntil([&] { return ended > 0; }, 10000));
    EXPECT_GE(clock.elapsed(), 450);
    EXPECT_EQ(output.framesPlayed(), kRate / 2);
    processEventsUntil([] { return false; }, 200);
    EXPECT_EQ(ended, 1);

    // A 0.8 s song without looping: its end shows (position back to 0) once it has been heard,
    // and the place shown never runs ahead of the sound.
    OpenMptModuleLibrary lib;
    clock.restart();
    const int play = lib.playModule(
        lib.loadModule(test::testdata("modules/libxmp_pattern_jump_st3_break.s3m")), false);
    ASSERT_NE(play, 0);
    ASSERT_TRUE(lib.output()->isAudible());
    bool above = false;
    qint64 endSeenMs = -1;
    processEventsUntil(
        [&] {
            ModuleLibrary::PlayStatus status;
            EXPECT_TRUE(lib.getPlayStatus(play, status));
            EXPECT_LE(lib.output()->framesPlayed(), lib.output()->framesPulled());
            above = above || status.position > 0;
            if (above && status.position == 0) {
                endSeenMs = clock.elapsed();
            }
            return endSeenMs >= 0;
        },
        10000);
    EXPECT_GE(endSeenMs, 750);
    EXPECT_TRUE(lib.stopModule(play));
}

}  // namespace
}  // namespace marlo
