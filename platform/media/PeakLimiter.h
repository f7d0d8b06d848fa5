#pragma once

#include <utility>
#include <vector>

namespace marlo {

// Keeps interleaved stereo samples (nominal range -1..1) at or below a ceiling instead of letting
// them clip. The sound is delayed by kDelayFrames so the gain can start falling before a peak
// arrives: it falls smoothly to what the loudest sample needs, and rises back slowly afterwards.
// Sound that stays below the ceiling passes unchanged, only delayed.
class PeakLimiter {
  public:
    static constexpr int kWindowFrames = 128;
    static constexpr int kDelayFrames = kWindowFrames - 1;

    PeakLimiter(float ceiling, int sampleRate, double releaseSeconds = 0.15);

    // Forgets the sound so far: the next frames start from silence in the delay.
    void reset();
    // Processes `frames` stereo frames in place.
    void process(float* interleaved, int frames);

  private:
    void limitFrame(float& left, float& right);

    float ceiling_;
    double release_;  // share of the way back to full gain gone per frame
    long long frame_ = 0;
    std::vector<float> delayed_;  // the last kWindowFrames input frames, interleaved, by frame % W
    // Gains each input frame needs, as a deque of (frame, gain) rising from front to back: its
    // front is the smallest gain of the last kWindowFrames frames.
    std::vector<std::pair<long long, float>> minima_;
    int minFront_ = 0;
    int minCount_ = 0;
    std::vector<float> window_;  // the sliding minima of the last kWindowFrames frames
    double windowSum_ = 0;
    double gain_ = 1;
};

}  // namespace marlo
