#include "MpvStreamingControl.h"

#include "MpvPlayer.h"

#include <algorithm>

namespace marlo {

MpvStreamingControl::MpvStreamingControl(QObject* parent, const QString& pcmFile)
    : StreamingControl(parent), pcmFile_(pcmFile) {}

// Made on first use: starting mpv costs more than the whole main window, and many runs never
// play an mp3.
MpvPlayer& MpvStreamingControl::player() {
    if (player_) {
        return *player_;
    }
    player_ = std::make_unique<MpvPlayer>(nullptr, pcmFile_);
    connect(player_.get(), &MpvPlayer::loaded, this, [this] {
        const double seconds = player_->duration();
        duration_ = seconds > 0 ? seconds : 0.0;
        setReadyState(kReady);
    });
    connect(player_.get(), &MpvPlayer::ended, this, [this](MpvPlayer::EndReason reason) {
        const bool wasRunning = running_;
        running_ = false;
        if (readyState_ != kReady) {
            failed_ = true;  // it never loaded
            return;
        }
        if (reason == MpvPlayer::EndReason::Eof && wasRunning) {
            ended_ = true;
            emit done();
        }
    });
    return *player_;
}

MpvStreamingControl::~MpvStreamingControl() = default;

void MpvStreamingControl::setReadyState(int state) {
    if (readyState_ != state) {
        readyState_ = state;
        emit readyStateChanged(state);
    }
}

void MpvStreamingControl::setFileName(const QString& path) {
    if (player_) {
        player_->stop();
    }
    fileName_ = path;
    ++fileRound_;
    running_ = false;
    ended_ = false;
    failed_ = false;
    duration_ = 0.0;
    setReadyState(0);
    if (path.isEmpty()) {
        return;  // releases the file
    }
    if (!player().isValid()) {
        failed_ = true;
        return;
    }
    player().loadAsync(path);
}

bool MpvStreamingControl::reloadIfPlayedOut() {
    if (!ended_) {
        return true;
    }
    // Played out: mpv let go of the file, so it is loaded anew before it runs or moves.
    ended_ = false;
    const quint64 round = fileRound_;
    if (!player().loadAndWait(fileName_)) {
        // A name set while the load waited is that file's; its own load tells how it went.
        if (round == fileRound_) {
            failed_ = true;
            setReadyState(0);
        }
        return false;
    }
    return true;
}

void MpvStreamingControl::run() {
    if (readyState_ != kReady) {
        return;
    }
    if (!reloadIfPlayedOut()) {
        return;
    }
    player().play();
    running_ = true;
}

void MpvStreamingControl::pause() {
    if (running_) {
        player().pause();
        running_ = false;
    }
}

void MpvStreamingControl::stop() {
    if (readyState_ != kReady) {
        return;
    }
    player().pause();
    player().seek(0.0);
    running_ = false;
}

void MpvStreamingControl::setPosition(double seconds) {
    if (readyState_ != kReady) {
        return;
    }
    if (!reloadIfPlayedOut()) {
        return;
    }
    // Waits until mpv plays from there, so a following run() starts at the new place.
    player().seekAndWait(std::clamp(seconds, 0.0, duration_ > 0 ? duration_ : seconds));
}

double MpvStreamingControl::position() const {
    if (ended_) {
        return duration_;
    }
    const double seconds = player_ ? player_->position() : 0.0;
    return seconds > 0 ? seconds : 0.0;
}

}  // namespace marlo
