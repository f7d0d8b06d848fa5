#include "platform/media/PcmPlayer.h"

#include <algorithm>

#include "platform/media/PcmOutput.h"
#include "platform/media/PcmSource.h"

namespace marlo {

PcmPlayer::PcmPlayer(QObject* parent, const QString& pcmFile) : QObject(parent) {
    pcm_ = std::make_unique<PcmOutput>(
        [this](qint16* out, int frames) { return source_ ? source_->render(out, frames) : 0; });
    pcm_->setSinkFile(pcmFile);
    connect(pcm_.get(), &PcmOutput::sourceEnded, this, [this] {
        if (playing_) {
            playing_ = false;
            pcm_->stop();
            emit ended();
        }
    });
}

PcmPlayer::~PcmPlayer() {
    // The output pulls from the source: it stops first.
    pcm_.reset();
}

void PcmPlayer::setSource(PcmSource* source) {
    stop();
    const auto lock = pcm_->lockSource();
    source_ = source;
}

void PcmPlayer::play(qint64 fromMs) {
    if (source_ == nullptr) {
        return;
    }
    {
        const auto lock = pcm_->lockSource();
        if (fromMs >= 0) {
            source_->seekMs(fromMs);
        } else if (source_->atEnd()) {
            source_->seekMs(0);
        }
    }
    if (fromMs >= 0 || !pcm_->isActive()) {
        pcm_->start();  // a jump: what the server still holds is of the old place
    } else if (pcm_->isSuspended()) {
        pcm_->resume();
    }
    playing_ = true;
}

void PcmPlayer::pause() {
    if (playing_) {
        pcm_->suspend();
        playing_ = false;
    }
}

void PcmPlayer::stop() {
    playing_ = false;
    pcm_->stop();
}

void PcmPlayer::seek(qint64 ms) {
    const qint64 heard = positionMs();
    stop();
    if (source_ == nullptr) {
        return;
    }
    const auto lock = pcm_->lockSource();
    source_->seekMs(ms < 0 ? heard : ms);
}

qint64 PcmPlayer::lengthMs() const {
    return source_ ? source_->lengthMs() : 0;
}

qint64 PcmPlayer::positionMs() const {
    if (source_ == nullptr) {
        return 0;
    }
    const qint64 bufferedMs =
        pcm_->isActive() ? pcm_->framesBuffered() * 1000 / PcmOutput::kSampleRate : 0;
    const auto lock = pcm_->lockSource();
    return std::clamp(source_->positionMs() - bufferedMs, qint64(0), source_->lengthMs());
}

}  // namespace marlo
