#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>

#include "platform/media/MpvPlayer.h"
#include "platform/media/OutputVolume.h"
#include "platform/media/PcmOutput.h"
#include "tests/platform/SoundTestTools.h"
#include "tests/support/AudioAnalysis.h"

namespace marlo {
namespace {

// The largest sample of raw 16-bit sound.
int peakOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray bytes = file.readAll();
    const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
    int peak = 0;
    for (qsizetype i = 0; i < bytes.size() / 2; ++i) {
        peak = std::max(peak, std::abs(int(samples[i])));
    }
    return peak;
}

class OutputVolumeTest : public ::testing::Test {
  protected:
    void TearDown() override { OutputVolume::instance().setLevel(1.0); }
    QTemporaryDir dir;
};

TEST_F(OutputVolumeTest, PcmSoundIsScaledByTheOutputVolume) {
    OutputVolume::instance().setLevel(0.5);
    int given = 0;
    PcmOutput output([&given](qint16* out, int frames) {
        const int n = std::min(frames, PcmOutput::kSampleRate / 10 - given);
        std::fill(out, out + 2 * n, qint16(-10000));
        given += n;
        return n;
    });
    output.setSinkFile(dir.filePath("out.pcm"));
    bool ended = false;
    QObject::connect(&output, &PcmOutput::sourceEnded, [&] { ended = true; });
    output.start();
    ASSERT_TRUE(soundtest::processEventsUntil([&] { return ended; }, 5000));
    EXPECT_EQ(peakOf(dir.filePath("out.pcm")), 5000);
}

// mpv's own volume scale is not linear; the same level must give the same amplitude.
TEST_F(OutputVolumeTest, FilesThroughMpvAreScaledAlike) {
    const QString wav = test::writeSineWav(dir.filePath("a.wav"), 440.0, 300);
    const auto peakAt = [&](double level, const QString& out) {
        OutputVolume::instance().setLevel(level);
        MpvPlayer player(nullptr, out);
        bool ended = false;
        QObject::connect(&player, &MpvPlayer::ended, [&] { ended = true; });
        if (!player.isValid() || !player.loadAndWait(wav)) {
            return -1;
        }
        player.play();
        soundtest::processEventsUntil([&] { return ended; }, 10000);
        return peakOf(out);
    };
    const int full = peakAt(1.0, dir.filePath("full.pcm"));
    const int half = peakAt(0.5, dir.filePath("half.pcm"));
    ASSERT_GT(full, 1000);
    EXPECT_NEAR(double(half) / full, 0.5, 0.02);
}

}  // namespace
}  // namespace marlo
