// The transport buttons, the end-of-item rules, the timers and device notices of the engine.
#include <QTimer>
#include <algorithm>
#include <utility>

#include "base/RemoteKeys.h"
#include "base/Settings.h"
#include "base/TimeText.h"
#include "base/texts/PlaybackTexts.h"
#include "base/texts/StartupTexts.h"
#include "library/ArchiveMemberRef.h"
#include "library/LibrarySession.h"
#include "platform/Files.h"
#include "platform/media/MediaDevice.h"
#include "platform/media/ModuleLibrary.h"
#include "platform/media/StreamingControl.h"
#include "player/PlaybackEngine.h"

namespace marlo {

bool PlaybackEngine::deferWhileStarting(std::function<void()> action) {
    if (!starting_) {
        return false;
    }
    deferred_.append(std::move(action));
    return true;
}

void PlaybackEngine::runDeferred() {
    if (deferred_.isEmpty()) {
        return;
    }
    // After the start has fully returned, in the order the commands came.
    QTimer::singleShot(0, this, [this] {
        const QList<std::function<void()>> actions = std::exchange(deferred_, {});
        for (const auto& action : actions) {
            action();
        }
    });
}

void PlaybackEngine::beginPlayback() {
    if (deferWhileStarting([this] { beginPlayback(); })) {
        return;
    }
    if (library_.playback.count() == 0) {
        return;
    }
    display_.setTransport(ButtonLook::Playing);
    startCurrentItem();
}

int entryAfterEnd(int index, int count, bool repeatAll, bool repeatOne, bool slideshow) {
    if (index == count - 1) {
        return repeatAll ? 0 : repeatOne ? index : -1;
    }
    if (repeatOne) {
        return std::max(index, 0);  // without a selection, the start takes the first entry
    }
    return repeatAll || slideshow ? index + 1 : -1;
}

void PlaybackEngine::itemFinished() {
    if (deferWhileStarting([this] { itemFinished(); })) {
        return;
    }
    setPlaying(false);
    PlaybackList& list = library_.playback;
    const int index = list.selectedIndex();
    // A slideshow goes on to the next picture without a repeat option, as modules do: its tick
    // is the end of a picture, and a show that stopped after one would be no show.
    const int next =
        entryAfterEnd(index, list.count(), settings_.isSet(option::kRepeatAll),
                      settings_.isSet(option::kRepeatOne), state_.route == PlaybackRoute::Picture);
    // A video that nothing follows would leave its window on screen, black, with nothing that
    // closes it: it closes as after the last entry.
    if (next < 0 && (lastEntry() || state_.route == PlaybackRoute::Video)) {
        state_.closeViewer = true;
    }
    stopCurrentItem();
    if (next >= 0) {
        if (next != index) {
            list.setSelectedIndex(next);
        }
        beginPlayback();
    }
}

void PlaybackEngine::scheduleNextPreparation() {
    if (state_.route == PlaybackRoute::AudioDevice || state_.route == PlaybackRoute::Streaming) {
        prepareTimer_.start();
    }
}

void PlaybackEngine::prepareNextItem() {
    if (starting_ || !state_.playing ||
        (state_.route != PlaybackRoute::AudioDevice && state_.route != PlaybackRoute::Streaming)) {
        return;
    }
    PlaybackRouteBase* route = routeFor(state_.route);
    const QString path = gaplessFollower();
    if (path.isEmpty()) {
        route->cancelNext();
    } else {
        route->prepareNext(path);
    }
}

QString PlaybackEngine::gaplessFollower() const {
    const PlaybackList& list = library_.playback;
    if (library_.chooser.kind() != MediaKind::Audio) {
        return {};
    }
    const int next =
        entryAfterEnd(list.selectedIndex(), list.count(), settings_.isSet(option::kRepeatAll),
                      settings_.isSet(option::kRepeatOne), false);
    if (next < 0 || next >= list.count()) {
        return {};
    }
    const MediaItem item = library_.store.ReadItem(MediaKind::Audio, list.titles().at(next));
    const bool module = item.typeTag.compare(QStringLiteral("mod"), Qt::CaseInsensitive) == 0;
    const bool mp3 = item.typeTag.compare(QStringLiteral("mp3"), Qt::CaseInsensitive) == 0;
    const PlaybackRoute route = mp3 || settings_.isSet(option::kStreamingOnly)
                                    ? PlaybackRoute::Streaming
                                    : PlaybackRoute::AudioDevice;
    // A module plays elsewhere, and an archive member is not extracted before its turn.
    if (module || route != state_.route || splitMemberReference(item.path) ||
        !fileExists(item.path)) {
        return {};
    }
    return item.path;
}

void PlaybackEngine::moduleFinished() {
    if (deferWhileStarting([this] { moduleFinished(); })) {
        return;
    }
    pollTimer_.stop();
    setPlaying(false);
    const bool last = lastEntry();
    stopCurrentItem();
    PlaybackList& list = library_.playback;
    if (last) {
        if (settings_.isSet(option::kRepeatAll)) {
            list.setSelectedIndex(0);
            beginPlayback();
        } else if (settings_.isSet(option::kRepeatOne)) {
            beginPlayback();
        }
        return;
    }
    // Modules go on to the next entry even without a repeat option.
    if (!settings_.isSet(option::kRepeatOne)) {
        list.setSelectedIndex(list.selectedIndex() + 1);
    }
    beginPlayback();
}

void PlaybackEngine::takeOverPlaybackList() {
    if (deferWhileStarting([this] { takeOverPlaybackList(); })) {
        return;
    }
    emit showMainWindow();
    closeViewersOfOtherKinds();
    PlaybackList& list = library_.playback;
    if (list.count() == 0) {
        display_.setTransport(ButtonLook::Idle);
        display_.setTitel(Catalogue::text(texts::kNoFileToPlay));
        return;
    }
    if (state_.playing) {
        list.setSelectedIndex(static_cast<int>(list.titles().indexOf(state_.entryText)));
        refreshPreviousNext();
        scheduleNextPreparation();
        return;
    }
    list.setSelectedIndex(0);
    state_.loadOnly = true;
    startCurrentItem();
    if (settings_.isSet(option::kAutoplay)) {
        beginPlayback();
    }
}

// ---- Buttons ------------------------------------------------------------------------------

void PlaybackEngine::play() {
    if (deferWhileStarting([this] { play(); })) {
        return;
    }
    if (library_.playback.count() == 0) {
        return;
    }
    if (state_.paused) {
        resumeRoute();
        setPaused(false);
        display_.setPause(ButtonLook::Playing);
    } else if (state_.playing) {
        display_.setPlay(ButtonLook::Playing);
    } else {
        beginPlayback();
    }
}

void PlaybackEngine::pause() {
    if (deferWhileStarting([this] { pause(); })) {
        return;
    }
    if (!state_.playing) {
        return;
    }
    if (library_.playback.selectedIndex() < 0) {
        library_.playback.setSelectedIndex(0);
    }
    if (state_.paused) {
        resumeRoute();
        setPaused(false);
        display_.setPause(ButtonLook::Playing);
    } else {
        pauseRoute();
        setPaused(true);
        display_.setPause(ButtonLook::Idle);
    }
}

void PlaybackEngine::stop() {
    if (deferWhileStarting([this] { stop(); })) {
        return;
    }
    PlaybackList& list = library_.playback;
    if (!state_.playing || list.count() == 0) {
        return;
    }
    if (list.selectedIndex() < 0) {
        list.setSelectedIndex(0);
    }
    setPaused(false);
    state_.closeViewer = true;
    const QString path = state_.path;
    stopCurrentItem();
    if (library_.chooser.kind() == MediaKind::Pictures && pictures_ != nullptr) {
        pictures_->showStill(path);
    }
}

void PlaybackEngine::stopAndCloseViewer() {
    if (deferWhileStarting([this] { stopAndCloseViewer(); })) {
        return;
    }
    state_.closeViewer = true;
    stopCurrentItem();
    state_.closeViewer = false;
    // After Stop the still picture is no item of the engine's; it closes all the same.
    if (pictures_ != nullptr) {
        pictures_->stop(true);
    }
}

void PlaybackEngine::closeViewersOfOtherKinds() {
    // A picture or video left on screen by a list that is gone would stay there for good: only
    // a list of its own kind moves it on or closes it. An item still playing keeps its window.
    const MediaKind kind = library_.chooser.kind();
    if (pictures_ != nullptr && kind != MediaKind::Pictures &&
        state_.route != PlaybackRoute::Picture) {
        pictures_->stop(true);
    }
    if (video_ != nullptr && kind != MediaKind::Video && state_.route != PlaybackRoute::Video) {
        video_->stop(true);
    }
}

void PlaybackEngine::next() {
    if (deferWhileStarting([this] { next(); })) {
        return;
    }
    PlaybackList& list = library_.playback;
    const bool wrap = settings_.isSet(option::kRepeatAll);
    if (list.count() == 0 || (lastEntry() && !wrap)) {
        return;
    }
    if (list.selectedIndex() >= 0) {
        list.setSelectedIndex(lastEntry() ? 0 : list.selectedIndex() + 1);
    }
    selectAndContinue(state_.playing);
}

void PlaybackEngine::previous() {
    if (deferWhileStarting([this] { previous(); })) {
        return;
    }
    PlaybackList& list = library_.playback;
    const int index = list.selectedIndex();
    if (list.count() == 0 || (index == 0 && !settings_.isSet(option::kRepeatAll))) {
        return;
    }
    if (index >= 0) {
        list.setSelectedIndex(index == 0 ? list.count() - 1 : index - 1);
    }
    selectAndContinue(state_.playing);
}

void PlaybackEngine::selectAndContinue(bool playing) {
    if (playing) {
        if (library_.chooser.kind() != MediaKind::Video) {
            state_.closeViewer = true;
        }
        stopCurrentItem();
        beginPlayback();
        return;
    }
    state_.loadOnly = true;
    state_.archivePath.clear();
    startCurrentItem();
}

void PlaybackEngine::loadCurrentItem() {
    if (deferWhileStarting([this] { loadCurrentItem(); })) {
        return;
    }
    if (library_.playback.selectedIndex() >= 0) {
        selectAndContinue(false);
    }
}

void PlaybackEngine::remoteKey(int keyCode) {
    switch (keyCode) {
        case remotekey::kPlayPause:
            state_.playing ? pause() : play();
            break;
        case remotekey::kPrevious:
            previous();
            break;
        case remotekey::kNext:
            next();
            break;
        default:
            break;
    }
}

void PlaybackEngine::refreshPreviousNext() {
    const PlaybackList& list = library_.playback;
    const bool wrap = settings_.isSet(option::kRepeatAll);
    const int index = list.selectedIndex();
    display_.setPrevious(index == 0 && !wrap ? ButtonLook::Disabled : ButtonLook::Enabled);
    display_.setNext(index == list.count() - 1 && !wrap ? ButtonLook::Disabled
                                                        : ButtonLook::Enabled);
    // The repeat options may have changed what follows.
    if (state_.playing && !starting_) {
        scheduleNextPreparation();
    }
}

// ---- Pause and resume per device ----------------------------------------------------------

void PlaybackEngine::pauseRoute() {
    pollTimer_.stop();
    if (PlaybackRouteBase* route = routeFor(state_.route)) {
        route->pause();
    }
}

void PlaybackEngine::resumeRoute() {
    // A file that played out loads again, with window events going on: buttons pressed
    // meanwhile act after it, as during a start.
    const bool wasStarting = std::exchange(starting_, true);
    if (PlaybackRouteBase* route = routeFor(state_.route)) {
        route->resume();
    }
    starting_ = wasStarting;
    startPolling();
    runDeferred();
}

// ---- Timers and notices -------------------------------------------------------------------

bool PlaybackEngine::missingFileIsBack() const {
    return fileExists(state_.archivePath.isEmpty() ? state_.path : state_.archivePath);
}

void PlaybackEngine::blinkTick() {
    if (starting_) {
        return;
    }
    if (missingFileIsBack()) {
        // One tick shows that the file is back, the next one loads it.
        if (!state_.fileFoundShown) {
            state_.fileFoundShown = true;
            display_.setTitel(Catalogue::text(texts::kFileFound));
            return;
        }
        blinker_.stop();
        state_.fileFoundShown = false;
        state_.loadOnly = true;
        startCurrentItem();
        return;
    }
    state_.fileFoundShown = false;
    state_.blinkShowsTitle = !state_.blinkShowsTitle;
    display_.setTitel(state_.blinkShowsTitle ? state_.title
                                             : Catalogue::text(texts::kFileNotFound));
}

void PlaybackEngine::pollTick() {
    if (starting_ || !state_.playing) {
        return;
    }
    if (PlaybackRouteBase* route = routeFor(state_.route)) {
        route->poll();
    }
}

void PlaybackEngine::onAudioStatus() {
    if (starting_ || state_.route != PlaybackRoute::AudioDevice) {
        return;
    }
    showElapsed(devices_.audio.position());
}

void PlaybackEngine::showElapsed(qint64 elapsedMs) {
    display_.setPosit(timeText(elapsedMs));
    display_.setBarFraction(state_.length > 0 ? static_cast<double>(elapsedMs) / state_.length
                                              : 0.0);
}

void PlaybackEngine::onAudioDone() {
    if (state_.route == PlaybackRoute::AudioDevice && state_.playing) {
        itemFinished();
    }
}

void PlaybackEngine::onStreamingDone() {
    if (state_.route == PlaybackRoute::Streaming && state_.playing) {
        itemFinished();
    }
}

// ---- Seek and volume ----------------------------------------------------------------------

void PlaybackEngine::seek(double fraction) {
    if (starting_ || state_.path.isEmpty() || isModuleType() || state_.paused || !state_.playing) {
        return;
    }
    fraction = std::clamp(fraction, 0.0, 1.0);
    // A module and a picture have no time to move in.
    if (state_.route == PlaybackRoute::ModuleLibrary || state_.route == PlaybackRoute::Picture ||
        state_.route == PlaybackRoute::None) {
        return;
    }
    if (state_.route == PlaybackRoute::Streaming) {
        seekStreaming(fraction);
    } else {
        starting_ = true;  // a played-out file loads again first; see resumeRoute()
        routeFor(state_.route)->seek(fraction);
        starting_ = false;
        runDeferred();
    }
    display_.setBarFraction(0);
    // The streaming control gives up its follower when it loads the file again.
    scheduleNextPreparation();
    if (state_.playing) {
        emit seeked(fraction);
    }
}

void PlaybackEngine::setModuleVolume(int level) {
    volume_ = std::clamp(level, 0, 1000);
    if (state_.route == PlaybackRoute::ModuleLibrary) {
        modules_.setVolume(volume_);
    }
}

void PlaybackEngine::setPlaying(bool playing) {
    state_.playing = playing;
    display_.setPlaying(playing);
}

void PlaybackEngine::setPaused(bool paused) {
    state_.paused = paused;
    display_.setPaused(paused);
}

void PlaybackEngine::setItemType(const QString& type) {
    state_.itemType = type;
    display_.setModuleItem(isModuleType());
}

}  // namespace marlo
