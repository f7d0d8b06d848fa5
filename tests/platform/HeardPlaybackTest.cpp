#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/media/MediaDevice.h"
#include "tests/platform/SoundTestTools.h"
#include "tests/support/AudioAnalysis.h"
#include "tests/support/SoundServer.h"

namespace marlo {
namespace {

using namespace soundtest;

struct ToneRun {
    double firstSeconds = -1;
    double heardSeconds = 0;
};

// Slices of 10 ms count zero crossings coarsely: a quarter off still tells the two tones apart.
// Only slices before `untilSeconds` count.
ToneRun findTone(const QList<test::AudioSlice>& slices, double hz, double sliceSeconds,
                 double untilSeconds = 1e9) {
    ToneRun run;
    for (const test::AudioSlice& slice : slices) {
        if (slice.startSeconds >= untilSeconds) {
            break;
        }
        if (slice.rms > 0.05 && std::abs(slice.frequency - hz) < hz * 0.25) {
            if (run.firstSeconds < 0) {
                run.firstSeconds = slice.startSeconds;
            }
            run.heardSeconds += sliceSeconds;
        }
    }
    return run;
}

// Two files one after the other as the player plays a list: each is heard whole (the end of
// the first is not cut off when the next one starts) and the completion notice comes once each.
TEST(HeardPlaybackTest, FilesBackToBackAreEachHeardWhole) {
    if (ranInFreshProcess()) {
        return;
    }
    test::SoundServer server;
    ASSERT_TRUE(server.ok());
    const QProcessEnvironment env = useOwnSoundServer(server);

    QTemporaryDir dir;
    const QString low = test::writeSineWav(dir.filePath(QStringLiteral("low.wav")), 440, 1000);
    const QString high = test::writeSineWav(dir.filePath(QStringLiteral("high.wav")), 880, 1000);
    const QString wav = dir.filePath(QStringLiteral("rec.wav"));
    QProcess recorder;
    ASSERT_TRUE(startRecording(recorder, env, wav));
    // Play only once the recorder takes sound, however slowly it started on a busy machine.
    ASSERT_TRUE(processEventsUntil([&] { return QFileInfo(wav).size() > 44100 * 4 / 10; }, 10000));

    std::unique_ptr<MediaDevice> device = createFileMediaDevice();
    int completions = 0;
    QObject::connect(device.get(), &MediaDevice::done, [&] {
        ++completions;
        device->command(QStringLiteral("close"));
        if (completions == 1) {
            device->setFileName(high);
            device->command(QStringLiteral("open"));
            device->command(QStringLiteral("play"));
        }
    });
    device->setFileName(low);
    device->command(QStringLiteral("open"));
    ASSERT_EQ(device->error(), 0);
    device->command(QStringLiteral("play"));
    ASSERT_EQ(device->error(), 0);
    EXPECT_TRUE(processEventsUntil([&] { return completions == 2; }, 10000));
    processEventsUntil([] { return false; }, 500);  // the recorder's own delay
    EXPECT_EQ(completions, 2);
    device.reset();
    recorder.terminate();
    ASSERT_TRUE(recorder.waitForFinished(5000));

    constexpr double kSlice = 0.01;
    const QList<test::AudioSlice> slices = test::analyseWav(wav, kSlice);
    const ToneRun second = findTone(slices, 880, kSlice);
    // The first is heard whole before the second begins (a slice where a tone stops half-way
    // counts half the crossings, so a stray "440" can show up later).
    const ToneRun first = findTone(slices, 440, kSlice, second.firstSeconds);
    // The recorder may miss the very start; the end of the first must be there.
    EXPECT_GT(first.heardSeconds, 0.85);
    EXPECT_GT(second.heardSeconds, 0.93);
    EXPECT_GE(second.firstSeconds, 0.0);
}

// A file that cannot join the one before (another rate) is heard soon after that one's end,
// also on a sink that nobody asks for a short latency: the sink is not left at its own two
// seconds, nor is a new stream opened for it that the sink would take in a block later.
TEST(HeardPlaybackTest, AFileThatCannotJoinIsHeardSoonAfterTheOneBefore) {
    if (ranInFreshProcess()) {
        return;
    }
    test::SoundServer server;
    ASSERT_TRUE(server.ok());
    const QProcessEnvironment env = useOwnSoundServer(server);
    QTemporaryDir dir;
    const QString low = test::writeSineWav(dir.filePath(QStringLiteral("low.wav")), 440, 1000);
    const QString high =
        test::writeSineWav(dir.filePath(QStringLiteral("high.wav")), 880, 1000, 48000);
    const QString wav = dir.filePath(QStringLiteral("rec.wav"));
    QProcess recorder;
    ASSERT_TRUE(startRecording(recorder, env, wav, 0));
    ASSERT_TRUE(processEventsUntil([&] { return QFileInfo(wav).size() > 44100 * 4 / 10; }, 10000));

    std::unique_ptr<MediaDevice> device = createFileMediaDevice();
    int completions = 0;
    QObject::connect(device.get(), &MediaDevice::done, [&] {
        ++completions;
        device->command(QStringLiteral("close"));
        if (completions == 1) {
            device->setFileName(high);
            device->command(QStringLiteral("open"));
            device->command(QStringLiteral("play"));
        }
    });
    device->setFileName(low);
    device->command(QStringLiteral("open"));
    device->command(QStringLiteral("play"));
    ASSERT_TRUE(processEventsUntil([&] { return completions == 2; }, 15000));
    processEventsUntil([] { return false; }, 2500);  // the sink's own delay
    device.reset();
    recorder.terminate();
    ASSERT_TRUE(recorder.waitForFinished(5000));

    constexpr double kSlice = 0.01;
    const QList<test::AudioSlice> slices = test::analyseWav(wav, kSlice);
    const ToneRun second = findTone(slices, 880, kSlice);
    const ToneRun first = findTone(slices, 440, kSlice, second.firstSeconds);
    ASSERT_GE(first.firstSeconds, 0);
    ASSERT_GE(second.firstSeconds, 0);
    double firstEnd = first.firstSeconds;
    for (const test::AudioSlice& slice : slices) {
        if (slice.startSeconds < second.firstSeconds && slice.rms > 0.05) {
            firstEnd = slice.startSeconds + kSlice;
        }
    }
    EXPECT_LT(second.firstSeconds - firstEnd, 0.5);
}

}  // namespace
}  // namespace marlo
