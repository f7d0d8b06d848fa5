#include "AudioStreamingControl.h"

#include "AudioDecoder.h"
#include "DecodedSource.h"
#include "MpvStreamingControl.h"
#include "PcmPlayer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace marlo {

std::unique_ptr<StreamingControl> createStreamingControl(QObject* parent) {
    return std::make_unique<AudioStreamingControl>(parent);
}

AudioStreamingControl::AudioStreamingControl(QObject* parent, const QString& pcmFile)
    : StreamingControl(parent), pcmFile_(pcmFile) {}

AudioStreamingControl::~AudioStreamingControl() {
    player_.reset();  // it pulls from the source
    // What they still post to this control goes with it.
    for (Opener& opener : openers_) {
        opener.thread.join();
    }
}

MpvStreamingControl& AudioStreamingControl::mpv() {
    if (!mpv_) {
        mpv_ = std::make_unique<MpvStreamingControl>(nullptr, pcmFile_);
        connect(mpv_.get(), &StreamingControl::readyStateChanged, this, [this](int state) {
            if (!light()) {
                emit readyStateChanged(state);
            }
        });
        connect(mpv_.get(), &StreamingControl::done, this, [this] {
            if (!light()) {
                emit done();
            }
        });
    }
    return *mpv_;
}

void AudioStreamingControl::setFileName(const QString& path) {
    if (!handoffPath_.isEmpty()) {
        if (path.isEmpty()) {
            fileName_.clear();
            return;
        }
        const bool same = path == handoffPath_;
        handoffPath_.clear();
        settled_ = true;
        if (same) {
            // The follower runs on: it is this file.
            fileName_ = path;
            running_ = false;
            ended_ = false;
            emit readyStateChanged(kReady);
            return;
        }
    }
    const bool wasReady = readyState() == kReady;
    ++opening_;
    cancelNext();
    if (player_) {
        player_->setSource(nullptr);
    }
    source_.reset();
    running_ = false;
    ended_ = false;
    fileName_ = path;
    std::unique_ptr<AudioDecoder> decoder = path.isEmpty() ? nullptr : openLightDecoder(path);
    if (decoder && !decoder->lengthExact()) {
        if (mpv_ && !mpv_->fileName().isEmpty()) {
            mpv_->setFileName(QString());
        }
        if (wasReady) {
            emit readyStateChanged(0);
        }
        openInBackground(path);
        return;
    }
    if (!decoder) {
        if (mpv_ || !path.isEmpty()) {
            mpv().setFileName(path);
        } else if (wasReady) {
            emit readyStateChanged(0);
        }
        return;
    }
    install(std::move(decoder));
}

void AudioStreamingControl::install(std::unique_ptr<AudioDecoder> decoder) {
    if (mpv_ && !mpv_->fileName().isEmpty()) {
        mpv_->setFileName(QString());
    }
    if (!player_) {
        player_ = std::make_unique<PcmPlayer>(nullptr, pcmFile_);
        connect(player_.get(), &PcmPlayer::ended, this, [this] {
            if (light() && running_) {
                running_ = false;
                ended_ = true;
                emit done();
            }
        });
        connect(player_.get(), &PcmPlayer::advanced, this, &AudioStreamingControl::followerHeard);
    }
    source_ = std::make_unique<DecodedSource>(std::move(decoder));
    player_->setSource(source_.get());
    emit readyStateChanged(kReady);
}

void AudioStreamingControl::openInBackground(const QString& path) {
    // Those done are let go; a scan cannot be broken off, so one still running is left to end.
    std::erase_if(openers_, [](Opener& opener) {
        if (!*opener.finished) {
            return false;
        }
        opener.thread.join();
        return true;
    });
    const int opening = opening_;
    auto finished = std::make_shared<std::atomic_bool>(false);
    std::thread thread([this, path, opening, finished] {
        auto opened = std::make_shared<std::unique_ptr<AudioDecoder>>(openMpegDecoder(path, true));
        QMetaObject::invokeMethod(
            this,
            [this, path, opening, opened] {
                if (opening != opening_) {
                    return;  // another file was set meanwhile
                }
                if (*opened) {
                    install(std::move(*opened));
                } else {
                    mpv().setFileName(path);  // the light decoder refused it on a closer look
                }
            },
            Qt::QueuedConnection);
        *finished = true;
    });
    openers_.push_back({std::move(thread), std::move(finished)});
}

QString AudioStreamingControl::fileName() const {
    return fileName_;
}

int AudioStreamingControl::readyState() const {
    if (light()) {
        return kReady;
    }
    return mpv_ ? mpv_->readyState() : 0;
}

bool AudioStreamingControl::failed() const {
    return !light() && mpv_ && mpv_->failed();
}

void AudioStreamingControl::run() {
    if (!light()) {
        if (mpv_) {
            mpv_->run();
        }
        return;
    }
    ended_ = false;
    player_->play();
    running_ = true;
}

void AudioStreamingControl::pause() {
    if (!light()) {
        if (mpv_) {
            mpv_->pause();
        }
        return;
    }
    if (running_) {
        player_->pause();
        running_ = false;
    }
}

void AudioStreamingControl::stop() {
    if (!light()) {
        if (mpv_) {
            mpv_->stop();
        }
        return;
    }
    if (!handoffPath_.isEmpty()) {
        return;
    }
    cancelNext();
    player_->seek(0);
    running_ = false;
    ended_ = false;
}

bool AudioStreamingControl::isRunning() const {
    return light() ? running_ : mpv_ && mpv_->isRunning();
}

double AudioStreamingControl::duration() const {
    if (light()) {
        return double(source_->lengthMs()) / 1000.0;
    }
    return mpv_ ? mpv_->duration() : 0.0;
}

double AudioStreamingControl::position() const {
    if (light()) {
        return ended_ ? duration() : double(player_->positionMs()) / 1000.0;
    }
    return mpv_ ? mpv_->position() : 0.0;
}

void AudioStreamingControl::setPosition(double seconds) {
    if (!light()) {
        if (mpv_) {
            mpv_->setPosition(seconds);
        }
        return;
    }
    const qint64 ms = std::llround(std::clamp(seconds, 0.0, duration()) * 1000.0);
    ended_ = false;
    if (running_) {
        player_->play(ms);
    } else {
        player_->seek(ms);
    }
}

bool AudioStreamingControl::prepareNext(const QString& path) {
    if (follower_ && followerPath_ == path) {
        return true;
    }
    cancelNext();
    if (!light() || path.isEmpty() || player_->source() != source_.get()) {
        return false;
    }
    std::unique_ptr<AudioDecoder> decoder = openLightDecoder(path);
    if (!decoder || !decoder->lengthExact() || !source_->joinsWith(*decoder)) {
        return false;
    }
    follower_ = std::make_unique<DecodedSource>(std::move(decoder));
    followerPath_ = path;
    player_->setNext(follower_.get());
    return true;
}

void AudioStreamingControl::cancelNext() {
    if (follower_) {
        player_->setNext(nullptr);
        follower_.reset();
        followerPath_.clear();
    }
}

void AudioStreamingControl::followerHeard() {
    if (!follower_ || player_->source() != follower_.get()) {
        return;
    }
    std::unique_ptr<DecodedSource> finished = std::move(source_);
    source_ = std::move(follower_);
    handoffPath_ = std::exchange(followerPath_, QString());
    settled_ = false;
    running_ = false;
    ended_ = true;
    emit done();
    handoffPath_.clear();
    if (!settled_) {
        // Nobody opened anything: silenced, the file that ended is this control's again.
        player_->setSource(nullptr);
        if (fileName_.isEmpty()) {
            source_.reset();
            emit readyStateChanged(0);
        } else {
            source_ = std::move(finished);
            player_->setSource(source_.get());
        }
    }
}

}  // namespace marlo
