// Prints the silence in milliseconds between the first sound of a recording that lasts at least
// one second and the next sound after it: the gap a listener hears between two items (0 when the
// sound goes on for three seconds and more, longer than a first item of the benchmark).
// Usage: wavgap <recording.wav>
// With --join, for a sine played as two files cut at frame <cut>: the largest step where the two
// meet over the largest step elsewhere in the first <frames> of the sine (above 1: a click).
// Usage: wavgap --join <cut> <frames> <recording.wav>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/SineJoin.h"

int main(int argc, char** argv) {
    const bool join = argc == 5 && std::string(argv[1]) == "--join";
    if (argc != 2 && !join) {
        std::fprintf(stderr, "usage: wavgap [--join <cut> <frames>] <recording.wav>\n");
        return 2;
    }
    std::ifstream in(argv[argc - 1], std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
    auto u16 = [&](size_t at) { return static_cast<unsigned>(bytes[at] | (bytes[at + 1] << 8)); };
    auto u32 = [&](size_t at) { return static_cast<uint32_t>(u16(at) | (u16(at + 2) << 16)); };
    size_t pos = 12;
    size_t data = 0;
    unsigned channels = 2;
    unsigned rate = 44100;
    while (pos + 8 <= bytes.size()) {
        const uint32_t size = u32(pos + 4);
        if (std::memcmp(&bytes[pos], "fmt ", 4) == 0 && pos + 16 <= bytes.size()) {
            channels = u16(pos + 10);
            rate = u32(pos + 12);
        }
        if (std::memcmp(&bytes[pos], "data", 4) == 0) {
            data = pos + 8;
            break;
        }
        pos += 8 + size;
    }
    if (data == 0 || channels == 0 || rate == 0) {
        std::fprintf(stderr, "wavgap: not a PCM WAV file\n");
        return 1;
    }
    if (join) {
        std::vector<int16_t> left;
        for (size_t at = data; at + 2 * channels <= bytes.size(); at += 2 * channels) {
            left.push_back(static_cast<int16_t>(u16(at)));
        }
        const marlo::test::SineJoin found =
            marlo::test::analyseSineJoin(left, std::stoll(argv[2]), std::stoll(argv[3]), rate);
        if (found.first < 0 || found.sineStep == 0) {
            std::fprintf(stderr, "wavgap: no sine in the recording\n");
            return 1;
        }
        std::printf("%.3f\n", double(found.joinStep) / found.sineStep);
        return 0;
    }
    // 5 ms slices: loud when their RMS is above -50 dBFS.
    const size_t frameBytes = 2 * channels;
    const size_t perSlice = rate / 200;
    std::vector<bool> loud;
    for (size_t at = data; at + perSlice * frameBytes <= bytes.size();
         at += perSlice * frameBytes) {
        double sum = 0;
        for (size_t i = 0; i < perSlice; ++i) {
            const auto s = static_cast<int16_t>(u16(at + i * frameBytes));
            sum += static_cast<double>(s) * s;
        }
        loud.push_back(std::sqrt(sum / perSlice) / 32768.0 > 0.00316);
    }
    size_t i = 0;
    while (true) {
        while (i < loud.size() && !loud[i]) {
            ++i;
        }
        size_t start = i;
        while (i < loud.size() && loud[i]) {
            ++i;
        }
        if (i - start >= 600) {
            // Three seconds and more without a break: the items follow without a gap.
            std::printf("0\n");
            return 0;
        }
        if (i >= loud.size()) {
            std::fprintf(stderr, "wavgap: no second sound after a first of one second\n");
            return 1;
        }
        if (i - start >= 200) {
            break;
        }
    }
    const size_t end = i;
    while (i < loud.size() && !loud[i]) {
        ++i;
    }
    if (i >= loud.size()) {
        std::fprintf(stderr, "wavgap: no second sound\n");
        return 1;
    }
    std::printf("%zu\n", (i - end) * 5);
    return 0;
}
