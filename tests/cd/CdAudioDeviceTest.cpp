#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtMath>

#include "base/EventWait.h"
#include "cd/CdAudioDevice.h"
#include "tests/cd/CdFixture.h"
#include "tests/support/CdImage.h"

namespace marlo {
namespace {

QString writeToneImage(const QTemporaryDir& dir) {
    return test::writeToneImage(dir.path());
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
    QTemporaryDir dir;
    const QString recording = dir.filePath(QStringLiteral("rec.wav"));
    test::SinkRecording sink(recording);
    ASSERT_TRUE(sink.ok());

    CdAudioDevice device(writeToneImage(dir));
    device.command(QStringLiteral("open"));
    QSignalSpy done(&device, &CdAudioDevice::done);
    device.playTrack(1);
    ASSERT_TRUE(waitWhileDispatching([&done] { return done.count() == 1; }, 5000));
    device.playTrack(2);
    ASSERT_TRUE(waitWhileDispatching([&done] { return done.count() == 2; }, 5000));
    waitWhileDispatching([] { return false; }, 500);
    sink.finish();
    EXPECT_TRUE(test::tonesHeardInOrder(recording, 440, 880));
}

}  // namespace
}  // namespace marlo
