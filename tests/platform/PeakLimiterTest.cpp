#include "platform/media/PeakLimiter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace marlo {
namespace {

// A 1 kHz sine, quiet for the first second, then a burst four times above the ceiling that starts
// at full strength, then quiet again for two seconds.
TEST(PeakLimiterTest, HoldsPeaksAtTheCeilingAndLeavesQuietSoundAlone) {
    constexpr int kRate = 44100;
    constexpr float kCeiling = 0.5F;
    const auto level = [](int frame) {
        return frame >= kRate && frame < kRate + kRate / 2 ? 2.0F : 0.25F;
    };
    std::vector<float> input;
    for (int i = 0; i < 7 * kRate / 2; ++i) {
        const float v = level(i) * float(std::sin(2 * M_PI * 1000 * i / kRate));
        input.push_back(v);
        input.push_back(-v);
    }
    std::vector<float> output = input;
    PeakLimiter limiter(kCeiling, kRate);
    for (size_t at = 0; at < output.size(); at += 2 * 300) {  // blocks of any size
        limiter.process(output.data() + at, int(std::min<size_t>(300, (output.size() - at) / 2)));
    }

    const int delay = PeakLimiter::kDelayFrames;
    double largestGainStep = 0;
    double previousGain = 1;
    for (int i = 0; i + delay < int(output.size() / 2); ++i) {
        const float in = input[2 * i];
        const float out = output[2 * (i + delay)];
        ASSERT_LE(std::fabs(out), kCeiling * 1.0001F) << "frame " << i;
        EXPECT_FLOAT_EQ(output[2 * (i + delay) + 1], -out);  // both channels alike
        // The gain starts falling at most two windows before the burst.
        if (i < kRate - 2 * PeakLimiter::kWindowFrames) {
            ASSERT_EQ(out, in) << "quiet sound before the burst is changed at frame " << i;
        }
        if (i > 3 * kRate) {  // recovered a second after the burst
            ASSERT_NEAR(out, in, 0.001) << "frame " << i;
        }
        if (std::fabs(in) > 0.2F) {
            const double gain = out / in;
            largestGainStep = std::max(largestGainStep, std::fabs(gain - previousGain));
            previousGain = gain;
        }
    }
    // The gain moves in small steps, never jumps to the ceiling at the burst's first peak.
    EXPECT_LT(largestGainStep, 0.1);

    // A reset starts over from silence.
    limiter.reset();
    std::vector<float> again(input.begin(), input.begin() + 2 * 1000);
    limiter.process(again.data(), 1000);
    EXPECT_EQ(again[0], 0.0F);
    EXPECT_EQ(again[2 * delay + 2], input[2]);
}

}  // namespace
}  // namespace marlo
