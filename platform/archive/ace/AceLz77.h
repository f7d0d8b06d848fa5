#pragma once

#include <QByteArray>
#include <optional>
#include <vector>

#include "platform/archive/ace/AceHuffman.h"
#include "platform/archive/ace/AceMode.h"

namespace marlo::ace {

class BitReader;

// The LZ77 coder of ACE 1.0, also the base coder of ACE 2.0. Its dictionary outlives a member,
// which is what solid archives rely on.
class Lz77Decoder {
  public:
    Lz77Decoder();

    // Forgets the per-member state; the dictionary stays.
    void startMember();

    // Appends decoded bytes to `out` until `want` bytes were added or a mode switch is met.
    // Bytes a final match produces beyond `want` are held back for the next call.
    std::optional<ModeSwitch> read(BitReader& bits, qsizetype want, QByteArray& out);

    // Output of the other coders (and stored members) becomes dictionary history too.
    void remember(const char* data, qsizetype size);

    static constexpr int kDictionaryBits = 22;

  private:
    struct Symbol {
        quint16 code;
        quint16 length;
        quint32 distance;  // or the index into switches_ for a mode switch
    };

    void readBlock(BitReader& bits);
    qsizetype replay(const Symbol& symbol, QByteArray& out);
    void put(char byte, QByteArray& out);

    std::vector<char> dictionary_;
    quint32 position_ = 0;
    quint32 history_[4] = {0, 0, 0, 0};
    std::vector<Symbol> block_;
    std::vector<ModeSwitch> switches_;
    size_t next_ = 0;
    QByteArray heldBack_;
    HuffmanTable mainCode_;
    HuffmanTable lengthCode_;
};

}  // namespace marlo::ace
