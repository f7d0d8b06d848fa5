// FLAC files by their end: the last frame found in any bytes, and the bytes as a file opened as
// the player opens it (its length read from its end, whole or cut) and read from.
#include <vector>

#include "platform/media/AudioDecoder.h"
#include "platform/media/FlacTail.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlo;
    const QByteArray bytes = fuzz::bytes(data, size);
    if (const std::optional<FlacFrame> last = lastFlacFrame(bytes)) {
        if (last->start < 0 || last->samples <= 0) {
            __builtin_trap();
        }
    }
    const std::unique_ptr<AudioDecoder> decoder =
        openLightDecoder(fuzz::writeScratch(QStringLiteral("a.flac"), bytes));
    if (decoder) {
        std::vector<float> buffer(std::size_t(4096) * std::size_t(decoder->channels()));
        decoder->read(buffer.data(), 4096);
        decoder->seek(decoder->lengthFrames() / 2);
        decoder->read(buffer.data(), 4096);
    }
    return 0;
}
