#include "FileMediaDevice.h"

#include "FluidSynthRenderer.h"
#include "MpvPlayer.h"
#include "PcmOutput.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace marlo {

std::unique_ptr<MediaDevice> createFileMediaDevice(QObject* parent) {
    return std::make_unique<FileMediaDevice>(parent);
}

FileMediaDevice::FileMediaDevice(QObject* parent, const QString& pcmFile)
    : MediaDevice(parent), pcmFile_(pcmFile) {
    statusTimer_.setInterval(1000);
    connect(&statusTimer_, &QTimer::timeout, this, &MediaDevice::statusUpdate);
    // A play range that ends inside the item is watched closely; 20 ms is well below what
    // anybody hears or the position display shows.
    rangeTimer_.setInterval(20);
    connect(&rangeTimer_, &QTimer::timeout, this, &FileMediaDevice::checkEndPosition);
}

FileMediaDevice::~FileMediaDevice() {
    // The PCM output pulls from the renderer: it goes first.
    pcm_.reset();
}

MpvPlayer& FileMediaDevice::mpv() {
    if (!mpv_) {
        mpv_ = std::make_unique<MpvPlayer>(nullptr, pcmFile_);
        connect(mpv_.get(), &MpvPlayer::ended, this, [this](MpvPlayer::EndReason reason) {
            if (backend_ != Backend::Mpv || !playing_) {
                return;
            }
            if (reason == MpvPlayer::EndReason::Error) {
                error_ = mediaerror::kCannotPlayFile;
            }
            finish();
        });
    }
    return *mpv_;
}

void FileMediaDevice::command(const QString& name) {
    const QString verb = name.trimmed().toLower();
    if (verb == QLatin1String("open")) {
        error_ = open();
    } else if (verb == QLatin1String("play")) {
        error_ = play();
    } else if (verb == QLatin1String("pause")) {
        pause();
        error_ = isOpen() ? 0 : mediaerror::kNotOpen;
    } else if (verb == QLatin1String("stop")) {
        stop();
        error_ = isOpen() ? 0 : mediaerror::kNotOpen;
    } else if (verb == QLatin1String("close")) {
        close();
        error_ = 0;
    } else {
        error_ = mediaerror::kUnknownCommand;
    }
}

int FileMediaDevice::open() {
    close();
    const QString type = deviceType_.trimmed();
    if (type.compare(QLatin1String("CDAudio"), Qt::CaseInsensitive) == 0) {
        return mediaerror::kUnsupported;
    }
    if (!type.isEmpty() && type.compare(QLatin1String("M4W_MCI"), Qt::CaseInsensitive) != 0) {
        return mediaerror::kUnknownDeviceType;
    }
    const QFileInfo info(fileName_);
    if (fileName_.isEmpty() || !info.isFile()) {
        return mediaerror::kFileNotFound;
    }
    if (type.isEmpty() && info.suffix().compare(QLatin1String("mid"), Qt::CaseInsensitive) == 0) {
        if (!midi_) {
            midi_ = std::make_unique<FluidSynthRenderer>();
        }
        if (!midi_->load(fileName_)) {
            return mediaerror::kCannotPlayFile;
        }
        if (!pcm_) {
            pcm_ = std::make_unique<PcmOutput>(
                [this](qint16* out, int frames) { return midi_->render(out, frames); });
            connect(pcm_.get(), &PcmOutput::sourceEnded, this, [this] {
                if (backend_ == Backend::Midi && playing_) {
                    finish();
                }
            });
        }
        backend_ = Backend::Midi;
    } else {
        if (!mpv().isValid() || !mpv().loadAndWait(fileName_)) {
            return mediaerror::kCannotPlayFile;
        }
        const double seconds = mpv().duration();
        lengthMs_ = seconds > 0 ? qint64(std::llround(seconds * 1000.0)) : 0;
        backend_ = Backend::Mpv;
    }
    atEnd_ = false;
    return 0;
}

int FileMediaDevice::play() {
    if (backend_ == Backend::None) {
        return mediaerror::kNotOpen;
    }
    const qint64 from = from_;
    playTo_ = to_;
    from_ = -1;
    to_ = -1;
    if (backend_ == Backend::Mpv) {
        // A file that played to its end is gone from mpv; playing again starts it over.
        if (!mpv().isLoaded() && !mpv().loadAndWait(fileName_)) {
            close();
            return mediaerror::kCannotPlayFile;
        }
        if (from >= 0) {
            mpv().seekAndWait(double(from) / 1000.0);
        }
        mpv().play();
    } else {
        {
            // The sound server's thread may be rendering.
            const auto lock = pcm_->lockSource();
            if (from >= 0) {
                midi_->seekMs(from);
            } else if (atEnd_ || midi_->atEnd()) {
                midi_->seekMs(0);
            }
        }
        if (from >= 0 && pcm_->isActive()) {
            pcm_->start();  // a jump: what the server still holds is of the old place
        } else if (pcm_->isActive() && pcm_->isSuspended()) {
            pcm_->resume();
        } else if (!pcm_->isActive()) {
            pcm_->start();  // without a sound server it paces the music silently
        }
    }
    atEnd_ = false;
    playing_ = true;
    statusTimer_.start();
    if (playTo_ >= 0) {
        rangeTimer_.start();
    }
    return 0;
}

void FileMediaDevice::pause() {
    if (!playing_) {
        return;
    }
    if (backend_ == Backend::Mpv) {
        mpv().pause();
    } else if (backend_ == Backend::Midi) {
        pcm_->suspend();
    }
    playing_ = false;
    statusTimer_.stop();
    rangeTimer_.stop();
}

void FileMediaDevice::stop() {
    // Stopping keeps the position; a later "play" goes on from there.
    pause();
}

void FileMediaDevice::close() {
    playing_ = false;
    statusTimer_.stop();
    rangeTimer_.stop();
    if (backend_ == Backend::Mpv) {
        mpv().stop();
    } else if (backend_ == Backend::Midi) {
        pcm_->stop();
    }
    backend_ = Backend::None;
    atEnd_ = false;
    endPosition_ = 0;
}

void FileMediaDevice::finish() {
    endPosition_ = playTo_ >= 0 ? playTo_ : length();
    playing_ = false;
    atEnd_ = true;
    statusTimer_.stop();
    rangeTimer_.stop();
    if (backend_ == Backend::Mpv) {
        mpv().pause();
    } else if (backend_ == Backend::Midi) {
        pcm_->stop();
    }
    emit done();
}

void FileMediaDevice::checkEndPosition() {
    if (playing_ && playTo_ >= 0 && position() >= playTo_) {
        finish();
    }
}

qint64 FileMediaDevice::length() const {
    if (backend_ == Backend::Mpv) {
        return lengthMs_;
    }
    if (backend_ == Backend::Midi) {
        return midi_->lengthMs();  // fixed once loaded
    }
    return 0;
}

qint64 FileMediaDevice::position() const {
    if (atEnd_) {
        return endPosition_;
    }
    if (backend_ == Backend::Mpv && mpv_) {
        const double seconds = mpv_->position();
        return seconds > 0 ? qint64(std::llround(seconds * 1000.0)) : 0;
    }
    if (backend_ == Backend::Midi) {
        // What is heard: the renderer is ahead by what the sound server still holds.
        const qint64 bufferedMs = pcm_->framesBuffered() * 1000 / PcmOutput::kSampleRate;
        const auto lock = pcm_->lockSource();
        return std::clamp(midi_->positionMs() - bufferedMs, qint64(0), midi_->lengthMs());
    }
    return 0;
}

}  // namespace marlo
