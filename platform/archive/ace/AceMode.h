#pragma once

#include <QtGlobal>

namespace marlo::ace {

class BitReader;

// ACE 2.0 switches between these coders inside one member's bit stream.
enum class AceMode : quint8 {
    Lz77 = 0,
    Lz77Delta = 1,  // LZ77 over bytes regrouped by a stride and delta-coded
    Lz77Exe = 2,    // LZ77 over x86 code with call/jump targets made relative
    Sound8 = 3,
    Sound16 = 4,
    Sound32A = 5,
    Sound32B = 6,
    Picture = 7,
};

struct ModeSwitch {
    quint8 mode = 0;  // raw value; unknown values are reported as damage when used
    int deltaStride = 0;
    int deltaLength = 0;
    int exeKind = 0;
};

ModeSwitch readModeSwitch(BitReader& bits);

inline bool isSoundMode(quint8 mode) {
    return mode >= quint8(AceMode::Sound8) && mode <= quint8(AceMode::Sound32B);
}

}  // namespace marlo::ace
