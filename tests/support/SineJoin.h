#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace marlo::test {

// Where a recorded sine, played as two files cut at one sample, begins and ends, and how smooth
// it runs where the two files meet. Frames are of one channel, counted from the recording's
// start; a silence is a run of zero samples.
struct SineJoin {
    long long first = -1;  // the first frame of sound
    long long end = -1;    // the frame after the last one before a silence of 10 ms
    int joinStep = 0;      // largest sample-to-sample step within 10 ms of first + cut
    int sineStep = 0;      // largest step elsewhere in the sine, 50 ms away from its ends
};

inline SineJoin analyseSineJoin(const std::vector<int16_t>& samples, long long cut,
                                long long sineFrames, int rate = 44100) {
    SineJoin join;
    const auto size = static_cast<long long>(samples.size());
    auto at = [&](long long i) { return static_cast<int>(samples[static_cast<size_t>(i)]); };
    long long i = 0;
    while (i < size && at(i) == 0) {
        ++i;
    }
    if (i == size) {
        return join;
    }
    // The sine starts at 0: its first frame is the zero before the first sample heard.
    join.first = std::max(0LL, i - 1);
    const long long silence = rate / 100;
    long long zeros = 0;
    for (; i < size; ++i) {
        zeros = at(i) == 0 ? zeros + 1 : 0;
        if (zeros == silence) {
            join.end = i + 1 - silence;
            break;
        }
    }
    const long long joinAt = join.first + cut;
    const long long margin = rate / 20;
    for (long long n = join.first + margin; n < std::min(size, join.first + sineFrames - margin);
         ++n) {
        const int step = std::abs(at(n) - at(n - 1));
        int& largest = std::llabs(n - joinAt) <= silence ? join.joinStep : join.sineStep;
        largest = std::max(largest, step);
    }
    return join;
}

}  // namespace marlo::test
