#pragma once

#include <QByteArray>
#include <array>
#include <optional>
#include <vector>

#include "platform/archive/ace/AceHuffman.h"
#include "platform/archive/ace/AceMode.h"

namespace marlo::ace {

class BitReader;

// ACE 2.0 sound coder: each byte lane of the samples is predicted by an adaptive linear
// predictor; the residuals are Huffman coded with zero-run codes, per lane and context.
class SoundDecoder {
  public:
    void start(quint8 mode);

    // Appends `want` bytes, or fewer when a mode switch comes first.
    std::optional<ModeSwitch> read(BitReader& bits, qsizetype want, QByteArray& out);

  private:
    struct Lane {
        std::array<int, 2> differenceSum{};
        std::array<int, 2> lastDifferenceSum{};
        std::array<int, 4> deltas{};
        std::array<int, 4> weights{};
        std::array<int, 9> errors{};
        int byteCount = 0;
        int lastByte = 0;
        int adaptSum = 0;
        int useAdapted = 0;
        int state = 0;  // 0 plain, 1 after a zero run, 2 inside a zero run
        int code = 0;
    };

    std::optional<int> residual(BitReader& bits, int laneIndex, ModeSwitch& modeSwitch);
    int predicted(const Lane& lane) const;
    int predict(const Lane& lane) const;
    void adapt(Lane& lane, int byte);
    int nextSymbol(BitReader& bits, int model);

    int layout_ = 0;
    std::array<Lane, 3> lanes_{};
    std::vector<HuffmanTable> codes_;
    int blockLeft_ = 0;
};

}  // namespace marlo::ace
