#pragma once

#include "platform/archive/ArchiveTypes.h"

namespace marlo::ace {

// Thrown deep inside the decoders when the input cannot be right; AceReader turns it into the
// status it carries. Unwinding keeps every bounds check a single line.
struct AceFailure {
    ArchiveStatus status = ArchiveStatus::Damaged;
};

[[noreturn]] inline void fail(ArchiveStatus status = ArchiveStatus::Damaged) {
    throw AceFailure{status};
}

inline void require(bool condition, ArchiveStatus status = ArchiveStatus::Damaged) {
    if (!condition) {
        fail(status);
    }
}

}  // namespace marlo::ace
