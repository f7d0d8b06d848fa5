#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "MediaTestTools.h"
#include "platform/media/AudioDecoder.h"
#include "platform/media/FileMediaDevice.h"
#include "tests/support/TestFolders.h"

using namespace marlo;
using namespace marlo::test;

namespace {

// A 1500 ms 440 Hz tone made by the encoders users' files come from.
struct Made {
    const char* name;
    const char* extension;
    QStringList (*command)(const QString& wav, const QString& out);  // program, then arguments
    qint64 lengthSlackMs;
};

void PrintTo(const Made& made, std::ostream* out) {
    *out << made.name;
}

QString make(const Made& made, const QString& wav, const QString& out) {
    QStringList command = made.command(wav, out);
    const QString program = command.takeFirst();
    QProcess process;
    process.start(program, command);
    process.waitForFinished(30000);
    return process.exitCode() == 0 && QFileInfo(out).size() > 0 ? out : QString();
}

class LightDecoderTest : public ::testing::TestWithParam<Made> {
  protected:
    QString file(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

// Length, a play from a position, the end notice and the decoded tone, without libmpv.
TEST_P(LightDecoderTest, PlaysTheToneWithItsLengthFromAnyPosition) {
    const QString wav = writeSineWav(file("tone.wav"), 440.0, 1500);
    const QString media =
        make(GetParam(), wav, file(QStringLiteral("tone.") + GetParam().extension));
    ASSERT_FALSE(media.isEmpty());
    ASSERT_NE(openLightDecoder(media), nullptr);

    FileMediaDevice device(nullptr, file("out.pcm"));
    SignalCounter done(&device, &MediaDevice::done);
    device.setFileName(media);
    device.command("open");
    ASSERT_EQ(device.error(), 0);
    EXPECT_NEAR(device.length(), 1500, GetParam().lengthSlackMs);
    device.command("play");
    ASSERT_TRUE(waitUntil([&] { return done.count() == 1; }));
    EXPECT_EQ(device.position(), device.length());
    PcmSummary sound = summarizePcmFile(file("out.pcm"));
    EXPECT_NEAR(sound.seconds, 1.5, (GetParam().lengthSlackMs + 2) / 1000.0);
    EXPECT_NEAR(sound.hz, 440.0, 3.0);
    EXPECT_GT(sound.peak, 5000);

    device.setFrom(1000);
    device.command("play");
    ASSERT_TRUE(waitUntil([&] { return done.count() == 2; }));
    sound = summarizePcmFile(file("out.pcm"));
    EXPECT_NEAR(sound.seconds, 0.5, (GetParam().lengthSlackMs + 2) / 1000.0);
    EXPECT_NEAR(sound.hz, 440.0, 3.0);
    EXPECT_FALSE(device.usesMpv());
}

QStringList sox(const QString& wav, const QString& out, const QStringList& options) {
    return QStringList{"sox", wav} + options + QStringList{out};
}

INSTANTIATE_TEST_SUITE_P(
    Files, LightDecoderTest,
    ::testing::Values(
        Made{"flac", "flac",
             [](const QString& w, const QString& o) {
                 return QStringList{"flac", "-s", "-f", "-o", o, w};
             },
             0},
        Made{"flac_96k_24bit_6ch", "flac",
             [](const QString& w, const QString& o) {
                 return sox(w, o, {"-b", "24", "-r", "96000", "-c", "6"});
             },
             1},
        Made{"ogg", "ogg",
             [](const QString& w, const QString& o) {
                 return QStringList{"oggenc", "-Q", "-o", o, w};
             },
             1},
        Made{"opus_mono", "opus",
             [](const QString& w, const QString& o) {
                 return QStringList{"opusenc", "--quiet", w, o};
             },
             1},
        Made{"lame_mp3", "mp3",
             [](const QString& w, const QString& o) {
                 return QStringList{"lame", "--silent", w, o};
             },
             1},
        Made{"lame_mp3_22k_mono_vbr", "mp3",
             [](const QString& w, const QString& o) {
                 return QStringList{"lame", "--silent", "-V4", "--resample", "22.05", w, o};
             },
             1},
        Made{"aiff", "aiff", [](const QString& w, const QString& o) { return sox(w, o, {}); }, 0},
        Made{"au", "au", [](const QString& w, const QString& o) { return sox(w, o, {}); }, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// What the name promises but the bytes do not hold ends the start with a device error; a cut
// file plays what it holds, as long as it says, and ends. Nothing crashes or hangs.
TEST(LightDecoderBadInput, RefusedFilesFailTheOpenAndCutFilesEnd) {
    QTemporaryDir dir;
    const QString wav = writeSineWav(dir.filePath("tone.wav"), 440.0, 3000);
    const QString flac = dir.filePath("tone.flac");
    const QString mp3 = dir.filePath("tone.mp3");
    ASSERT_EQ(QProcess::execute("flac", {"-s", "-o", flac, wav}), 0);
    ASSERT_EQ(QProcess::execute("lame", {"--silent", wav, mp3}), 0);
    const QStringList refused = {
        writeFile(dir.filePath("text.flac"), "this is a note, not a sound\n"),
        writeFile(dir.filePath("text.ogg"), QByteArray(5000, 'x')),
        writeFile(dir.filePath("empty.flac"), QByteArray()),
        writeFile(dir.filePath("empty.mp3"), QByteArray()),
        writeFile(dir.filePath("words.mp3"), QByteArray("no frames here\n").repeated(200)),
    };
    FileMediaDevice device(nullptr, dir.filePath("out.pcm"));
    for (const QString& path : refused) {
        EXPECT_EQ(openLightDecoder(path), nullptr) << path.toStdString();
        device.setFileName(path);
        device.command("open");
        EXPECT_EQ(device.error(), mediaerror::kCannotPlayFile) << path.toStdString();
        EXPECT_FALSE(device.isOpen());
    }

    SignalCounter done(&device, &MediaDevice::done);
    int plays = 0;
    // A FLAC is measured from its end, so it is cut at more places, one of them inside the
    // last megabyte's first frame.
    const QList<std::pair<QString, double>> cuts = {
        {flac, 0.5}, {flac, 0.3}, {flac, 0.85}, {mp3, 0.5}};
    for (const auto& [whole, fraction] : cuts) {
        const QString cut = writeFile(
            whole + QString(".cut%1.").arg(int(fraction * 100)) + QFileInfo(whole).suffix(),
            readFile(whole).left(qint64(double(QFileInfo(whole).size()) * fraction)));
        device.setFileName(cut);
        device.command("open");
        if (device.error() != 0) {
            continue;  // refused as a whole is fine too
        }
        device.command("play");
        ++plays;
        ASSERT_TRUE(waitUntil([&] { return done.count() == plays; }, 10000)) << cut.toStdString();
        const PcmSummary sound = summarizePcmFile(dir.filePath("out.pcm"));
        EXPECT_GT(sound.seconds, 0.2) << cut.toStdString();
        EXPECT_LT(sound.seconds, 3.0 * fraction + 0.5) << cut.toStdString();
        EXPECT_NEAR(device.length(), sound.seconds * 1000, 25) << cut.toStdString();
    }
}

}  // namespace
