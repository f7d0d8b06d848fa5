#include "platform/media/PeakLimiter.h"

#include <algorithm>
#include <cmath>

namespace marlo {

PeakLimiter::PeakLimiter(float ceiling, int sampleRate, double releaseSeconds)
    : ceiling_(ceiling),
      release_(1.0 - std::exp(-1.0 / (releaseSeconds * sampleRate))),
      delayed_(2 * kWindowFrames),
      minima_(kWindowFrames),
      window_(kWindowFrames) {
    reset();
}

void PeakLimiter::reset() {
    frame_ = 0;
    std::fill(delayed_.begin(), delayed_.end(), 0.0F);
    minFront_ = 0;
    minCount_ = 0;
    std::fill(window_.begin(), window_.end(), 1.0F);
    windowSum_ = kWindowFrames;
    gain_ = 1;
}

void PeakLimiter::process(float* interleaved, int frames) {
    for (int i = 0; i < frames; ++i) {
        limitFrame(interleaved[2 * i], interleaved[2 * i + 1]);
    }
}

// With W = kWindowFrames, the gain for the frame leaving the delay (input frame k = n - W + 1)
// is the mean, over the W frames up to k, of the smallest gain each of them sees in the W frames
// from itself on. Every one of those W minima covers frame k, so the mean never exceeds what
// frame k needs; and a mean of W values changes by small steps, so the gain has no corners.
void PeakLimiter::limitFrame(float& left, float& right) {
    const long long n = frame_++;
    const float loudest = std::max(std::fabs(left), std::fabs(right));
    const float needed = loudest > ceiling_ ? ceiling_ / loudest : 1.0F;

    // The sliding minimum over frames n - W + 1 .. n.
    while (minCount_ > 0 && minima_[(minFront_ + minCount_ - 1) % kWindowFrames].second >= needed) {
        --minCount_;
    }
    minima_[(minFront_ + minCount_) % kWindowFrames] = {n, needed};
    ++minCount_;
    if (minima_[minFront_].first <= n - kWindowFrames) {
        minFront_ = (minFront_ + 1) % kWindowFrames;
        --minCount_;
    }
    const float minimum = minima_[minFront_].second;

    // Its mean over the last W frames.
    const int slot = static_cast<int>(n % kWindowFrames);
    windowSum_ += double(minimum) - window_[slot];
    window_[slot] = minimum;
    const double smooth = std::min(1.0, windowSum_ / kWindowFrames);
    // Falls with the mean at once; rises no faster than the release allows.
    gain_ = smooth < gain_ ? smooth : std::min(smooth, gain_ + (1.0 - gain_) * release_);

    // The input goes into the delay; the frame W - 1 frames older comes out.
    float* in = &delayed_[2 * slot];
    in[0] = left;
    in[1] = right;
    const float* out = &delayed_[2 * ((n + 1) % kWindowFrames)];
    left = float(out[0] * gain_);
    right = float(out[1] * gain_);
}

}  // namespace marlo
