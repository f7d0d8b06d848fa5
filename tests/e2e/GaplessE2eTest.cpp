#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "library/ItemStore.h"
#include "platform/media/AudioDecoder.h"
#include "tests/e2e/ProgramFixture.h"
#include "tests/support/AudioAnalysis.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SineJoin.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

constexpr long long kSineFrames = 6 * 44100;
// Near a crest of the 440 Hz sine, where a gap or a click is a step of the whole amplitude; on
// neither an MP3 frame (1152) nor a FLAC block (4096) boundary.
constexpr long long kCut = 132325;

struct Format {
    const char* ending;
    const char* typeTag;
};

void PrintTo(const Format& format, std::ostream* out) {
    *out << format.ending;
}

bool run(const QString& program, const QStringList& arguments) {
    return QProcess::execute(program, arguments) == 0;
}

// A 440 Hz sine of 6 s cut in two files at one sample, between files of half a second of
// silence, listed as a user lists an album's tracks and played with "Repeat all" and "Autoplay".
// The silence before the sine is of the sine's format: a sink that takes a new stream in may
// drop its first milliseconds from the recording, so the sine starts in a stream under way.
class GaplessE2e : public test::ProgramFixture, public ::testing::WithParamInterface<Format> {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        const QString media = dir.path() + "/media/";
        QDir().mkpath(media);
        QDir().mkpath(program + "Data");
        const QString sine = media + "sine.wav";
        // No dither: silence is zeros.
        ASSERT_TRUE(run("sox", {"-D", "-n", "-r", "44100", "-c", "2", "-b", "16", sine, "synth",
                                "6", "sine", "440", "vol", "0.5"}));
        const QString cut = QString::number(kCut) + "s";
        ASSERT_TRUE(run("sox", {"-D", sine, media + "first.wav", "trim", "0s", cut}));
        ASSERT_TRUE(run("sox", {"-D", sine, media + "second.wav", "trim", cut}));
        ASSERT_TRUE(run("sox", {"-D", "-n", "-r", "44100", "-c", "2", "-b", "16",
                                media + "lead.wav", "trim", "0", "1"}));
        QFile::copy(media + "lead.wav", media + "quiet.wav");
        const QString ending = GetParam().ending;
        for (const char* name : {"lead", "first", "second"}) {
            const QString wav = media + name + ".wav";
            const QString out = media + name + "." + ending;
            if (ending == "flac") {
                ASSERT_TRUE(run("flac", {"--silent", "-o", out, wav}));
            } else if (ending == "mp3") {
                ASSERT_TRUE(run("lame", {"--quiet", "-b", "192", wav, out}));
            }
        }
        test::ScriptedPrompts prompts;
        ItemStore store(program + "Data/Marlo.zip", prompts);
        const QString tag = GetParam().typeTag;
        store.putItemRecord({MediaKind::Audio, "A Lead", media + "lead." + ending, "", tag});
        store.putItemRecord({MediaKind::Audio, "B First", media + "first." + ending, "", tag});
        store.putItemRecord({MediaKind::Audio, "C Second", media + "second." + ending, "", tag});
        store.putItemRecord({MediaKind::Audio, "D Quiet", media + "quiet.wav", "", ""});
        ASSERT_TRUE(store.commit());
        test::writeFile(program + "Data/Audio.dat", "Album\r\n");
        test::writeFile(program + "Data/aAlbum.dat",
                        "A Lead\r\nB First\r\nC Second\r\nD Quiet\r\n");
        // Repeat all (line 4 = 6), Autoplay (line 11).
        test::writeFile(
            program + "Set.cfg",
            "0\r\n0\r\n-1\r\n6\r\n0\r\n0\r\n1500\r\n1500\r\n0|0\r\n12\r\n1\r\n0\r\n1\r\n"
            "0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\nStandard\r\n\r\n-1\r\n");
        test::writeFile(program + "SkinName.ini", "Vantel's Design\r\nStandard\r\n");
    }

    void TearDown() override {
        if (recorder.state() != QProcess::NotRunning) {
            recorder.kill();
            recorder.waitForFinished(3000);
        }
        ProgramFixture::TearDown();
    }

    QProcess recorder;
};

// The left channel of the two files one after the other, as the decoder gives them.
std::vector<int16_t> decodedOneAfterOther(const QStringList& paths) {
    std::vector<int16_t> left;
    for (const QString& path : paths) {
        std::unique_ptr<AudioDecoder> decoder = openLightDecoder(path);
        if (!decoder) {
            return {};
        }
        std::vector<float> block(std::size_t(4096) * std::size_t(decoder->channels()));
        while (const int frames = decoder->read(block.data(), 4096)) {
            for (int i = 0; i < frames; ++i) {
                const float v = std::clamp(block[std::size_t(i * decoder->channels())], -1.f, 1.f);
                left.push_back(int16_t(std::lround(v * 32767.0f)));
            }
        }
    }
    return left;
}

// The left channel of what parecord has written so far.
std::vector<int16_t> recorded(const QString& path) {
    const QByteArray bytes = test::readFile(path);
    const std::optional<test::WavFormat> format = test::wavFormat(bytes);
    std::vector<int16_t> left;
    if (!format) {
        return left;
    }
    const qsizetype frameBytes = 2 * format->channels;
    for (qsizetype at = format->dataStart; at + frameBytes <= bytes.size(); at += frameBytes) {
        left.push_back(qFromLittleEndian<qint16>(bytes.constData() + at));
    }
    return left;
}

// The two halves sound as the one sine they were cut from: as long, and no step where they meet
// larger than the sine's own. An MP3 file cut off at a crest holds coding noise at its ends
// that no player takes out: the step may be as large as the decoded files have it there.
TEST_P(GaplessE2e, TwoFilesCutFromOneSineSoundAsTheSine) {
    const QString recording = dir.path() + "/rec.wav";
    recorder.setProcessEnvironment(environment());
    recorder.start("parecord", {"--device=test_sink.monitor", "--latency-msec=20",
                                "--file-format=wav", recording});
    ASSERT_TRUE(recorder.waitForStarted(5000));
    QElapsedTimer clock;
    clock.start();
    while (recorded(recording).size() < 4410 && clock.elapsed() < 5000) {
        QThread::msleep(20);
    }
    start();
    test::SineJoin heard;
    while (clock.elapsed() < 40000) {
        QThread::msleep(250);
        heard = test::analyseSineJoin(recorded(recording), kCut, kSineFrames);
        if (heard.end >= 0 && heard.first >= 0) {
            break;
        }
    }
    marlo.kill();
    ASSERT_GE(heard.first, 0) << "nothing heard";
    ASSERT_GE(heard.end, 0) << "no silence after the sine";
    // Within 1 ms; libmpg123 cuts the LAME encoder's delay and padding to the sample.
    EXPECT_NEAR(heard.end - heard.first, kSineFrames, 44);
    const QString media = dir.path() + "/media/";
    const QString ending = GetParam().ending;
    const test::SineJoin files = test::analyseSineJoin(
        decodedOneAfterOther({media + "first." + ending, media + "second." + ending}), kCut,
        kSineFrames);
    ASSERT_EQ(files.first, 0);
    EXPECT_GT(heard.sineStep, 900);
    EXPECT_LE(heard.joinStep, std::max(heard.sineStep, files.joinStep));
}

INSTANTIATE_TEST_SUITE_P(Formats, GaplessE2e,
                         ::testing::Values(Format{"wav", ""}, Format{"flac", ""},
                                           Format{"mp3", "mp3"}),
                         [](const auto& info) { return std::string(info.param.ending); });

}  // namespace
}  // namespace marlo
