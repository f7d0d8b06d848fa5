#include "player/FileRoutes.h"

#include "base/Catalogue.h"
#include "base/EventWait.h"
#include "base/texts/PlaybackTexts.h"
#include "platform/media/MediaDevice.h"
#include "platform/media/ModuleLibrary.h"
#include "platform/media/StreamingControl.h"
#include "player/DisplayModel.h"
#include "player/PlaybackEngine.h"

namespace marlo {

namespace {
const QString kModuleDeviceType = QStringLiteral("M4W_MCI");
constexpr int kBackgroundPolls = 100;
constexpr int kChannels = 100;
}  // namespace

// ---- Audio device -------------------------------------------------------------------------

void AudioDeviceRoute::setModuleType(bool module) {
    device_.setDeviceType(module ? kModuleDeviceType : QString());
}

void AudioDeviceRoute::forgetFile() {
    device_.setFileName(QString());
    device_.setDeviceType(QString());
}

bool AudioDeviceRoute::start(const QString& path, bool loadOnly) {
    device_.setFileName(path);
    device_.command(QStringLiteral("open"));
    if (device_.error() == 0 && !loadOnly) {
        device_.command(QStringLiteral("play"));
    }
    if (device_.error() != 0) {
        device_.command(QStringLiteral("Close"));
        return false;
    }
    return true;
}

qint64 AudioDeviceRoute::length() const {
    device_.setTimeFormat(MediaDevice::TimeFormat::Milliseconds);
    return device_.length();
}

void AudioDeviceRoute::pause() {
    device_.command(QStringLiteral("Pause"));
}

void AudioDeviceRoute::resume() {
    device_.command(QStringLiteral("Play"));
}

void AudioDeviceRoute::stop(bool) {
    if (device_.isOpen()) {
        device_.command(QStringLiteral("stop"));
        device_.command(QStringLiteral("close"));
    }
}

void AudioDeviceRoute::release() {
    device_.command(QStringLiteral("close"));
}

void AudioDeviceRoute::seek(double fraction) {
    device_.setTimeFormat(MediaDevice::TimeFormat::Milliseconds);
    device_.setFrom(qRound64(fraction * static_cast<double>(device_.length())));
    device_.command(QStringLiteral("Play"));
}

void AudioDeviceRoute::prepareNext(const QString& path) {
    device_.prepareNext(path);
}

void AudioDeviceRoute::cancelNext() {
    device_.cancelNext();
}

// ---- Streaming control --------------------------------------------------------------------

bool StreamingRoute::load(const QString& path) {
    control_.setFileName(QString());
    control_.setFileName(path);
    StreamingControl& control = control_;
    const bool ready = waitWhileDispatching(
        [&control] { return control.readyState() == StreamingControl::kReady || control.failed(); },
        readyWaitMs_);
    // A file the control cannot open (or that never gets ready) is a device failure, not a hang.
    if (!ready || control_.readyState() != StreamingControl::kReady) {
        control_.setFileName(QString());
        return false;
    }
    return true;
}

bool StreamingRoute::start(const QString& path, bool loadOnly) {
    if (!load(path)) {
        return false;
    }
    if (!loadOnly) {
        control_.run();
    }
    return true;
}

qint64 StreamingRoute::length() const {
    return qRound64(control_.duration() * 1000.0);
}

void StreamingRoute::pause() {
    if (control_.readyState() == StreamingControl::kReady) {
        control_.pause();
    }
}

void StreamingRoute::resume() {
    if (control_.readyState() == StreamingControl::kReady) {
        control_.run();
    }
}

void StreamingRoute::stop(bool) {
    if (control_.isRunning()) {
        control_.stop();
    }
    control_.setFileName(QString());
}

void StreamingRoute::release() {
    control_.stop();
    control_.setFileName(QString());
}

bool StreamingRoute::reloadAndSeek(double fraction) {
    if (!load(control_.fileName())) {
        return false;
    }
    control_.setPosition(fraction * control_.duration());
    control_.run();
    return true;
}

void StreamingRoute::poll() {
    // Whole seconds, as the control's timer always showed them.
    engine_.showElapsed(qRound64(control_.position()) * 1000);
}

void StreamingRoute::prepareNext(const QString& path) {
    control_.prepareNext(path);
}

void StreamingRoute::cancelNext() {
    control_.cancelNext();
}

// ---- Module library -----------------------------------------------------------------------

void ModuleRoute::configure(int volume, int filterMode) {
    volume_ = volume;
    filterMode_ = filterMode;
}

void ModuleRoute::setVolume(int volume) {
    volume_ = volume;
    if (handle_ != 0) {
        library_.setAmplification(volume_);
    }
}

bool ModuleRoute::start(const QString& path, bool loadOnly) {
    if (loadOnly) {
        display_.setPosit(Catalogue::text(texts::kModuleAtStart));
        display_.setDauer(Catalogue::text(texts::kUnknownPatterns));
        return true;
    }
    library_.startup();
    library_.init();
    library_.startBackgroundPlay(kBackgroundPolls);
    library_.openChannels(kChannels);
    library_.setAmplification(volume_);
    library_.setOption(ModuleLibrary::kOptionFilterMode, filterMode_);
    handle_ = library_.loadModule(path);
    if (handle_ == 0) {
        library_.close();
        return false;
    }
    ModuleLibrary::ModuleInfo info;
    library_.getModuleInfo(handle_, info);
    display_.setDauer(QString::number(info.songLength) + Catalogue::text(texts::kPatterns));
    // Looping is how the end is noticed: the position returns to 0.
    play_ = library_.playModule(handle_, true);
    length_ = info.songLength;
    aboveZero_ = false;
    return true;
}

const TextPair* ModuleRoute::failureText() const {
    return &texts::kModuleNotLoaded;
}

void ModuleRoute::pause() {
    ModuleLibrary::PlayStatus status;
    library_.getPlayStatus(play_, status);
    savedPosition_ = status.position;
    library_.stopModule(play_);
    play_ = 0;
}

void ModuleRoute::resume() {
    play_ = library_.playModule(handle_, true);
    library_.setPosition(play_, savedPosition_);
}

void ModuleRoute::stop(bool) {
    if (play_ != 0) {
        library_.stopModule(play_);
    }
    if (handle_ != 0) {
        library_.freeModule(handle_);
        library_.close();
    }
    play_ = 0;
    handle_ = 0;
}

void ModuleRoute::poll() {
    if (play_ == 0) {
        return;
    }
    ModuleLibrary::PlayStatus status;
    library_.getPlayStatus(play_, status);
    display_.setPosit(
        Catalogue::text(texts::kModulePosition).arg(status.position + 1).arg(status.row));
    if (status.position > 0) {
        aboveZero_ = true;
    }
    if (length_ > 0) {
        display_.setBarFraction(static_cast<double>(status.position) /
                                static_cast<double>(length_));
    }
    // Back at position 0 after leaving it is the end; a song of one order never leaves it, so
    // the library's word that the end was heard counts as well.
    if (status.position == 0 && (aboveZero_ || status.endHeard)) {
        aboveZero_ = false;
        engine_.moduleFinished();
    }
}

}  // namespace marlo
