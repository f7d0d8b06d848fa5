// A lyrics server's JSON record: the lyrics taken from it, read as LRC.
#include "lyrics/LrcParse.h"
#include "lyrics/LrclibLookup.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlo;
    const QByteArray lyrics = LrclibLookup::lyricsOfRecord(fuzz::bytes(data, size));
    parseLrc(lyrics);
    return 0;
}
