#include <gtest/gtest.h>

#include <QDir>
#include <QMap>
#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <vector>

#include "platform/media/FluidSynthRenderer.h"
#include "tests/support/TestFolders.h"

using namespace marlo;
using namespace marlo::test;

namespace {

struct Rendered {
    qint64 frames = 0;
    int peak = 0;
    qint64 lastLoudFrame = -1;  // last frame above a whisper
    bool ended = false;
};

// Renders until the end, or gives up after `limitSeconds` of sound.
Rendered renderAll(FluidSynthRenderer& renderer, int limitSeconds = 600) {
    Rendered r;
    std::vector<int16_t> buffer(4096 * 2);
    const qint64 limit = qint64(limitSeconds) * FluidSynthRenderer::kSampleRate;
    while (r.frames < limit) {
        const int n = renderer.render(buffer.data(), 4096);
        if (n == 0) {
            r.ended = true;
            break;
        }
        for (int i = 0; i < n * 2; ++i) {
            const int magnitude = std::abs(int(buffer[i]));
            r.peak = std::max(r.peak, magnitude);
            if (magnitude > 100) {
                r.lastLoudFrame = r.frames + i / 2;
            }
        }
        r.frames += n;
    }
    return r;
}

const QStringList kBroken = {
    QStringLiteral("test-empty-file.mid"),
    QStringLiteral("test-not-a-midi-file.mid"),
    QStringLiteral("test-corrupt-file-missing-byte.mid"),
};

// Valid files holding no note at all.
const QStringList kWithoutNotes = {
    QStringLiteral("test-empty.mid"),
    QStringLiteral("test-sysex-7e-09-01-gm1-enable.mid"),
};

double dbfs(int peak) {
    return 20 * std::log10(std::max(peak, 1) / 32768.0);
}

// Every fixture that is a MIDI file sounds and ends shortly after its last note; the others are
// refused when loading. MIDI is about as loud as other media, and no fixture clips.
TEST(FluidSynthRendererTest, EveryFixtureEitherPlaysToItsEndOrIsRefused) {
    const QDir folder(testdata(QStringLiteral("midi")));
    const QStringList names = folder.entryList({QStringLiteral("*.mid")}, QDir::Files);
    ASSERT_GE(names.size(), 20);
    FluidSynthRenderer renderer;  // one renderer for all: each load starts afresh
    QMap<QString, int> peaks;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        if (kBroken.contains(name)) {
            EXPECT_FALSE(renderer.load(folder.filePath(name)));
            EXPECT_FALSE(renderer.errorText().isEmpty());
            int16_t frame[2];
            EXPECT_EQ(renderer.render(frame, 1), 0);
            continue;
        }
        ASSERT_TRUE(renderer.load(folder.filePath(name))) << renderer.errorText().toStdString();
        const Rendered r = renderAll(renderer);
        peaks.insert(name, r.peak);
        ASSERT_TRUE(r.ended);
        EXPECT_TRUE(renderer.atEnd());
        const qint64 lengthFrames = renderer.lengthMs() * FluidSynthRenderer::kSampleRate / 1000;
        if (kWithoutNotes.contains(name)) {
            EXPECT_LE(r.peak, 100);
            EXPECT_LT(r.frames, lengthFrames + FluidSynthRenderer::kSampleRate / 10);
            continue;
        }
        EXPECT_GT(r.peak, 1000);
        EXPECT_GT(renderer.lengthMs(), 0);
        // The end follows the last tick, plus at most the ring-out of the last notes.
        EXPECT_GE(r.frames, lengthFrames);
        EXPECT_LE(r.frames, lengthFrames + 4 * FluidSynthRenderer::kSampleRate + 4096);
        // Sound reaches into the last second of the music.
        EXPECT_GT(r.lastLoudFrame, lengthFrames - FluidSynthRenderer::kSampleRate);
        EXPECT_EQ(renderer.positionMs(), r.frames * 1000 / FluidSynthRenderer::kSampleRate);
    }
    for (auto it = peaks.cbegin(); it != peaks.cend(); ++it) {
        std::cout << "peak " << std::fixed << std::setprecision(1) << dbfs(it.value()) << " dBFS  "
                  << it.key().toStdString() << std::endl;
        EXPECT_LT(it.value(), 32767) << it.key().toStdString() << " clips";
    }
    // A plain piano scale: where a tone or a file near full scale sits, not 18 dB below.
    const double scale = dbfs(peaks.value(QStringLiteral("test-c-major-scale.mid")));
    EXPECT_GE(scale, -9.0);
    EXPECT_LE(scale, -1.0);
}

TEST(FluidSynthRendererTest, SeekingSkipsTheMusicBefore) {
    FluidSynthRenderer renderer;
    const QString scale = testdata(QStringLiteral("midi/test-c-major-scale.mid"));
    ASSERT_TRUE(renderer.load(scale));
    const Rendered whole = renderAll(renderer);
    const qint64 length = renderer.lengthMs();
    ASSERT_GT(length, 2000);

    ASSERT_TRUE(renderer.load(scale));
    renderer.seekMs(length / 2);
    EXPECT_EQ(renderer.positionMs(), length / 2);
    const Rendered rest = renderAll(renderer);
    ASSERT_TRUE(rest.ended);
    const qint64 skipped = whole.frames - rest.frames;
    EXPECT_NEAR(double(skipped) * 1000 / FluidSynthRenderer::kSampleRate, length / 2, 100);
    EXPECT_GT(rest.peak, 1000);

    // Back to the start after the end: the whole piece again.
    renderer.seekMs(0);
    EXPECT_FALSE(renderer.atEnd());
    EXPECT_NEAR(renderAll(renderer).frames, whole.frames, 4096);
}

}  // namespace
