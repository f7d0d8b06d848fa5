#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtMath>

#include "base/EventWait.h"
#include "cd/CdAudioDevice.h"
#include "tests/cd/CdFixture.h"
#include "tests/support/AudioAnalysis.h"
#include "tests/support/SoundServer.h"

namespace marlo {
namespace {

// Two one-second tracks, 440 Hz then 880 Hz, as a CUE sheet and its BIN.
QString writeToneImage(const QTemporaryDir& dir) {
    QByteArray pcm;
    for (const double hz : {440.0, 880.0}) {
        for (int i = 0; i < 44100; ++i) {
            const auto sample = static_cast<qint16>(8000 * std::sin(2 * M_PI * hz * i / 44100));
            for (int channel = 0; channel < 2; ++channel) {
                pcm.append(static_cast<char>(sample & 0xFF));
                pcm.append(static_cast<char>((sample >> 8) & 0xFF));
            }
        }
    }
    QFile bin(dir.filePath(QStringLiteral("tones.bin")));
    EXPECT_TRUE(bin.open(QIODevice::WriteOnly));
    bin.write(pcm);
    QFile cue(dir.filePath(QStringLiteral("tones.cue")));
    EXPECT_TRUE(cue.open(QIODevice::WriteOnly));
    cue.write(
        "FILE \"tones.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
        "  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n");
    return cue.fileName();
}

TEST(CdAudioDevice, NoDiscGivesError262AndStaysClosed) {
    QTemporaryDir dir;
    CdAudioDevice device(dir.filePath(QStringLiteral("none.cue")));
    device.command(QStringLiteral("Open"));
    EXPECT_EQ(device.mciErr(), CdAudioDevice::kErrNoDisc);
    EXPECT_EQ(device.mode(), CdAudioDevice::kNotOpen);
    EXPECT_EQ(device.currentTrack(), 0);
    device.playTrack(1);
    EXPECT_EQ(device.mode(), CdAudioDevice::kNotOpen);
}

TEST(CdAudioDevice, PlaysOneTrackToItsEndAndReportsPositionsAndModes) {
    QTemporaryDir dir;
    CdAudioDevice device(writeToneImage(dir));
    QStringList modes;
    QObject::connect(&device, &CdAudioDevice::modeChange,
                     [&modes](const QString& text) { modes << text; });
    device.command(QStringLiteral("open"));
    ASSERT_EQ(device.mciErr(), 0);
    EXPECT_EQ(device.allTracks(), 2);
    EXPECT_EQ(device.songLength(1), 1);
    EXPECT_EQ(device.position(2), QStringLiteral("0"));

    // Track numbers outside 1..count and unknown commands do nothing.
    for (int track : {0, -1, 3}) {
        device.playTrack(track);
        device.setCurrentTrack(track);
    }
    device.command(QStringLiteral("rewind"));
    EXPECT_EQ(device.mode(), CdAudioDevice::kStopped);

    QSignalSpy done(&device, &CdAudioDevice::done);
    device.playTrack(1);
    EXPECT_EQ(device.mode(), CdAudioDevice::kPlaying);
    ASSERT_TRUE(waitWhileDispatching([&done] { return done.count() == 1; }, 5000));
    waitWhileDispatching([] { return false; }, 2 * CdAudioDevice::kStatusIntervalMs);
    EXPECT_EQ(device.mode(), CdAudioDevice::kStopped);
    // Stopped at the end of track 1, which is where track 2 starts: the later track wins.
    EXPECT_EQ(device.position(2), QStringLiteral("75"));
    EXPECT_EQ(device.position(4), QStringLiteral("0:01"));
    EXPECT_EQ(device.position(1), QString::number(1 * 256));
    EXPECT_TRUE(device.position(5).isEmpty());
    EXPECT_EQ(device.currentTrack(), 2);
    EXPECT_EQ(modes,
              QStringList({QStringLiteral("Device is stopped"), QStringLiteral("Device is playing"),
                           QStringLiteral("Device is stopped")}));

    device.setCurrentTrack(2);
    EXPECT_EQ(device.mode(), CdAudioDevice::kStopped);
    EXPECT_EQ(device.position(3), QStringLiteral("1"));
    device.command(QStringLiteral("close"));
    EXPECT_EQ(device.mode(), CdAudioDevice::kNotOpen);
    EXPECT_EQ(device.currentTrack(), 0);
}

// Two tracks played one after the other are heard in order, the first tone then the second.
TEST(CdAudioDevice, TracksAreHeardInOrder) {
    test::SoundServer sound;
    ASSERT_TRUE(sound.ok());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    sound.addTo(env);
    for (const char* name : {"XDG_RUNTIME_DIR", "PULSE_SERVER"}) {
        qputenv(name, env.value(QString::fromLatin1(name)).toLocal8Bit());
    }
    QTemporaryDir dir;
    const QString recording = dir.filePath(QStringLiteral("rec.wav"));
    QProcess recorder;
    recorder.setProcessEnvironment(env);
    recorder.start(QStringLiteral("parecord"), {QStringLiteral("--device=test_sink.monitor"),
                                                QStringLiteral("--file-format=wav"), recording});
    ASSERT_TRUE(recorder.waitForStarted(5000));
    waitWhileDispatching([] { return false; }, 500);

    CdAudioDevice device(writeToneImage(dir));
    device.command(QStringLiteral("open"));
    QSignalSpy done(&device, &CdAudioDevice::done);
    device.playTrack(1);
    ASSERT_TRUE(waitWhileDispatching([&done] { return done.count() == 1; }, 5000));
    device.playTrack(2);
    ASSERT_TRUE(waitWhileDispatching([&done] { return done.count() == 2; }, 5000));
    waitWhileDispatching([] { return false; }, 500);
    recorder.terminate();
    recorder.waitForFinished(5000);

    QList<double> heard;  // pitch of each loud slice, in order
    for (const test::AudioSlice& slice : test::analyseWav(recording, 0.1)) {
        if (slice.rms > 0.05) {
            heard << slice.frequency;
        }
    }
    const auto near = [](double hz, double target) { return std::abs(hz - target) < 40; };
    const qsizetype first880 =
        std::find_if(heard.begin(), heard.end(), [&](double hz) { return near(hz, 880); }) -
        heard.begin();
    const qsizetype last440 =
        heard.crend() -
        std::find_if(heard.crbegin(), heard.crend(), [&](double hz) { return near(hz, 440); }) - 1;
    const auto count = [&](double target) {
        return std::count_if(heard.begin(), heard.end(),
                             [&](double hz) { return near(hz, target); });
    };
    EXPECT_GE(count(440), 5);
    EXPECT_GE(count(880), 5);
    EXPECT_LT(last440, first880);
}

}  // namespace
}  // namespace marlo
