#pragma once

#include <QtGlobal>
#include <cstdint>

namespace marlo {

// Sound that PcmOutput pulls: interleaved 16-bit stereo at 44.1 kHz, rendered on demand. The
// sound server's thread renders; whoever else calls in holds PcmOutput::lockSource().
class PcmSource {
  public:
    virtual ~PcmSource() = default;

    // Fills up to `frames` frames; returns how many were written, 0 once the sound has ended.
    virtual int render(int16_t* out, int frames) = 0;
    virtual bool atEnd() const = 0;
    virtual qint64 lengthMs() const = 0;
    // What has been rendered, in milliseconds from the start.
    virtual qint64 positionMs() const = 0;
    virtual void seekMs(qint64 ms) = 0;
};

}  // namespace marlo
