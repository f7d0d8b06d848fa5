#include "platform/archive/ace/AceMemberDecoder.h"

#include "platform/archive/ace/AceBitReader.h"
#include "platform/archive/ace/AceFailure.h"
#include "platform/archive/ace/AceFilters.h"

namespace marlo::ace {

void MemberDecoder::decode(quint8 method, const QList<AceSegment>& segments, qint64 size,
                           QByteArray& out) {
    out.clear();
    PackedSource source(segments);
    switch (AceMethod(method)) {
        case AceMethod::Stored:
            decodeStored(source, size, out);
            return;
        case AceMethod::Lz77: {
            BitReader bits(source);
            decodeLz77(bits, size, out);
            return;
        }
        case AceMethod::Blocked: {
            BitReader bits(source);
            decodeBlocked(bits, size, out);
            return;
        }
    }
    fail(ArchiveStatus::Unsupported);
}

void MemberDecoder::decodeStored(PackedSource& source, qint64 size, QByteArray& out) {
    require(source.totalSize() >= size);
    out.resize(qsizetype(size));
    require(source.read(out.data(), out.size()) == out.size());
    lz77_.remember(out.constData(), out.size());
}

void MemberDecoder::decodeLz77(BitReader& bits, qint64 size, QByteArray& out) {
    lz77_.startMember();
    while (out.size() < size) {
        // ACE 1.0 has no other coders to switch to.
        require(!lz77_.read(bits, qsizetype(size - out.size()), out));
    }
}

void MemberDecoder::decodeBlocked(BitReader& bits, qint64 size, QByteArray& out) {
    lz77_.startMember();
    ModeSwitch mode;  // every member starts in plain LZ77
    std::optional<ModeSwitch> pending;
    QByteArray exeHeldBack;
    DeltaState delta;

    while (out.size() < size) {
        if (pending) {
            if (pending->mode != mode.mode) {
                if (isSoundMode(pending->mode)) {
                    sound_.start(pending->mode);
                } else if (pending->mode == quint8(AceMode::Picture)) {
                    picture_.start(bits);
                }
            }
            mode = *pending;
            pending.reset();
        }
        const qint64 remaining = size - out.size();
        QByteArray chunk;
        switch (AceMode(mode.mode)) {
            case AceMode::Lz77Delta: {
                require(mode.deltaLength > 0 && mode.deltaLength <= remaining);
                QByteArray coded;
                while (coded.size() < mode.deltaLength) {
                    std::optional<ModeSwitch> next =
                        lz77_.read(bits, mode.deltaLength - coded.size(), coded);
                    if (next) {
                        // A switch inside a delta block takes effect after the block.
                        require(!pending);
                        pending = next;
                    }
                }
                chunk = undoDelta(coded, mode.deltaStride, delta);
                break;
            }
            case AceMode::Lz77:
            case AceMode::Lz77Exe: {
                chunk = exeHeldBack;
                exeHeldBack.clear();
                const qint64 want = remaining - chunk.size();
                if (want > 0) {
                    pending = lz77_.read(bits, qsizetype(want), chunk);
                }
                if (mode.mode == quint8(AceMode::Lz77Exe)) {
                    exeHeldBack = undoExe(chunk, out.size(), mode.exeKind, want > 0);
                }
                break;
            }
            case AceMode::Sound8:
            case AceMode::Sound16:
            case AceMode::Sound32A:
            case AceMode::Sound32B:
                pending = sound_.read(bits, qsizetype(remaining), chunk);
                lz77_.remember(chunk.constData(), chunk.size());
                break;
            case AceMode::Picture:
                pending = picture_.read(bits, qsizetype(remaining), chunk);
                lz77_.remember(chunk.constData(), chunk.size());
                break;
            default:
                fail();
        }
        // No output and no switch would loop forever on the same input.
        require(!chunk.isEmpty() || pending || !exeHeldBack.isEmpty());
        require(chunk.size() <= remaining);
        out.append(chunk);
    }
}

}  // namespace marlo::ace
