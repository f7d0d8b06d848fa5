#pragma once

#include <QtGlobal>
#include <vector>

namespace marlo::ace {

class BitReader;

// A prefix code as ACE stores it: code widths, themselves coded with a small prefix code, then
// expanded into a lookup table indexed by the next `maxWidth` bits.
class HuffmanTable {
  public:
    // Reads the widths of up to `symbolCount` + 1 symbols and builds the table.
    void read(BitReader& bits, int maxWidth, int symbolCount);

    int decode(BitReader& bits) const;

  private:
    int maxWidth_ = 0;
    std::vector<quint16> table_;
    std::vector<quint8> widths_;
};

}  // namespace marlo::ace
