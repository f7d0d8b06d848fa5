#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace marlo {

struct FlacFrame {
    qint64 start = 0;    // its first sample
    qint64 samples = 0;  // how many it holds
};

// The last FLAC frame whose header is in `tail`, the end of a FLAC file: a whole file ends with
// it, a file cut short plays up to about there. A header counts only with its checksum right and
// the header before it ending where it begins, so a sync pattern inside the sound is not taken
// for one.
std::optional<FlacFrame> lastFlacFrame(const QByteArray& tail);

}  // namespace marlo
