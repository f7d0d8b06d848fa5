#include "FileMediaDevice.h"

#include "AudioDecoder.h"
#include "DecodedSource.h"
#include "FluidSynthRenderer.h"
#include "MpvPlayer.h"
#include "PcmPlayer.h"

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
    // The PCM output pulls from the renderer and the decoder: it goes first.
    pcm_.reset();
}

PcmPlayer& FileMediaDevice::pcm() {
    if (!pcm_) {
        pcm_ = std::make_unique<PcmPlayer>(nullptr, pcmFile_);
        connect(pcm_.get(), &PcmPlayer::ended, this, [this] {
            if (backend_ == Backend::Pcm && playing_) {
                finish();
            }
        });
    }
    return *pcm_;
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
    const bool midi =
        type.isEmpty() && info.suffix().compare(QLatin1String("mid"), Qt::CaseInsensitive) == 0;
    std::unique_ptr<AudioDecoder> decoder =
        type.isEmpty() && !midi ? openLightDecoder(fileName_) : nullptr;
    if (midi) {
        if (!midi_) {
            midi_ = std::make_unique<FluidSynthRenderer>();
        }
        if (!midi_->load(fileName_)) {
            return mediaerror::kCannotPlayFile;
        }
        pcm().setSource(midi_.get());
        backend_ = Backend::Pcm;
    } else if (decoder) {
        pcm().setSource(nullptr);
        decoded_ = std::make_unique<DecodedSource>(std::move(decoder));
        pcm().setSource(decoded_.get());
        backend_ = Backend::Pcm;
    } else {
        // Modules, the formats only libmpv reads, and files a light decoder refused.
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
        pcm().play(from >= 0 ? from : atEnd_ ? 0 : -1);
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
    } else if (backend_ == Backend::Pcm) {
        pcm().pause();
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
    } else if (backend_ == Backend::Pcm) {
        pcm().stop();
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
    } else if (backend_ == Backend::Pcm) {
        pcm().stop();
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
    if (backend_ == Backend::Pcm) {
        return pcm_->lengthMs();  // fixed once loaded
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
    if (backend_ == Backend::Pcm) {
        return pcm_->positionMs();
    }
    return 0;
}

}  // namespace marlo
