#include "platform/archive/ace/AceSound.h"

#include <cstdlib>

#include "platform/archive/ace/AceBitReader.h"
#include "platform/archive/ace/AceFailure.h"

namespace marlo::ace {

namespace {

constexpr int kRunCodes = 32;
constexpr int kModeSwitchCode = 256 + kRunCodes;
constexpr int kSymbols = 256 + kRunCodes + 1;
constexpr int kCodeWidth = 10;

constexpr int kLaneCount[4] = {1, 2, 3, 3};
// Which lane codes each byte of a 4-byte group, per sample layout (8 bit, 16 bit, 32 bit A/B).
constexpr int kLaneOfByte[4][4] = {{0, 0, 0, 0}, {0, 1, 0, 1}, {0, 1, 0, 2}, {1, 0, 2, 0}};

// Magnitude class of a byte taken as a signed difference.
int magnitude(int value) {
    const int byte = value & 0xFF;
    return byte <= 128 ? bitLength(byte) : bitLength(256 - byte);
}

}  // namespace

void SoundDecoder::start(quint8 mode) {
    layout_ = mode - quint8(AceMode::Sound8);
    lanes_ = {};
    codes_.assign(size_t(kLaneCount[layout_] * 3), HuffmanTable());
    blockLeft_ = 0;
}

int SoundDecoder::nextSymbol(BitReader& bits, int model) {
    if (blockLeft_ == 0) {
        for (HuffmanTable& table : codes_) {
            table.read(bits, kCodeWidth, kSymbols);
        }
        blockLeft_ = int(bits.read(15));
    }
    --blockLeft_;
    require(model < int(codes_.size()));
    return codes_[size_t(model)].decode(bits);
}

std::optional<int> SoundDecoder::residual(BitReader& bits, int laneIndex, ModeSwitch& modeSwitch) {
    Lane& lane = lanes_[size_t(laneIndex)];
    int value = 0;
    if (lane.state != 2) {
        int model = lane.state * 2;
        if (model == 0) {
            model += lane.useAdapted;
        }
        lane.code = nextSymbol(bits, model + 3 * laneIndex);
        if (lane.code == kModeSwitchCode) {
            modeSwitch = readModeSwitch(bits);
            return std::nullopt;
        }
    }
    if (lane.state == 0) {
        if (lane.code >= kRunCodes) {
            value = lane.code - kRunCodes;
            lane.adaptSum = ((lane.adaptSum * 7) >> 3) + value;
            lane.useAdapted = lane.adaptSum > 40 ? 1 : 0;
        } else {
            lane.state = 2;
        }
    } else if (lane.state == 1) {
        value = lane.code;
        lane.state = 0;
    }
    if (lane.state == 2) {
        // A run of code + 1 zero residuals, then one plain residual.
        if (lane.code == 0) {
            lane.state = 1;
        } else {
            --lane.code;
        }
        value = 0;
    }
    return (value & 1) ? 255 - (value >> 1) : value >> 1;
}

int SoundDecoder::predicted(const Lane& lane) const {
    int sum = 8 * lane.lastByte;
    for (size_t i = 0; i < 4; ++i) {
        sum += lane.weights[i] * lane.deltas[i];
    }
    return (sum >> 3) & 0xFF;
}

int SoundDecoder::predict(const Lane& lane) const {
    return lane.differenceSum[0] > lane.differenceSum[1] ? lane.lastByte : predicted(lane);
}

void SoundDecoder::adapt(Lane& lane, int byte) {
    ++lane.byteCount;
    // Differences wrap to a signed byte: a lane flipping between 0x00 and 0xFF moves by one.
    const int error = int(qint8(predicted(lane) - byte)) * 8;
    for (size_t i = 0; i < 4; ++i) {
        lane.errors[2 * i] += std::abs(error - lane.deltas[i]);
        lane.errors[2 * i + 1] += std::abs(error + lane.deltas[i]);
    }
    lane.errors[8] += std::abs(error);
    lane.differenceSum[0] += magnitude(error >> 3);
    lane.differenceSum[1] += magnitude(lane.lastByte - byte);
    const int delta = qint8(byte - lane.lastByte);
    lane.lastByte = byte;

    if ((lane.byteCount & 0x1F) == 0) {
        // Every 32 bytes, nudge the weight whose change would have erred least.
        int best = 0xFFFF;
        int bestIndex = 8;
        for (int i = 8; i >= 0; --i) {
            if (lane.errors[size_t(i)] <= best) {
                best = lane.errors[size_t(i)];
                bestIndex = i;
            }
            lane.errors[size_t(i)] = 0;
        }
        if (bestIndex != 8) {
            int& weight = lane.weights[size_t(bestIndex >> 1)];
            if ((bestIndex & 1) == 0) {
                if (weight >= -16) {
                    --weight;
                }
            } else if (weight <= 16) {
                ++weight;
            }
        }
        if ((lane.byteCount & 0xFF) == 0) {
            for (size_t i = 0; i < 2; ++i) {
                lane.differenceSum[i] -= lane.lastDifferenceSum[i];
                lane.lastDifferenceSum[i] = lane.differenceSum[i];
            }
        }
    }
    lane.deltas[3] = lane.deltas[2];
    lane.deltas[2] = lane.deltas[1];
    lane.deltas[1] = delta - lane.deltas[0];
    lane.deltas[0] = delta;
}

std::optional<ModeSwitch> SoundDecoder::read(BitReader& bits, qsizetype want, QByteArray& out) {
    for (qsizetype i = 0; i < want; ++i) {
        const int laneIndex = kLaneOfByte[layout_][i % 4];
        ModeSwitch modeSwitch;
        const std::optional<int> value = residual(bits, laneIndex, modeSwitch);
        if (!value) {
            return modeSwitch;
        }
        Lane& lane = lanes_[size_t(laneIndex)];
        const int byte = (*value + predict(lane)) & 0xFF;
        out.append(char(byte));
        adapt(lane, byte);
    }
    return std::nullopt;
}

}  // namespace marlo::ace
