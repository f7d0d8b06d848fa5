#include "platform/media/DecodedSource.h"

#include <algorithm>
#include <cmath>

namespace marlo {
namespace {

constexpr int kBlockFrames = 4096;
// Channels beyond the front pair go into both sides at -3 dB.
constexpr float kSideGain = 0.70710678f;

int16_t toSample(float value) {
    return int16_t(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}

}  // namespace

DecodedSource::DecodedSource(std::unique_ptr<AudioDecoder> decoder)
    : decoder_(std::move(decoder)),
      channels_(decoder_->channels()),
      rate_(decoder_->sampleRate()),
      step_(double(decoder_->sampleRate()) / kRate) {
    lengthMs_ = decoder_->lengthFrames() * 1000 / decoder_->sampleRate();
    block_.resize(std::size_t(kBlockFrames) * std::size_t(channels_));
}

bool DecodedSource::nextFrame(float& left, float& right) {
    if (blockAt_ >= blockFrames_) {
        blockFrames_ = std::size_t(std::max(0, decoder_->read(block_.data(), kBlockFrames)));
        blockAt_ = 0;
        if (blockFrames_ == 0) {
            return false;
        }
    }
    const float* frame = block_.data() + blockAt_ * std::size_t(channels_);
    ++blockAt_;
    if (channels_ == 1) {
        left = right = frame[0];
    } else if (channels_ == 2) {
        left = frame[0];
        right = frame[1];
    } else {
        float rest = 0;
        for (int c = 2; c < channels_; ++c) {
            rest += frame[c];
        }
        rest *= kSideGain / float(channels_ - 2);
        // Scaled so that full scale on every channel stays full scale.
        left = (frame[0] + rest) / (1.0f + kSideGain);
        right = (frame[1] + rest) / (1.0f + kSideGain);
    }
    return true;
}

int DecodedSource::render(int16_t* out, int frames) {
    if (ended_) {
        return 0;
    }
    if (!primed_) {
        if (!nextFrame(previous_[0], previous_[1])) {
            ended_ = true;
            return 0;
        }
        next_[0] = previous_[0];
        next_[1] = previous_[1];
        primed_ = true;
        fraction_ = 0;
        if (step_ != 1.0 && !nextFrame(next_[0], next_[1])) {
            next_[0] = previous_[0];
            next_[1] = previous_[1];
        }
    }
    int written = 0;
    if (step_ == 1.0) {
        // The common case: the file's frames as they are.
        while (written < frames) {
            out[written * 2] = toSample(previous_[0]);
            out[written * 2 + 1] = toSample(previous_[1]);
            ++written;
            if (!nextFrame(previous_[0], previous_[1])) {
                ended_ = true;
                break;
            }
        }
    } else {
        while (written < frames) {
            const auto t = float(fraction_);
            out[written * 2] = toSample(previous_[0] + (next_[0] - previous_[0]) * t);
            out[written * 2 + 1] = toSample(previous_[1] + (next_[1] - previous_[1]) * t);
            ++written;
            fraction_ += step_;
            bool more = true;
            while (fraction_ >= 1.0 && more) {
                fraction_ -= 1.0;
                previous_[0] = next_[0];
                previous_[1] = next_[1];
                more = nextFrame(next_[0], next_[1]);
            }
            if (!more) {
                ended_ = true;
                break;
            }
        }
    }
    rendered_ += written;
    return written;
}

qint64 DecodedSource::positionMs() const {
    return std::min(lengthMs_, startMs_ + rendered_ * 1000 / kRate);
}

void DecodedSource::seekMs(qint64 ms) {
    ms = std::clamp<qint64>(ms, 0, lengthMs_);
    const qint64 frame = ms * decoder_->sampleRate() / 1000;
    ended_ = !decoder_->seek(frame) || ms >= lengthMs_;
    startMs_ = ms;
    rendered_ = 0;
    blockFrames_ = 0;
    blockAt_ = 0;
    primed_ = false;
}

}  // namespace marlo
