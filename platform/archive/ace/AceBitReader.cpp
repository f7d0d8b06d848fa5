#include "platform/archive/ace/AceBitReader.h"

#include "platform/archive/ace/AceFailure.h"
#include "platform/archive/ace/AcePackedSource.h"

namespace marlo::ace {

namespace {

constexpr qsizetype kChunk = 64 * 1024;
// Rice values past this are never produced by a real encoder and would overflow the decoders.
constexpr qint64 kRiceLimit = qint64(1) << 31;

qint64 paddedBits(qint64 bytes) {
    return ((bytes + 3) / 4) * 32 + 32;
}

}  // namespace

BitReader::BitReader(PackedSource& source)
    : source_(&source), available_(paddedBits(source.totalSize())) {}

BitReader::BitReader(const QByteArray& bytes)
    : buffer_(bytes), available_(paddedBits(bytes.size())) {}

quint32 BitReader::nextWord() {
    unsigned char word[4] = {0, 0, 0, 0};
    for (unsigned char& byte : word) {
        if (bufferPos_ >= buffer_.size() && source_ != nullptr) {
            buffer_.resize(kChunk);
            buffer_.resize(source_->read(buffer_.data(), kChunk));
            bufferPos_ = 0;
            if (buffer_.isEmpty()) {
                source_ = nullptr;
            }
        }
        if (bufferPos_ >= buffer_.size()) {
            break;  // past the data: zero padding
        }
        byte = quint8(buffer_[bufferPos_++]);
    }
    return quint32(word[0]) | quint32(word[1]) << 8 | quint32(word[2]) << 16 |
           quint32(word[3]) << 24;
}

void BitReader::fill() {
    while (held_ <= 32) {
        bits_ |= quint64(nextWord()) << (32 - held_);
        held_ += 32;
    }
}

void BitReader::skip(int count) {
    consumed_ += count;
    require(consumed_ <= available_);
    if (held_ < count) {
        fill();
    }
    bits_ = count == 64 ? 0 : bits_ << count;
    held_ -= count;
}

quint32 BitReader::readImpliedTop(int width) {
    if (width < 2) {
        return quint32(width);
    }
    return read(width - 1) + (quint32(1) << (width - 1));
}

qint64 BitReader::readRice(int lowBits) {
    require(lowBits >= 0 && lowBits <= 30);
    qint64 value = read(lowBits);
    while (read(1) == 1) {
        value += qint64(1) << lowBits;
        require(value < kRiceLimit);
    }
    return value;
}
}  // namespace marlo::ace
