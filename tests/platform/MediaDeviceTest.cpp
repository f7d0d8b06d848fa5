#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "MediaTestTools.h"
#include "platform/media/FileMediaDevice.h"
#include "tests/support/TestFolders.h"

using namespace marlo;
using namespace marlo::test;

namespace {

class MediaDeviceTest : public ::testing::Test {
  protected:
    QString file(const QString& name) const { return dir_.filePath(name); }
    QString tone(const QString& name, int ms, double hz = 440.0) {
        return writeSineWav(file(name), hz, ms);
    }
    // A device writing its decoded sound into a file: untimed, so only the sound counts.
    std::unique_ptr<FileMediaDevice> pcmDevice() {
        return std::make_unique<FileMediaDevice>(nullptr, file(QStringLiteral("out.pcm")));
    }
    static void openFile(MediaDevice& device, const QString& path, const QString& verb = "open") {
        device.setFileName(path);
        device.command(verb);
    }

    QTemporaryDir dir_;
};

struct Encoded {
    const char* extension;
    QString (*make)(const QString& wav, const QString& out);
};

class MediaDeviceFormats : public MediaDeviceTest, public ::testing::WithParamInterface<Encoded> {};

// Each format is made from the same generated tone; what mpv decodes must be that tone, as long
// as the file says, with exactly one completion notice at its end.
TEST_P(MediaDeviceFormats, PlaysTheGeneratedToneToItsEndOnce) {
    const QString wav = tone(QStringLiteral("tone.wav"), 1500);
    ASSERT_FALSE(wav.isEmpty());
    const QString media =
        GetParam().make(wav, file(QStringLiteral("tone.") + GetParam().extension));
    ASSERT_FALSE(media.isEmpty()) << "could not make a ." << GetParam().extension << " file";

    auto device = pcmDevice();
    SignalCounter done(device.get(), &MediaDevice::done);
    openFile(*device, media);
    ASSERT_EQ(device->error(), 0);
    EXPECT_TRUE(device->isOpen());
    EXPECT_NEAR(device->length(), 1500, 50);
    EXPECT_EQ(device->position(), 0);

    device->command(QStringLiteral("play"));
    ASSERT_EQ(device->error(), 0);
    ASSERT_TRUE(waitUntil([&] { return done.count() > 0; }));
    runEventsFor(300);
    EXPECT_EQ(done.count(), 1);
    EXPECT_FALSE(device->isPlaying());
    EXPECT_NEAR(device->position(), device->length(), 50);
    device->command(QStringLiteral("close"));

    const PcmSummary sound = summarizePcmFile(file(QStringLiteral("out.pcm")));
    EXPECT_NEAR(sound.hz, 440.0, 4.0);
    EXPECT_NEAR(sound.seconds, 1.5, 0.05);
    EXPECT_GT(sound.peak, 5000);
    EXPECT_EQ(device->usesMpv(), std::string(GetParam().extension) == "m4a");
}

INSTANTIATE_TEST_SUITE_P(
    Files, MediaDeviceFormats,
    ::testing::Values(
        Encoded{"wav", [](const QString& wav, const QString&) { return wav; }},
        Encoded{"au", [](const QString& wav, const QString& out) { return soxConvert(wav, out); }},
        Encoded{"mp3", [](const QString& wav,
                          const QString& out) { return mpvEncode(wav, out, "libmp3lame", "mp3"); }},
        Encoded{"mp2", [](const QString& wav,
                          const QString& out) { return mpvEncode(wav, out, "mp2", "mp2"); }},
        // No light decoder reads AAC: libmpv plays it.
        Encoded{"m4a", [](const QString& wav,
                          const QString& out) { return mpvEncode(wav, out, "aac", "ipod"); }}),
    [](const auto& info) { return std::string(info.param.extension); });

TEST_F(MediaDeviceTest, PlayFromAPositionDecodesOnlyTheRest) {
    auto device = pcmDevice();
    SignalCounter done(device.get(), &MediaDevice::done);
    openFile(*device, tone(QStringLiteral("tone.wav"), 2000, 330.0));
    ASSERT_EQ(device->error(), 0);
    device->setFrom(1500);
    device->command(QStringLiteral("Play"));
    ASSERT_TRUE(waitUntil([&] { return done.count() > 0; }));
    const PcmSummary sound = summarizePcmFile(file(QStringLiteral("out.pcm")));
    EXPECT_NEAR(sound.seconds, 0.5, 0.05);
    EXPECT_NEAR(sound.hz, 330.0, 4.0);
}

// Every way a file can fail to be what its name says ends in an error number, at once.
TEST_F(MediaDeviceTest, FilesThatCannotPlayGiveAnErrorNumber) {
    const QString wav = tone(QStringLiteral("tone.wav"), 1000);
    const QByteArray whole = readFile(wav);
    const QStringList bad = {
        file(QStringLiteral("missing.wav")),
        writeFile(file(QStringLiteral("text.wav")), "this is a note, not a sound\n"),
        writeFile(file(QStringLiteral("empty.mp3")), QByteArray()),
        writeFile(file(QStringLiteral("cut.wav")), whole.left(30)),
        writeFile(file(QStringLiteral("noise.au")), QByteArray(4000, '\x11')),
        testdata(QStringLiteral("mp3/mp3agic_notanmp3.mp3")),
        testdata(QStringLiteral("midi/test-not-a-midi-file.mid")),
        testdata(QStringLiteral("midi/test-empty-file.mid")),
        testdata(QStringLiteral("midi/test-corrupt-file-missing-byte.mid")),
        dir_.path(),
        QString(),
    };
    auto device = pcmDevice();
    SignalCounter done(device.get(), &MediaDevice::done);
    for (const QString& path : bad) {
        openFile(*device, path);
        EXPECT_NE(device->error(), 0) << path.toStdString();
        EXPECT_FALSE(device->isOpen()) << path.toStdString();
        device->command(QStringLiteral("play"));
        EXPECT_NE(device->error(), 0) << "play after a failed open of " << path.toStdString();
    }
    EXPECT_EQ(device->error(), mediaerror::kNotOpen);
    openFile(*device, file(QStringLiteral("missing.wav")));
    EXPECT_EQ(device->error(), mediaerror::kFileNotFound);

    // The device is still good for a file that plays.
    openFile(*device, wav);
    EXPECT_EQ(device->error(), 0);
    EXPECT_NEAR(device->length(), 1000, 50);
    runEventsFor(200);
    EXPECT_EQ(done.count(), 0);
}

TEST_F(MediaDeviceTest, DeviceTypesAndUnknownCommands) {
    auto device = pcmDevice();
    const QString wav = tone(QStringLiteral("tone.wav"), 500);
    device->setDeviceType(QStringLiteral("CDAudio"));
    openFile(*device, wav, QStringLiteral("Open"));
    EXPECT_NE(device->error(), 0);
    EXPECT_FALSE(device->isOpen());

    device->setDeviceType(QStringLiteral("Sequencer"));
    openFile(*device, wav);
    EXPECT_NE(device->error(), 0);

    device->setDeviceType(QStringLiteral("M4W_MCI"));
    openFile(*device, wav);
    EXPECT_EQ(device->error(), 0);
    EXPECT_TRUE(device->isOpen());

    device->command(QStringLiteral("rewind"));
    EXPECT_EQ(device->error(), mediaerror::kUnknownCommand);
    EXPECT_TRUE(device->isOpen());
}

// Timed output (the sound server, or none at all) so the commands land while the file plays.
TEST_F(MediaDeviceTest, CommandsInAnyCaseAndStopOrCloseSendNoCompletion) {
    FileMediaDevice device;
    SignalCounter done(&device, &MediaDevice::done);
    SignalCounter status(&device, &MediaDevice::statusUpdate);
    const QString wav = tone(QStringLiteral("tone.wav"), 2500);

    openFile(device, wav, QStringLiteral("OPEN"));
    ASSERT_EQ(device.error(), 0);
    device.command(QStringLiteral("PLAY"));
    ASSERT_EQ(device.error(), 0);
    ASSERT_TRUE(waitUntil([&] { return device.position() > 300; }, 10000));
    device.command(QStringLiteral("pAuSe"));
    EXPECT_EQ(device.error(), 0);
    EXPECT_FALSE(device.isPlaying());
    const qint64 pausedAt = device.position();
    runEventsFor(400);
    EXPECT_NEAR(device.position(), pausedAt, 30);

    device.command(QStringLiteral("Play"));  // resumes
    ASSERT_TRUE(waitUntil([&] { return device.position() > pausedAt + 200; }, 10000));
    device.command(QStringLiteral("Stop"));
    EXPECT_EQ(device.error(), 0);
    EXPECT_TRUE(device.isOpen());
    device.command(QStringLiteral("cLoSe"));
    EXPECT_EQ(device.error(), 0);
    EXPECT_FALSE(device.isOpen());
    // Long enough for the file to have reached its end had it kept playing.
    runEventsFor(2500);
    EXPECT_EQ(done.count(), 0);

    // A new open while playing supersedes the old file without a notice for it; the new one
    // ends with exactly one, after status notices along the way.
    openFile(device, wav);
    device.command(QStringLiteral("play"));
    ASSERT_TRUE(waitUntil([&] { return device.position() > 200; }, 10000));
    openFile(device, tone(QStringLiteral("other.wav"), 2600, 880.0), QStringLiteral("Open"));
    ASSERT_EQ(device.error(), 0);
    EXPECT_NEAR(device.length(), 2600, 50);
    device.command(QStringLiteral("play"));
    ASSERT_TRUE(waitUntil([&] { return done.count() > 0; }));
    runEventsFor(300);
    EXPECT_EQ(done.count(), 1);
    EXPECT_GE(status.count(), 1);
}

TEST_F(MediaDeviceTest, PlayingAgainAfterTheEndStartsOver) {
    auto device = pcmDevice();
    SignalCounter done(device.get(), &MediaDevice::done);
    openFile(*device, tone(QStringLiteral("tone.wav"), 600));
    device->command(QStringLiteral("play"));
    ASSERT_TRUE(waitUntil([&] { return done.count() == 1; }));
    device->command(QStringLiteral("play"));
    EXPECT_EQ(device->error(), 0);
    ASSERT_TRUE(waitUntil([&] { return done.count() == 2; }));
    EXPECT_NEAR(device->length(), 600, 50);
}

// However short the file, even a wave without a single frame, it ends with one completion
// notice, every time it plays: mpv leaves some such ends unannounced.
TEST_F(MediaDeviceTest, WavesOfAFewFramesOrNoneEndEveryTime) {
    FileMediaDevice device;  // timed: the sound server, or no output without one
    SignalCounter done(&device, &MediaDevice::done);
    const int lengthsMs[] = {0, 1, 10, 100};
    int plays = 0;
    for (int pass = 0; pass < 6; ++pass) {
        for (const int ms : lengthsMs) {
            SCOPED_TRACE(testing::Message() << ms << " ms, pass " << pass);
            openFile(device, tone(QStringLiteral("short%1.wav").arg(ms), ms));
            ASSERT_EQ(device.error(), 0);
            EXPECT_LE(device.length(), ms + 1);
            device.command(QStringLiteral("play"));
            ASSERT_EQ(device.error(), 0);
            ++plays;
            ASSERT_TRUE(waitUntil([&] { return done.count() == plays; }, 3000));
            EXPECT_FALSE(device.isPlaying());
        }
    }
    runEventsFor(300);
    EXPECT_EQ(done.count(), plays);
}

// ".mid" in any case goes to the synthesizer; the music plays (paced by the sound output, or
// silently without a sound server) to one completion notice.
TEST_F(MediaDeviceTest, MidiFilesPlayThroughTheSynthesizer) {
    const QString midi = file(QStringLiteral("SCALE.MID"));
    ASSERT_TRUE(QFile::copy(testdata(QStringLiteral("midi/test-c-major-scale.mid")), midi));
    FileMediaDevice device;
    SignalCounter done(&device, &MediaDevice::done);
    openFile(device, midi);
    ASSERT_EQ(device.error(), 0);
    const qint64 length = device.length();
    EXPECT_GT(length, 1000);
    device.command(QStringLiteral("play"));
    ASSERT_TRUE(waitUntil([&] { return device.position() > 300; }));
    device.command(QStringLiteral("pause"));
    const qint64 pausedAt = device.position();
    runEventsFor(400);
    EXPECT_EQ(device.position(), pausedAt);
    device.command(QStringLiteral("play"));
    ASSERT_TRUE(waitUntil([&] { return done.count() > 0; }, length + 20000));
    runEventsFor(300);
    EXPECT_EQ(done.count(), 1);
    EXPECT_EQ(device.position(), length);

    device.command(QStringLiteral("close"));
    openFile(device, testdata(QStringLiteral("midi/test-not-a-midi-file.mid")));
    EXPECT_NE(device.error(), 0);
}

}  // namespace
