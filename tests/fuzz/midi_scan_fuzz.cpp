// MIDI files: checked and cleaned before the synthesizer sees them, then a little rendered.
#include "platform/media/FluidSynthRenderer.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlo;
    fuzz::ensureApplication();
    static FluidSynthRenderer renderer;  // the soundfont is loaded once
    const QString path = fuzz::writeScratch(QStringLiteral("song.mid"), fuzz::bytes(data, size));
    if (renderer.load(path)) {
        int16_t block[512 * FluidSynthRenderer::kChannels];
        renderer.render(block, 512);
        renderer.seekMs(renderer.lengthMs() / 2);
        renderer.render(block, 512);
    }
    return 0;
}
