#include "platform/archive/ace/AceMode.h"

#include "platform/archive/ace/AceBitReader.h"

namespace marlo::ace {

ModeSwitch readModeSwitch(BitReader& bits) {
    ModeSwitch result;
    result.mode = quint8(bits.read(8));
    if (result.mode == quint8(AceMode::Lz77Delta)) {
        result.deltaStride = int(bits.read(8));
        result.deltaLength = int(bits.read(17));
    } else if (result.mode == quint8(AceMode::Lz77Exe)) {
        result.exeKind = int(bits.read(8));
    }
    return result;
}

}  // namespace marlo::ace
