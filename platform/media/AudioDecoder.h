#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

namespace marlo {

// Decodes one audio file into interleaved float samples (-1..1) at the file's own sample rate
// and channel count. Used from one thread at a time.
class AudioDecoder {
  public:
    virtual ~AudioDecoder() = default;

    virtual int sampleRate() const = 0;
    virtual int channels() const = 0;
    // The length in frames (samples per channel): exact unless lengthExact() says otherwise.
    virtual qint64 lengthFrames() const = 0;
    // False for an MPEG file whose length is an estimate from its bit rate: no header gives it,
    // and reading every frame header for it was too long to do here.
    virtual bool lengthExact() const { return true; }
    // Fills up to `frames` frames; returns how many it wrote, 0 at the end or where the file
    // cannot be read on.
    virtual int read(float* out, int frames) = 0;
    // Moves to a frame; false when the file cannot go there.
    virtual bool seek(qint64 frame) = 0;
};

// The light decoders: libmpg123 for MPEG audio (.mp3, .mp2, .mp1), libsndfile for .wav, .au,
// .snd, .aif(f/c), .flac, .ogg, .oga, .opus, .w64 and .caf. Null when the ending names none of
// them or the decoder refuses the file (not what its name says, empty, damaged, a codec it does
// not know): such files are libmpv's.
std::unique_ptr<AudioDecoder> openLightDecoder(const QString& path);

// The two decoders by name, for whoever knows which one a file needs. `scanWhole` reads every
// frame header of an MPEG file, however long that takes (tens of milliseconds per 10 minutes):
// an exact length and sample-accurate seeks; for a thread other than the window's.
std::unique_ptr<AudioDecoder> openMpegDecoder(const QString& path, bool scanWhole = false);
std::unique_ptr<AudioDecoder> openSndfileDecoder(const QString& path);

}  // namespace marlo
