#pragma once

#include <QByteArray>
#include <QList>

#include "platform/archive/ace/AceLz77.h"
#include "platform/archive/ace/AcePackedSource.h"
#include "platform/archive/ace/AcePicture.h"
#include "platform/archive/ace/AceSound.h"

namespace marlo::ace {

enum class AceMethod : quint8 { Stored = 0, Lz77 = 1, Blocked = 2 };

// Unpacks members one after another with shared coder state, as a solid archive needs.
class MemberDecoder {
  public:
    // Unpacks exactly `size` bytes into `out` (replacing its content). Throws on damage.
    void decode(quint8 method, const QList<AceSegment>& segments, qint64 size, QByteArray& out);

  private:
    void decodeStored(PackedSource& source, qint64 size, QByteArray& out);
    void decodeLz77(BitReader& bits, qint64 size, QByteArray& out);
    void decodeBlocked(BitReader& bits, qint64 size, QByteArray& out);

    Lz77Decoder lz77_;
    SoundDecoder sound_;
    PictureDecoder picture_;
};

}  // namespace marlo::ace
