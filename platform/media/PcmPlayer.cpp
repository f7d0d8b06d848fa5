#include "platform/media/PcmPlayer.h"

#include <QMetaObject>
#include <algorithm>

#include "platform/media/PcmOutput.h"
#include "platform/media/PcmSource.h"

namespace marlo {

namespace {
// How closely the join is watched once rendered: the display and the list move on this soon
// after the follower is heard.
constexpr int kJoinWatchMs = 5;
}  // namespace

PcmPlayer::PcmPlayer(QObject* parent, const QString& pcmFile) : QObject(parent) {
    pcm_ = std::make_unique<PcmOutput>(
        [this](qint16* out, int frames) { return render(out, frames); });
    pcm_->setSinkFile(pcmFile);
    joinTimer_.setTimerType(Qt::PreciseTimer);
    joinTimer_.setInterval(kJoinWatchMs);
    connect(&joinTimer_, &QTimer::timeout, this, &PcmPlayer::checkJoinHeard);
    connect(pcm_.get(), &PcmOutput::sourceEnded, this, [this] {
        // A follower shorter than the server's buffer ends before its join was seen.
        checkJoinHeard();
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

int PcmPlayer::render(qint16* out, int frames) {
    if (rendering_ == nullptr) {
        return 0;
    }
    int got = rendering_->render(out, frames);
    if (rendering_ == source_ && next_ != nullptr && source_->atEnd()) {
        // The follower begins in the very frame after the source's last one.
        joinFrame_ = pcm_->framesPulled() + got;
        rendering_ = next_;
        got += std::max(0, next_->render(out + 2 * got, frames - got));
        QMetaObject::invokeMethod(
            this, [this] { joinTimer_.start(); }, Qt::QueuedConnection);
    }
    return got;
}

void PcmPlayer::checkJoinHeard() {
    // Read before the source lock: the server's thread takes its own lock, then the source's.
    const qint64 played = pcm_->framesPlayed();
    {
        const auto lock = pcm_->lockSource();
        if (joinFrame_ < 0) {
            joinTimer_.stop();
            return;
        }
        if (pcm_->isActive() && played < joinFrame_) {
            return;
        }
        source_ = rendering_;
        next_ = nullptr;
        joinFrame_ = -1;
    }
    joinTimer_.stop();
    emit advanced();
}

void PcmPlayer::rewindJoin() {
    if (joinFrame_ >= 0 && next_ != nullptr) {
        next_->seekMs(0);
    }
    rendering_ = source_;
    joinFrame_ = -1;
}

void PcmPlayer::setSource(PcmSource* source) {
    stop();
    const auto lock = pcm_->lockSource();
    source_ = source;
    rendering_ = source;
    next_ = nullptr;
    joinFrame_ = -1;
}

void PcmPlayer::setNext(PcmSource* next) {
    if (next == next_) {
        return;
    }
    if (joinFrame_ < 0) {
        const auto lock = pcm_->lockSource();
        if (joinFrame_ < 0) {
            next_ = next;
            return;
        }
    }
    // The old follower is already in the server: the sound goes back to where the source was
    // heard, and the new one joins it at its end.
    const qint64 heard = positionMs();
    const bool suspended = pcm_->isSuspended();
    {
        const auto lock = pcm_->lockSource();
        rewindJoin();
        next_ = next;
        source_->seekMs(heard);
    }
    joinTimer_.stop();
    if (pcm_->isActive()) {
        pcm_->start(suspended);
    }
}

void PcmPlayer::play(qint64 fromMs) {
    if (source_ == nullptr) {
        return;
    }
    {
        const auto lock = pcm_->lockSource();
        if (fromMs >= 0) {
            rewindJoin();  // what was rendered ahead is of the old place
            source_->seekMs(fromMs);
        } else if (source_->atEnd() && joinFrame_ < 0) {
            source_->seekMs(0);
        }
    }
    if (fromMs >= 0 || !pcm_->isActive()) {
        pcm_->start();  // a jump: what the server still holds is of the old place
    } else if (pcm_->isSuspended()) {
        pcm_->resume();
        if (joinFrame_ >= 0) {
            joinTimer_.start();
        }
    }
    playing_ = true;
}

void PcmPlayer::pause() {
    if (playing_) {
        pcm_->suspend();
        joinTimer_.stop();
        playing_ = false;
    }
}

void PcmPlayer::stop() {
    playing_ = false;
    joinTimer_.stop();
    pcm_->stop();
    const auto lock = pcm_->lockSource();
    rewindJoin();
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
    const bool active = pcm_->isActive();
    const qint64 played = active ? pcm_->framesPlayed() : 0;
    const qint64 pulled = pcm_->framesPulled();
    const auto lock = pcm_->lockSource();
    // Behind a join the server holds the source's last frames, then the follower's first ones.
    const qint64 join = joinFrame_;
    const qint64 behind = !active     ? 0
                          : join >= 0 ? std::max<qint64>(0, join - played)
                                      : pulled - played;
    return std::clamp(source_->positionMs() - behind * 1000 / PcmOutput::kSampleRate, qint64(0),
                      source_->lengthMs());
}

}  // namespace marlo
