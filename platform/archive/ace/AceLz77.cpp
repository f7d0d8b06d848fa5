#include "platform/archive/ace/AceLz77.h"

#include "platform/archive/ace/AceBitReader.h"
#include "platform/archive/ace/AceFailure.h"

namespace marlo::ace {

namespace {

// Main code: 0..255 literals, 256..259 reuse one of the last four distances, 260..282 a new
// distance of (code - 260) bits, 283 a mode switch.
constexpr int kCodeWidth = 11;
constexpr int kMainSymbols = 260 + Lz77Decoder::kDictionaryBits + 2;
constexpr int kModeSwitchCode = 260 + Lz77Decoder::kDictionaryBits + 1;
constexpr int kLengthSymbols = 255;
constexpr quint32 kLongAt3 = 255;   // distances above this need matches of at least 3
constexpr quint32 kLongAt4 = 8191;  // and above this of at least 4
constexpr quint32 kMask = (quint32(1) << Lz77Decoder::kDictionaryBits) - 1;

}  // namespace

Lz77Decoder::Lz77Decoder() : dictionary_(size_t(kMask) + 1, 0) {}

void Lz77Decoder::startMember() {
    for (quint32& distance : history_) {
        distance = 0;
    }
    block_.clear();
    switches_.clear();
    next_ = 0;
    heldBack_.clear();
}

void Lz77Decoder::remember(const char* data, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i) {
        dictionary_[position_] = data[i];
        position_ = (position_ + 1) & kMask;
    }
}

void Lz77Decoder::put(char byte, QByteArray& out) {
    dictionary_[position_] = byte;
    position_ = (position_ + 1) & kMask;
    out.append(byte);
}

// ACE decodes a whole block of symbols before using any, so a mode switch inside a block hands
// the bit stream to the next coder only after the block's remaining symbols.
void Lz77Decoder::readBlock(BitReader& bits) {
    mainCode_.read(bits, kCodeWidth, kMainSymbols);
    lengthCode_.read(bits, kCodeWidth, kLengthSymbols);
    const quint32 count = bits.read(15);
    block_.clear();
    switches_.clear();
    next_ = 0;
    block_.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        const int code = mainCode_.decode(bits);
        if (code == kModeSwitchCode) {
            switches_.push_back(readModeSwitch(bits));
            block_.push_back({quint16(code), 0, quint32(switches_.size() - 1)});
        } else if (code > 255) {
            quint32 distance = 0;
            if (code > 259) {
                const int width = code - 260;
                // Wider distances than the dictionary cannot come from a packer.
                require(width <= kDictionaryBits);
                distance = bits.readImpliedTop(width);
            }
            const int length = lengthCode_.decode(bits);
            block_.push_back({quint16(code), quint16(length), distance});
        } else {
            block_.push_back({quint16(code), 0, 0});
        }
    }
}

qsizetype Lz77Decoder::replay(const Symbol& symbol, QByteArray& out) {
    if (symbol.code < 256) {
        put(char(symbol.code), out);
        return 1;
    }
    quint32 distance = 0;
    qsizetype length = symbol.length;
    if (symbol.code > 259) {
        distance = symbol.distance;
        history_[0] = history_[1];
        history_[1] = history_[2];
        history_[2] = history_[3];
        history_[3] = distance;
        length += distance <= kLongAt3 ? 2 : distance <= kLongAt4 ? 3 : 4;
    } else {
        // Reusing a recent distance moves it to the most recent place.
        const int back = symbol.code - 256;
        const int index = 3 - back;
        distance = history_[index];
        for (int i = index; i < 3; ++i) {
            history_[i] = history_[i + 1];
        }
        history_[3] = distance;
        length += back > 1 ? 3 : 2;
    }
    require(distance <= kMask);
    quint32 source = (position_ - distance - 1) & kMask;
    for (qsizetype i = 0; i < length; ++i) {
        put(dictionary_[source], out);
        source = (source + 1) & kMask;
    }
    return length;
}

std::optional<ModeSwitch> Lz77Decoder::read(BitReader& bits, qsizetype want, QByteArray& out) {
    const qsizetype start = out.size();
    qsizetype have = 0;
    if (!heldBack_.isEmpty()) {
        out.append(heldBack_);
        have = heldBack_.size();
        heldBack_.clear();
    }
    std::optional<ModeSwitch> result;
    // Keep going past `want` only to take a mode switch that directly follows.
    while (have < want || next_ == block_.size() || block_[next_].code == kModeSwitchCode) {
        if (next_ == block_.size()) {
            if (have == want) {
                break;
            }
            readBlock(bits);
            continue;
        }
        const Symbol& symbol = block_[next_++];
        if (symbol.code == kModeSwitchCode) {
            result = switches_[symbol.distance];
            break;
        }
        have += replay(symbol, out);
    }
    if (have > want) {
        heldBack_ = out.mid(start + want);
        out.truncate(start + want);
    }
    return result;
}

}  // namespace marlo::ace
