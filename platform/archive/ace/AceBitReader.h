#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace marlo::ace {

class PackedSource;

// ACE packs bits into little-endian 32-bit words and reads each word from its top bit down.
// Reading may run 32 bits past the data (the decoders peek ahead); reading further is damage.
class BitReader {
  public:
    explicit BitReader(PackedSource& source);
    explicit BitReader(const QByteArray& bytes);

    // Next `count` bits (0..32) without consuming them.
    quint32 peek(int count) {
        if (count == 0) {
            return 0;
        }
        if (held_ < count) {
            fill();
        }
        return quint32(bits_ >> (64 - count));
    }

    void skip(int count);

    quint32 read(int count) {
        const quint32 value = peek(count);
        skip(count);
        return value;
    }

    // An unsigned value whose top bit (of `width`) is implied and not stored.
    quint32 readImpliedTop(int width);

    // Golomb-Rice code: `lowBits` stored bits plus a unary count of 2^lowBits steps.
    qint64 readRice(int lowBits);

  private:
    void fill();
    quint32 nextWord();

    PackedSource* source_ = nullptr;
    QByteArray buffer_;
    qsizetype bufferPos_ = 0;
    quint64 bits_ = 0;  // pending bits, left-aligned
    int held_ = 0;
    qint64 consumed_ = 0;
    qint64 available_ = 0;  // data bits plus one word of zero padding
};

// Number of bits needed to write a non-negative value (0 for 0).
inline int bitLength(int value) {
    int length = 0;
    while (value > 0) {
        ++length;
        value >>= 1;
    }
    return length;
}

}  // namespace marlo::ace
