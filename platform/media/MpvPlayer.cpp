#include "MpvPlayer.h"

#include "platform/EventWait.h"
#include "platform/media/MpvLibrary.h"
#include "platform/media/OutputVolume.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <algorithm>
#include <cmath>

namespace marlo {

namespace {

constexpr uint64_t kLoadReply = 1;
constexpr uint64_t kTimePos = 1;
constexpr uint64_t kEofReached = 2;
// Low byte of the reply tag of an end check; the round it was asked in sits above it.
constexpr uint64_t kEndCheck = 3;
// How long after the file's length the first question goes out, and how often it is repeated.
constexpr int kEndCheckSlackMs = 150;
constexpr int kEndCheckRetryMs = 250;

void setOption(mpv_handle* h, const char* name, const char* value) {
    mpvLibrary()->setOptionString(h, name, value);
}

}  // namespace

MpvPlayer::MpvPlayer(QObject* parent, const QString& pcmFile)
    : MpvPlayer(parent, pcmFile, Output::Sound) {}

MpvPlayer::MpvPlayer(Output output, QObject* parent) : MpvPlayer(parent, QString(), output) {}

MpvPlayer::MpvPlayer(QObject* parent, const QString& pcmFile, Output output) : QObject(parent) {
    endTimer_.setSingleShot(true);
    endTimer_.setTimerType(Qt::PreciseTimer);
    connect(&endTimer_, &QTimer::timeout, this, &MpvPlayer::reportEnd);
    endCheck_.setSingleShot(true);
    connect(&endCheck_, &QTimer::timeout, this, &MpvPlayer::askWhetherEnded);
    mpv_handle* h = mpvLibrary() != nullptr ? mpvLibrary()->create() : nullptr;
    if (h == nullptr) {
        return;  // mostly a numeric locale other than "C"
    }
    setOption(h, "config", "no");
    setOption(h, "terminal", "no");
    setOption(h, "load-scripts", "no");
    setOption(h, "ytdl", "no");
    setOption(h, "input-default-bindings", "no");
    setOption(h, "idle", "yes");
    // At its end a file stays loaded and paused instead of leaving mpv idle: idle mpv closes
    // the sound output, and reopening it for the next item is a gap a listener hears.
    setOption(h, "keep-open", "yes");
    // mpv would pause with the file's last sound still in the server's buffer, unheard.
    setOption(h, "keep-open-pause", "no");
    if (output == Output::SoundAndVideo) {
        setOption(h, "vo", "libmpv");
        // The window gives the picture its size; proportions are kept by sizing the window.
        setOption(h, "keepaspect", "no");
        setOption(h, "osd-level", "0");
        setOption(h, "hwdec", "no");
    } else {
        setOption(h, "vid", "no");
        setOption(h, "vo", "null");
    }
    setOption(h, "audio-display", "no");
    setOption(h, "sub-auto", "no");
    setOption(h, "audio-file-auto", "no");
    setOption(h, "pause", "yes");
    if (pcmFile.isEmpty()) {
        setOption(h, "ao", "pulse");
        // Without a sound server files still play (silently) and end, instead of failing.
        setOption(h, "audio-fallback-to-null", "yes");
        setOption(h, "audio-client-name", "Marlo");
    } else {
        setOption(h, "ao", "pcm");
        setOption(h, "ao-pcm-file", pcmFile.toUtf8().constData());
        setOption(h, "ao-pcm-waveheader", "no");
        setOption(h, "audio-format", "s16");
        setOption(h, "audio-samplerate", "44100");
        setOption(h, "audio-channels", "stereo");
    }
    if (mpvLibrary()->initialize(h) < 0) {
        mpvLibrary()->terminateDestroy(h);
        return;
    }
    handle_ = h;
    // Reading properties directly would wait for mpv's core, which at the end of every file
    // sits for about half a second letting the sound drain: positions come as notices instead.
    mpvLibrary()->observeProperty(handle_, kTimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpvLibrary()->observeProperty(handle_, kEofReached, "eof-reached", MPV_FORMAT_FLAG);
    setVolume(OutputVolume::level());
    connect(&OutputVolume::instance(), &OutputVolume::changed, this, &MpvPlayer::setVolume);
    mpvLibrary()->setWakeupCallback(
        handle_,
        [](void* self) {
            auto* player = static_cast<MpvPlayer*>(self);
            // Called on one of mpv's threads; one queued drain at a time is enough.
            if (!player->drainQueued_.exchange(true)) {
                QMetaObject::invokeMethod(player, &MpvPlayer::drain, Qt::QueuedConnection);
            }
        },
        this);
}

MpvPlayer::~MpvPlayer() {
    if (handle_ != nullptr) {
        mpvLibrary()->setWakeupCallback(handle_, nullptr, nullptr);
        mpvLibrary()->terminateDestroy(handle_);
    }
}

void MpvPlayer::issueLoad(const QString& path) {
    ++loadRound_;
    loaded_ = false;
    loading_ = true;
    loadFailed_ = false;
    decodingEnded_ = false;
    entryId_ = -1;
    restarts_ = 0;
    position_ = -1.0;
    duration_ = -1.0;
    cancelEndCheck();
    setPaused(true);
    const QByteArray file = path.toUtf8();
    const char* args[] = {"loadfile", file.constData(), "replace", nullptr};
    // Every request goes through mpv's queue of asynchronous requests, which keeps their order;
    // a direct call could overtake a stop still queued there.
    loadReplied_ = false;
    if (mpvLibrary()->commandAsync(handle_, (loadRound_ << 8) | kLoadReply, args) < 0) {
        loading_ = false;
        loadFailed_ = true;
    }
}

bool MpvPlayer::waitFor(const std::function<bool()>& settled, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!settled()) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0) {
            return false;
        }
        const mpv_event* event =
            mpvLibrary()->waitEvent(handle_, static_cast<double>(left) / 1000.0);
        handle(*event);
    }
    return true;
}

bool MpvPlayer::loadAndWait(const QString& path, int timeoutMs) {
    if (handle_ == nullptr) {
        return false;
    }
    issueLoad(path);
    // Window events go on during the wait. A stop or another load made from one of them takes
    // the player over: this load is given up then and leaves the player as that call left it.
    const quint64 round = loadRound_;
    const auto givenUp = [this, round] { return loadRound_ != round; };
    if (!waitDispatching([&] { return !loading_ || givenUp(); }, timeoutMs)) {
        stop();
        loadFailed_ = true;
        return false;
    }
    if (givenUp()) {
        return false;
    }
    // Loaded paused, mpv still settles on the start; a seek before that could be lost.
    waitDispatching([&] { return !loaded_ || restarts_ > 0 || givenUp(); }, 2000);
    return loaded_ && !givenUp();
}

bool MpvPlayer::waitDispatching(const std::function<bool()>& settled, int timeoutMs) {
    const std::function<bool()> outer = std::exchange(settled_, settled);
    const bool held = waitWhileDispatching(settled, timeoutMs);
    settled_ = outer;
    // mpv's events after the one that settled the wait (the end of a file without a single
    // frame, say) are the caller's news once the wait has returned, as they come.
    if (!drainQueued_.exchange(true)) {
        QMetaObject::invokeMethod(this, &MpvPlayer::drain, Qt::QueuedConnection);
    }
    return held;
}

bool MpvPlayer::seekAndWait(double seconds, int timeoutMs) {
    if (handle_ == nullptr || !loaded_) {
        return false;
    }
    const int before = restarts_;
    seek(seconds);
    return waitFor([&] { return !loaded_ || restarts_ > before; }, timeoutMs) && loaded_;
}

void MpvPlayer::loadAsync(const QString& path) {
    if (handle_ == nullptr) {
        return;
    }
    issueLoad(path);
    if (loadFailed_) {  // only when mpv would not even queue the request
        QMetaObject::invokeMethod(
            this, [this] { emit ended(EndReason::Error); }, Qt::QueuedConnection);
    }
}

void MpvPlayer::setPaused(bool paused) {
    if (paused && endTimer_.isActive()) {
        // Paused while the last sound drains: that much is still to be heard after resuming.
        drainLeftMs_ = endTimer_.remainingTime();
        endTimer_.stop();
    } else if (!paused && paused_ && decodingEnded_ && loaded_) {
        endTimer_.start(drainLeftMs_);
    }
    if (paused) {
        endCheck_.stop();
    } else if (paused_ && loaded_ && !decodingEnded_) {
        armEndCheck(untilEndMs() + kEndCheckSlackMs);
    }
    paused_ = paused;
    int flag = paused ? 1 : 0;
    mpvLibrary()->setPropertyAsync(handle_, 0, "pause", MPV_FORMAT_FLAG, &flag);
}

void MpvPlayer::setVolume(double level) {
    // mpv's volume is cubic: this gives the same amplitude as the other outputs at that level.
    double volume = 100.0 * std::cbrt(level);
    mpvLibrary()->setPropertyAsync(handle_, 0, "volume", MPV_FORMAT_DOUBLE, &volume);
}

void MpvPlayer::play() {
    if (handle_ != nullptr && loaded_) {
        setPaused(false);
    }
}

void MpvPlayer::pause() {
    if (handle_ != nullptr) {
        setPaused(true);
    }
}

void MpvPlayer::stop() {
    if (handle_ == nullptr) {
        return;
    }
    ++loadRound_;
    loaded_ = false;
    loading_ = false;
    entryId_ = -1;  // the end that stop causes is nobody's news
    position_ = -1.0;
    cancelEndCheck();
    setPaused(true);
}

void MpvPlayer::seek(double seconds) {
    if (handle_ == nullptr || !loaded_) {
        return;
    }
    const QByteArray target = QByteArray::number(seconds, 'f', 3);
    const char* args[] = {"seek", target.constData(), "absolute+exact", nullptr};
    mpvLibrary()->commandAsync(handle_, 0, args);
    position_ = seconds;
    decodingEnded_ = false;
    endTimer_.stop();
    cancelEndCheck();
    if (!paused_) {
        armEndCheck(untilEndMs() + kEndCheckSlackMs);
    }
}

double MpvPlayer::duration() const {
    return loaded_ ? duration_ : -1.0;
}

double MpvPlayer::position() const {
    return loaded_ ? position_ : -1.0;
}

void MpvPlayer::drain() {
    drainQueued_ = false;
    while (handle_ != nullptr) {
        if (settled_ && settled_()) {
            break;  // the rest waits until the wait has returned
        }
        const mpv_event* event = mpvLibrary()->waitEvent(handle_, 0);
        if (event->event_id == MPV_EVENT_NONE) {
            break;
        }
        handle(*event);
    }
}

void MpvPlayer::handle(const mpv_event& event) {
    switch (event.event_id) {
        case MPV_EVENT_START_FILE:
            // A file that starts before mpv took the latest load is one an earlier load asked
            // for (replaced while it was still starting).
            if (loading_ && loadReplied_ && entryId_ < 0) {
                entryId_ = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
            }
            break;
        case MPV_EVENT_FILE_LOADED:
            if (loading_ && entryId_ >= 0) {
                loading_ = false;
                loaded_ = true;
                position_ = 0.0;
                // Known from here on; the core is idle between loading and playing.
                if (mpvLibrary()->getProperty(handle_, "duration", MPV_FORMAT_DOUBLE, &duration_) <
                    0) {
                    duration_ = -1.0;
                }
                emit loaded();
            }
            break;
        case MPV_EVENT_END_FILE: {
            const auto* end = static_cast<const mpv_event_end_file*>(event.data);
            if (entryId_ < 0 || end->playlist_entry_id != entryId_) {
                break;  // a file replaced or stopped earlier
            }
            const bool wasLoading = loading_;
            loading_ = false;
            loaded_ = false;
            entryId_ = -1;
            cancelEndCheck();
            EndReason reason = EndReason::Stopped;
            if (end->reason == MPV_END_FILE_REASON_EOF && !wasLoading) {
                reason = EndReason::Eof;
            } else if (end->reason == MPV_END_FILE_REASON_ERROR ||
                       end->reason == MPV_END_FILE_REASON_REDIRECT || wasLoading) {
                // A playlist in disguise or a file that never loaded is no playable item.
                reason = EndReason::Error;
                loadFailed_ = true;
                if (end->reason == MPV_END_FILE_REASON_REDIRECT) {
                    const char* args[] = {"stop", nullptr};
                    mpvLibrary()->commandAsync(handle_, 0, args);
                }
            }
            emit ended(reason);
            break;
        }
        case MPV_EVENT_PLAYBACK_RESTART:
            if (loaded_) {
                ++restarts_;
            }
            break;
        case MPV_EVENT_GET_PROPERTY_REPLY: {
            if ((event.reply_userdata & 0xff) != kEndCheck ||
                (event.reply_userdata >> 8) != endCheckRound_ || !loaded_ || loading_ || paused_ ||
                decodingEnded_) {
                break;
            }
            const auto* reply = static_cast<const mpv_event_property*>(event.data);
            if (event.error >= 0 && reply->format == MPV_FORMAT_FLAG &&
                *static_cast<const int*>(reply->data) != 0) {
                endOfDecoding();
            } else {
                armEndCheck(kEndCheckRetryMs);
            }
            break;
        }
        case MPV_EVENT_COMMAND_REPLY:
            // A file that cannot even be queued (mpv reports most failures as an end instead).
            if (event.reply_userdata != ((loadRound_ << 8) | kLoadReply)) {
                break;  // another command's, or an earlier load's
            }
            loadReplied_ = true;
            if (event.error < 0 && loading_ && entryId_ < 0) {
                loading_ = false;
                loadFailed_ = true;
                emit ended(EndReason::Error);
            }
            break;
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto* change = static_cast<const mpv_event_property*>(event.data);
            if (!loaded_) {
                break;
            }
            if (event.reply_userdata == kTimePos && change->format == MPV_FORMAT_DOUBLE) {
                position_ = *static_cast<const double*>(change->data);
            } else if (event.reply_userdata == kEofReached && change->format == MPV_FORMAT_FLAG &&
                       *static_cast<const int*>(change->data) != 0 && !loading_) {
                endOfDecoding();
            }
            break;
        }
        default:
            break;
    }
}

void MpvPlayer::endOfDecoding() {
    // The last part still waits in the sound server's buffer, and mpv's position leaves that
    // part out: the end is reported once the listener has heard it.
    const double left = duration_ > 0 && position_ >= 0 ? duration_ - position_ : 0.0;
    decodingEnded_ = true;
    endCheck_.stop();
    if (left <= 0.0) {
        reportEnd();
    } else if (paused_) {
        drainLeftMs_ = static_cast<int>(left * 1000.0);
    } else {
        endTimer_.start(static_cast<int>(left * 1000.0));
    }
}

void MpvPlayer::reportEnd() {
    if (!loaded_ || loading_) {
        return;
    }
    loaded_ = false;
    entryId_ = -1;  // mpv's own end notice, if it still comes, is old news
    cancelEndCheck();
    position_ = duration_;
    setPaused(true);
    emit ended(EndReason::Eof);
}

int MpvPlayer::untilEndMs() const {
    if (duration_ <= 0) {
        return 0;  // no length known: asked from the start
    }
    return static_cast<int>(std::max(0.0, duration_ - std::max(position_, 0.0)) * 1000.0);
}

void MpvPlayer::armEndCheck(int delayMs) {
    endCheck_.start(std::max(delayMs, kEndCheckSlackMs));
}

void MpvPlayer::cancelEndCheck() {
    endCheck_.stop();
    ++endCheckRound_;
}

void MpvPlayer::askWhetherEnded() {
    if (handle_ == nullptr || !loaded_ || loading_ || paused_ || decodingEnded_) {
        return;
    }
    mpvLibrary()->getPropertyAsync(handle_, (endCheckRound_ << 8) | kEndCheck, "eof-reached",
                                   MPV_FORMAT_FLAG);
}

}  // namespace marlo
