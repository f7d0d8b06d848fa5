#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace marlo::ace {

// ACE uses the CRC-32 polynomial but keeps the running register as the checksum: it starts at
// all ones and is never inverted at the end, so its values differ from zip's.
constexpr quint32 kCrcStart = 0xFFFFFFFFu;

quint32 crc32Update(quint32 crc, const char* data, qsizetype size);

inline quint32 crc32(const QByteArray& bytes) {
    return crc32Update(kCrcStart, bytes.constData(), bytes.size());
}

// Header checksums are the low half of the same register.
inline quint16 crc16(const QByteArray& bytes) {
    return quint16(crc32(bytes) & 0xFFFFu);
}

}  // namespace marlo::ace
