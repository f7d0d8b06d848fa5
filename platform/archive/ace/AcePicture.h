#pragma once

#include <QByteArray>
#include <array>
#include <optional>
#include <vector>

#include "platform/archive/ace/AceMode.h"

namespace marlo::ace {

class BitReader;

// ACE 2.0 picture coder: rows of interleaved colour planes, each pixel predicted from its
// neighbours by the predictor that has done best in its context, residuals Rice coded.
class PictureDecoder {
  public:
    // Reads the row width and plane count that open picture mode.
    void start(BitReader& bits);

    std::optional<ModeSwitch> read(BitReader& bits, qsizetype want, QByteArray& out);

  private:
    struct Context {
        int used = 0;
        int predictor = 0;
        int errorSum = 4;
        std::array<int, 4> predictorErrors{};
    };

    void decodeRow(BitReader& bits);
    int predictWith(int predictor) const;
    int decodePixel(BitReader& bits, Context& context);
    int contextOf(int predictor, int up, int upPrevious);

    int width_ = 0;
    int planes_ = 0;
    std::vector<int> previousRow_;
    std::vector<int> row_;
    QByteArray heldBack_;
    std::vector<Context> contexts_;  // two models of kContexts each
    int a_ = 0, b_ = 0, c_ = 0, d_ = 0, x_ = 0;
};

}  // namespace marlo::ace
