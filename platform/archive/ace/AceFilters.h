#pragma once

#include <QByteArray>

namespace marlo::ace {

// The delta filter's running sum continues from one delta block to the next in a member.
struct DeltaState {
    quint8 last = 0;
};

// Undoes the delta filter: the block holds delta-coded bytes grouped lane by lane for a stride
// (e.g. the channels of a sample); returns them summed and back in their original order.
QByteArray undoDelta(const QByteArray& coded, int stride, DeltaState& state);

// Turns the absolute call/jump targets the packer wrote back into relative ones, in place.
// `offset` is the chunk's position in the member. When `mayHoldBack` is set, an opcode too close
// to the end to have its operand is cut off and returned, to be finished with the next chunk.
QByteArray undoExe(QByteArray& chunk, qint64 offset, int kind, bool mayHoldBack);

}  // namespace marlo::ace
