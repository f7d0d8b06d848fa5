#pragma once

#include <memory>
#include <vector>

#include "platform/media/AudioDecoder.h"
#include "platform/media/PcmSource.h"

namespace marlo {

// A decoded file as PcmOutput takes it: other rates are resampled to 44.1 kHz (linear
// interpolation), mono is doubled, more than two channels are mixed down to two.
class DecodedSource : public PcmSource {
  public:
    static constexpr int kRate = 44100;

    explicit DecodedSource(std::unique_ptr<AudioDecoder> decoder);

    int render(int16_t* out, int frames) override;
    bool atEnd() const override { return ended_; }
    qint64 lengthMs() const override { return lengthMs_; }
    qint64 positionMs() const override;
    void seekMs(qint64 ms) override;

    // Whether `decoder`'s file may follow this one in the same stream, as one recording cut in
    // two: the same rate and channels, so neither resampling nor mixing differs at the join.
    bool joinsWith(const AudioDecoder& decoder) const {
        return decoder.sampleRate() == rate_ && decoder.channels() == channels_;
    }

  private:
    // One stereo frame of the file at its own rate; false at its end.
    bool nextFrame(float& left, float& right);

    std::unique_ptr<AudioDecoder> decoder_;
    const int channels_;
    const int rate_;
    const double step_;  // source frames per output frame
    qint64 lengthMs_ = 0;
    qint64 startMs_ = 0;   // where the last seek went
    qint64 rendered_ = 0;  // output frames since then
    bool ended_ = false;
    std::vector<float> block_;  // decoded, not yet used
    std::size_t blockFrames_ = 0;
    std::size_t blockAt_ = 0;
    // The two source frames the output lies between, and how far it is from the first.
    float previous_[2] = {0, 0};
    float next_[2] = {0, 0};
    double fraction_ = 0;
    bool primed_ = false;
};

}  // namespace marlo
