// LRC lyrics from a file beside the song, a tag or a server: parsing, the lit line and word at
// any position, and writing them back.
#include <limits>

#include "lyrics/LrcParse.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlo;
    const SyncedLyrics lyrics = parseLrc(fuzz::bytes(data, size));
    const qint64 probes[] = {std::numeric_limits<qint64>::min(), -1, 0, 1500, 600000,
                             std::numeric_limits<qint64>::max()};
    for (const qint64 at : probes) {
        const int line = lyrics.lineAt(at);
        if (line < -1 || line >= lyrics.lines.size()) {
            __builtin_trap();
        }
        if (line >= 0) {
            const int word = lyrics.wordAt(line, at);
            if (word < -1 || word >= lyrics.lines[line].words.size()) {
                __builtin_trap();
            }
        }
    }
    // What is stored must read back as timed as it was.
    if (parseLrc(toLrc(lyrics)).lines.size() != lyrics.lines.size()) {
        __builtin_trap();
    }
    return 0;
}
