#include "platform/archive/ace/AcePicture.h"

#include <cstdlib>

#include "platform/archive/ace/AceBitReader.h"
#include "platform/archive/ace/AceFailure.h"

namespace marlo::ace {

namespace {

constexpr int kContexts = 365;
constexpr int kRescaleAt = 128;
// Rows wider than this or with more planes are not pictures any packer wrote.
constexpr int kMaxWidth = 1 << 20;
constexpr int kMaxPlanes = 64;

// Gradient classes -4..4 with thresholds 3, 7 and 21.
int gradientClass(int difference) {
    const int size = std::abs(difference);
    const int step = size == 0 ? 0 : size < 3 ? 1 : size < 7 ? 2 : size < 21 ? 3 : 4;
    return difference < 0 ? -step : step;
}

// Cost in bits of a residual byte taken as signed.
int residualCost(int byte) {
    byte &= 0xFF;
    return byte < 128 ? bitLength(2 * byte) : bitLength(2 * (256 - byte) - 1);
}

// Planes after the first may be coded relative to the plane before them.
int relativeTo(int predictor, int value, int previousPlane) {
    if (predictor == 1) {
        return (value - (previousPlane - 128)) & 0xFF;
    }
    if (predictor == 2) {
        return (value - (((previousPlane * 11) >> 4) - 128)) & 0xFF;
    }
    return value;
}

}  // namespace

void PictureDecoder::start(BitReader& bits) {
    const qint64 width = bits.readRice(12);
    const qint64 planes = bits.readRice(2);
    require(width > 0 && width <= kMaxWidth && planes > 0 && planes <= kMaxPlanes);
    width_ = int(width);
    planes_ = int(planes);
    previousRow_.assign(size_t(width_ + planes_), 0);
    heldBack_.clear();
    contexts_.assign(size_t(2 * kContexts), Context());
    a_ = b_ = c_ = d_ = x_ = 0;
}

int PictureDecoder::predictWith(int predictor) const {
    switch (predictor) {
        case 0:
            return a_;
        case 1:
            return b_;
        case 2:
            return (a_ + b_) >> 1;
        default:
            return (a_ + b_ - c_) & 0xFF;
    }
}

int PictureDecoder::contextOf(int predictor, int up, int upPrevious) {
    d_ = relativeTo(predictor, up, upPrevious) & 0xFF;
    const int context =
        81 * gradientClass(d_ - a_) + 9 * gradientClass(a_ - c_) + gradientClass(c_ - b_);
    return std::abs(context);
}

int PictureDecoder::decodePixel(BitReader& bits, Context& context) {
    ++context.used;
    const int riceBits = bitLength(context.errorSum / context.used);
    // Residuals are signed bytes; larger codes come from no packer.
    const qint64 coded = bits.readRice(riceBits);
    require(coded < 256);
    const qint64 residual = (coded & 1) ? -(coded >> 1) - 1 : coded >> 1;
    const int pixel = int((predictWith(context.predictor) + residual) & 0xFF);

    int best = 0;
    bool halve = false;
    for (int i = 0; i < 4; ++i) {
        int& errors = context.predictorErrors[size_t(i)];
        errors += residualCost(pixel - predictWith(i));
        if (errors < context.predictorErrors[size_t(best)]) {
            best = i;
        }
        halve = halve || (errors & 0x80) != 0;
    }
    if (halve) {
        for (int& errors : context.predictorErrors) {
            errors >>= 1;
        }
    }
    context.predictor = best;
    context.errorSum += int(std::abs(residual));
    require(context.errorSum >= 0);
    if (context.used == kRescaleAt) {
        context.used >>= 1;
        context.errorSum >>= 1;
    }
    return pixel;
}

void PictureDecoder::decodeRow(BitReader& bits) {
    row_.assign(size_t(width_ + planes_), 0);
    for (int plane = 0; plane < planes_; ++plane) {
        const int model = plane == 0 ? 0 : 1;
        const int predictor = plane == 0 ? 0 : int(bits.read(2));
        require(predictor < 3);
        const int start = previousRow_[size_t(plane)];
        const int startPrevious = plane > 0 ? previousRow_[size_t(plane - 1)] : 0;
        if (predictor == 0) {
            a_ = b_ = c_ = x_ = 0;
            d_ = start;
        } else {
            a_ = b_ = c_ = x_ = 128;
            d_ = relativeTo(predictor, start, startPrevious);
        }
        for (int column = plane; column < width_; column += planes_) {
            c_ = a_;
            a_ = d_;
            b_ = x_;
            const int context = contextOf(predictor, previousRow_[size_t(planes_ + column)],
                                          previousRow_[size_t(planes_ + column - 1)]);
            x_ = decodePixel(bits, contexts_[size_t(model * kContexts + context)]);
            const int left = column > 0 ? row_[size_t(column - 1)] : 0;
            if (predictor == 0) {
                row_[size_t(column)] = x_;
            } else if (predictor == 1) {
                row_[size_t(column)] = (x_ + left - 128) & 0xFF;
            } else {
                row_[size_t(column)] = (x_ + ((left * 11) >> 4) - 128) & 0xFF;
            }
        }
    }
    previousRow_.swap(row_);
}

std::optional<ModeSwitch> PictureDecoder::read(BitReader& bits, qsizetype want, QByteArray& out) {
    const qsizetype start = out.size();
    out.append(heldBack_);
    heldBack_.clear();
    while (out.size() - start < want) {
        if (bits.read(1) == 0) {
            return readModeSwitch(bits);
        }
        decodeRow(bits);
        const qsizetype take = std::min<qsizetype>(want - (out.size() - start), width_);
        for (qsizetype i = 0; i < width_; ++i) {
            const char byte = char(previousRow_[size_t(i)]);
            if (i < take) {
                out.append(byte);
            } else {
                heldBack_.append(byte);
            }
        }
    }
    return std::nullopt;
}

}  // namespace marlo::ace
