// Tags of audio files through TagLib; the first byte picks the file type by its name.
#include "platform/media/FileTags.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlo;
    static const char* const kSuffixes[] = {"mp3", "flac", "ogg", "opus", "m4a",
                                            "wav", "aiff", "wma", "ape",  "mpc"};
    if (size == 0) {
        return 0;
    }
    const size_t pick = data[0] % (sizeof kSuffixes / sizeof kSuffixes[0]);
    const QString path = fuzz::writeScratch(QStringLiteral("tagged.") + kSuffixes[pick],
                                            fuzz::bytes(data + 1, size - 1));
    readFileTags(path);
    readId3v2Tags(path);
    return 0;
}
