#include "player/CdTrackRoute.h"

#include "base/texts/PlaybackTexts.h"
#include "cd/CdAudioDevice.h"
#include "cd/CddbText.h"
#include "lyrics/LyricsDisplay.h"
#include "platform/Prompts.h"
#include "player/PlaybackEngine.h"

namespace marlo {
namespace {

qint64 framesToMs(int frames) {
    return static_cast<qint64>(frames) * 1000 / kFramesPerSecond;
}

}  // namespace

CdTrackRoute::CdTrackRoute(CdAudioDevice& device, Prompts& prompts, QObject* parent)
    : QObject(parent), device_(device), prompts_(prompts) {
    status_.setInterval(kStatusIntervalMs);
    connect(&status_, &QTimer::timeout, this, &CdTrackRoute::statusTick);
    connect(&device_, &CdAudioDevice::done, this, [this] {
        if (!playing_) {
            return;
        }
        playing_ = false;
        status_.stop();
        if (engine_ != nullptr) {
            engine_->itemFinished();
        }
    });
}

CdTrackRoute::~CdTrackRoute() = default;

bool CdTrackRoute::readDisc() {
    trackCount_ = device_.allTracks();
    QList<quint32> starts;
    QList<quint32> lengths;
    for (int track = 1; track <= trackCount_; ++track) {
        starts.append(device_.trackStart(track));
        lengths.append(device_.trackLength(track));
    }
    discId_ = trackCount_ > 0 ? computeDiscId(starts, lengths).id : QString();
    return trackCount_ > 0;
}

bool CdTrackRoute::openDisc() {
    const bool wasOpen = device_.isOpen();
    for (;;) {
        device_.command(QStringLiteral("open"));
        if (device_.isOpen() && device_.mciErr() != CdAudioDevice::kErrNoDisc) {
            break;
        }
        device_.command(QStringLiteral("close"));
        trackCount_ = 0;
        discId_.clear();
        const PromptAnswer again = prompts_.message(
            Catalogue::title(texts::kNoDiscRetry), Catalogue::body(texts::kNoDiscRetry),
            PromptIcon::Question, PromptButtons::YesNo, PromptAnswer::Yes);
        if (again != PromptAnswer::Yes) {
            return false;
        }
    }
    const bool ok = readDisc();
    if (!wasOpen && !playing_) {
        device_.command(QStringLiteral("close"));
    }
    return ok;
}

int CdTrackRoute::probeTrackCount() {
    const bool wasOpen = device_.isOpen();
    device_.command(QStringLiteral("open"));
    const int count = device_.isOpen() ? device_.allTracks() : 0;
    if (!wasOpen) {
        device_.command(QStringLiteral("close"));
    }
    return count;
}

bool CdTrackRoute::discPresent() {
    device_.command(QStringLiteral("open"));
    if (!device_.isOpen() || device_.mciErr() == CdAudioDevice::kErrNoDisc) {
        return false;
    }
    // Another disc may lie in the drive since the list was made.
    readDisc();
    return track_ >= 1 && track_ <= trackCount_;
}

void CdTrackRoute::trackChanged(int) {
    if (lyrics_ != nullptr && lyrics_->windowWanted()) {
        lyrics_->showLyrics();
    }
}

bool CdTrackRoute::start(const QString&, bool loadOnly) {
    if (!device_.isOpen()) {
        device_.command(QStringLiteral("open"));
    }
    if (!device_.isOpen() || track_ < 1 || track_ > device_.allTracks()) {
        return false;
    }
    if (loadOnly) {
        device_.setCurrentTrack(track_);
        return true;
    }
    device_.playTrack(track_);
    playing_ = device_.mode() == CdAudioDevice::kPlaying;
    if (playing_) {
        status_.start();
        statusTick();
    }
    return playing_;
}

qint64 CdTrackRoute::length() const {
    return framesToMs(msfToFrames(device_.trackLength(track_)));
}

qint64 CdTrackRoute::elapsed() const {
    if (!device_.isOpen() || track_ < 1 || track_ > device_.allTracks()) {
        return 0;
    }
    // The device counts from the start of track 1.
    const int fromFirst = device_.position(2).toInt();
    const int trackOffset =
        msfToFrames(device_.trackStart(track_)) - msfToFrames(device_.trackStart(1));
    return framesToMs(std::max(0, fromFirst - trackOffset));
}

void CdTrackRoute::statusTick() {
    if (engine_ != nullptr && playing_) {
        engine_->showElapsed(elapsed());
    }
}

void CdTrackRoute::pause() {
    device_.command(QStringLiteral("pause"));
    status_.stop();
}

void CdTrackRoute::resume() {
    device_.command(QStringLiteral("play"));
    if (playing_) {
        status_.start();
    }
}

void CdTrackRoute::stop(bool) {
    playing_ = false;
    status_.stop();
    if (device_.isOpen()) {
        device_.command(QStringLiteral("stop"));
        device_.command(QStringLiteral("close"));
    }
}

void CdTrackRoute::release() {
    stop(false);
}

void CdTrackRoute::seek(double fraction) {
    if (!playing_) {
        return;
    }
    // From the clicked point to the end of this track only.
    const int length = msfToFrames(device_.trackLength(track_));
    device_.playTrack(track_, static_cast<int>(fraction * length));
    statusTick();
}

}  // namespace marlo
