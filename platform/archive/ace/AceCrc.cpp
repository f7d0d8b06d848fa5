#include "platform/archive/ace/AceCrc.h"

#include <array>

namespace marlo::ace {

namespace {

constexpr std::array<quint32, 256> makeTable() {
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 value = i;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1u) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
        }
        table[i] = value;
    }
    return table;
}

constexpr std::array<quint32, 256> kTable = makeTable();

}  // namespace

quint32 crc32Update(quint32 crc, const char* data, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i) {
        crc = kTable[(crc ^ quint8(data[i])) & 0xFFu] ^ (crc >> 8);
    }
    return crc;
}

}  // namespace marlo::ace
