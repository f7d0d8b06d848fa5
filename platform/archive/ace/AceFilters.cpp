#include "platform/archive/ace/AceFilters.h"

#include "platform/archive/ace/AceFailure.h"

namespace marlo::ace {

namespace {

constexpr quint8 kCall = 0xE8;
constexpr quint8 kJump = 0xE9;

void subtract(QByteArray& bytes, qsizetype at, int width, qint64 position) {
    quint32 value = 0;
    for (int i = 0; i < width; ++i) {
        value |= quint32(quint8(bytes[at + i])) << (8 * i);
    }
    value -= quint32(position);
    for (int i = 0; i < width; ++i) {
        bytes[at + i] = char(quint8(value >> (8 * i)));
    }
}

}  // namespace

QByteArray undoDelta(const QByteArray& coded, int stride, DeltaState& state) {
    const qsizetype length = coded.size();
    require(stride > 0);
    const qsizetype laneLength = length / stride;
    // Lanes must tile the block exactly, or the regrouping reads past it.
    require(laneLength > 0 && length % laneLength == 0);
    QByteArray summed(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i) {
        state.last = quint8(state.last + quint8(coded[i]));
        summed[i] = char(state.last);
    }
    QByteArray out;
    out.reserve(length);
    for (qsizetype position = 0; position < laneLength; ++position) {
        for (qsizetype lane = 0; lane < length; lane += laneLength) {
            out.append(summed[lane + position]);
        }
    }
    return out;
}

QByteArray undoExe(QByteArray& chunk, qint64 offset, int kind, bool mayHoldBack) {
    const qsizetype length = chunk.size();
    qsizetype i = 0;
    bool stoppedNearEnd = false;
    while (i < length) {
        if (i + 4 >= length) {
            stoppedNearEnd = true;
            break;
        }
        const quint8 byte = quint8(chunk[i]);
        if (byte == kCall && kind != 0) {
            subtract(chunk, i + 1, 4, offset + i);
            i += 5;
        } else if (byte == kCall || byte == kJump) {
            subtract(chunk, i + 1, 2, offset + i);
            i += 3;
        } else {
            ++i;
        }
    }
    QByteArray heldBack;
    if (mayHoldBack && stoppedNearEnd) {
        // The byte where scanning stopped is left as it is; an opcode after it waits.
        for (qsizetype j = i + 1; j < length; ++j) {
            const quint8 byte = quint8(chunk[j]);
            if (byte == kCall || byte == kJump) {
                heldBack = chunk.mid(j);
                chunk.truncate(j);
                break;
            }
        }
    }
    return heldBack;
}

}  // namespace marlo::ace
