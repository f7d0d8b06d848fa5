#include "FileMediaDevice.h"

#include "AudioDecoder.h"
#include "DecodedSource.h"
#include "FluidSynthRenderer.h"
#include "MpvPlayer.h"
#include "PcmPlayer.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <utility>

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
        connect(pcm_.get(), &PcmPlayer::advanced, this, &FileMediaDevice::followerHeard);
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
    if (!handoffPath_.isEmpty()) {
        if (type.isEmpty() && fileName_ == handoffPath_) {
            // The follower plays on: it is this item.
            handoffPath_.clear();
            settled_ = true;
            backend_ = Backend::Pcm;
            atEnd_ = false;
            return 0;
        }
        handoffPath_.clear();
        settled_ = true;
        pcm().stop();
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
    } else if (backend_ == Backend::Pcm && handoffPath_.isEmpty()) {
        cancelNext();
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

bool FileMediaDevice::prepareNext(const QString& path) {
    if (follower_ && followerPath_ == path) {
        return true;
    }
    cancelNext();
    // Only a decoded file joins, and only one that plays to its end.
    if (backend_ != Backend::Pcm || !decoded_ || pcm().source() != decoded_.get() || playTo_ >= 0 ||
        path.isEmpty()) {
        return false;
    }
    std::unique_ptr<AudioDecoder> decoder = openLightDecoder(path);
    if (!decoder || !decoder->lengthExact() || !decoded_->joinsWith(*decoder)) {
        return false;
    }
    follower_ = std::make_unique<DecodedSource>(std::move(decoder));
    followerPath_ = path;
    pcm().setNext(follower_.get());
    return true;
}

void FileMediaDevice::cancelNext() {
    if (follower_) {
        pcm().setNext(nullptr);
        follower_.reset();
        followerPath_.clear();
    }
}

void FileMediaDevice::followerHeard() {
    if (!follower_ || pcm().source() != follower_.get()) {
        return;
    }
    // The item that ended is no longer rendered from; it goes once its end is told.
    std::unique_ptr<DecodedSource> finished = std::move(decoded_);
    decoded_ = std::move(follower_);
    handoffPath_ = std::exchange(followerPath_, QString());
    settled_ = false;
    endPosition_ = finished->lengthMs();
    playing_ = false;
    atEnd_ = true;
    statusTimer_.stop();
    emit done();
    handoffPath_.clear();
    if (!settled_) {
        // Nobody opened anything: silenced, the item that ended is the device's again.
        pcm().setSource(nullptr);
        decoded_ = std::move(finished);
        if (backend_ == Backend::Pcm) {
            pcm().setSource(decoded_.get());
        }
    }
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
