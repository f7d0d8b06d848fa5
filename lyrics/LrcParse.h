#pragma once

#include <QByteArray>

#include "lyrics/SyncedLyrics.h"

namespace marlo {

// Reads LRC lyrics from any bytes: "[mm:ss.xx]" line tags (several on one line, in any order),
// "[offset:±ms]", word times "<mm:ss.xx>" inside a line. A tag that is not a time ("[99:99.99]",
// "[1:2]", "[-1:00]") times nothing; text without a single valid time tag is plain text. Linear
// in the input apart from sorting the lines.
SyncedLyrics parseLrc(const QByteArray& bytes);

}  // namespace marlo
