#pragma once

#include <QByteArray>

namespace marlo::test {

// A four-channel MOD file of one order whose pattern ends after `rows` rows (a pattern break on
// the last one): a note of a plain square wave on the first row, nothing else.
inline QByteArray tinyModule(int rows) {
    constexpr int kSampleBytes = 2000;
    QByteArray bytes(1084, '\0');
    bytes.replace(0, 4, "tiny");
    auto be16 = [&bytes](int at, int value) {
        bytes[at] = char((value >> 8) & 0xff);
        bytes[at + 1] = char(value & 0xff);
    };
    // Sample 1: length in words, volume 64, no loop (repeat length 1 word).
    const int sample = 20;
    be16(sample + 22, kSampleBytes / 2);
    bytes[sample + 25] = 64;
    be16(sample + 28, 1);
    bytes[950] = 1;    // song length: one order
    bytes[951] = 127;  // restart byte as trackers write it
    bytes[952] = 0;    // order 0 plays pattern 0
    bytes.replace(1080, 4, "M.K.");
    QByteArray pattern(64 * 4 * 4, '\0');
    auto cell = [&pattern](int row, int channel, int instrument, int period, int effect,
                           int param) {
        const int at = (row * 4 + channel) * 4;
        pattern[at] = char((instrument & 0xf0) | ((period >> 8) & 0x0f));
        pattern[at + 1] = char(period & 0xff);
        pattern[at + 2] = char(((instrument & 0x0f) << 4) | (effect & 0x0f));
        pattern[at + 3] = char(param);
    };
    cell(0, 0, 1, 428, 0, 0);  // C-3
    if (rows < 64) {
        cell(rows - 1, 1, 0, 0, 0xD, 0);  // pattern break: the song ends after this row
    }
    bytes.append(pattern);
    for (int i = 0; i < kSampleBytes; ++i) {
        bytes.append(char((i / 50) % 2 == 0 ? 80 : -80));
    }
    return bytes;
}

}  // namespace marlo::test
