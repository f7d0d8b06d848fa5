#include "player/PlaybackEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/EventWait.h"
#include "base/Settings.h"
#include "base/TimeText.h"
#include "base/texts/ArchiveTexts.h"
#include "base/texts/PlaybackTexts.h"
#include "library/ArchiveMemberRef.h"
#include "library/LibrarySession.h"
#include "platform/Files.h"
#include "platform/ProgramFolders.h"
#include "platform/media/MediaDevice.h"
#include "platform/media/ModuleLibrary.h"
#include "platform/media/StreamingControl.h"

namespace marlo {

namespace {
const QString kModuleDeviceType = QStringLiteral("M4W_MCI");
constexpr int kBackgroundPolls = 100;
constexpr int kChannels = 100;

// The extraction folder and the member's own folders below it that do not exist yet, outermost
// first: what extracting the member will create.
QStringList foldersMissingFor(const QString& extractFolder, QString member) {
    member.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QStringList parts = QDir::cleanPath(member).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (!parts.isEmpty()) {
        parts.removeLast();  // the file itself
    }
    QString folder = QDir::cleanPath(extractFolder);
    QStringList missing;
    for (qsizetype i = -1; i < parts.size(); ++i) {
        if (i >= 0) {
            if (parts.at(i) == QLatin1String("..") || parts.at(i) == QLatin1String(".")) {
                break;  // never a folder outside; such a member is refused anyway
            }
            folder += QLatin1Char('/') + parts.at(i);
        }
        if (!QFileInfo::exists(folder)) {
            missing.append(folder);
        }
    }
    return missing;
}

}  // namespace

PlaybackEngine::PlaybackEngine(LibrarySession& library, Settings& settings, PlaybackDevices devices,
                               DisplayModel& display, QString extractFolder, QObject* parent)
    : QObject(parent),
      library_(library),
      settings_(settings),
      devices_(devices),
      display_(display),
      extractFolder_(withTrailingSlash(extractFolder)),
      archives_(library.prompts) {
    blinker_.setInterval(kBlinkIntervalMs);
    zeitmod_.setInterval(kModuleTimerMs);
    streamingTimer_.setInterval(kStreamingTimerMs);
    connect(&blinker_, &QTimer::timeout, this, &PlaybackEngine::blinkTick);
    connect(&zeitmod_, &QTimer::timeout, this, &PlaybackEngine::moduleTick);
    connect(&streamingTimer_, &QTimer::timeout, this, &PlaybackEngine::streamingTick);
    connect(&devices_.audio, &MediaDevice::statusUpdate, this, &PlaybackEngine::onAudioStatus);
    connect(&devices_.audio, &MediaDevice::done, this, &PlaybackEngine::onAudioDone);
    connect(&devices_.streaming, &StreamingControl::done, this, &PlaybackEngine::onStreamingDone);
}

PlaybackEngine::~PlaybackEngine() {
    // An extracted member never outlives the run.
    removeExtracted();
}

void PlaybackEngine::setRoutes(CdRoute* cd, VideoRoute* video, PictureRoute* pictures) {
    cd_ = cd;
    video_ = video;
    pictures_ = pictures;
}

// ---- Start current item -------------------------------------------------------------------

void PlaybackEngine::startCurrentItem() {
    if (deferWhileStarting([this] { startCurrentItem(); })) {
        return;
    }
    PlaybackList& list = library_.playback;
    if (list.count() == 0) {
        state_.loadOnly = false;
        return;
    }
    if (list.selectedIndex() < 0) {
        list.setSelectedIndex(0);
    }
    starting_ = true;
    const Outcome outcome = runStart();
    starting_ = false;
    if (outcome == Outcome::Failed) {
        stopCurrentItem();
        state_.loadOnly = false;
    }
    emit busyChanged(false);
    runDeferred();
}

PlaybackEngine::Outcome PlaybackEngine::runStart() {
    blinker_.stop();
    if (const Outcome fetched = fetchRecord(); fetched != Outcome::Done) {
        return fetched;
    }
    const bool cdList = library_.kind == MediaKind::CdAudio;
    QString playPath = state_.path;
    bool member = false;
    if (!cdList) {
        display_.setVscrollVisible(isModuleType() && !shapedSkin_);
        state_.archivePath.clear();
        const std::optional<ArchiveMemberRef> ref = splitMemberReference(state_.path);
        if (ref) {
            member = true;
            state_.archivePath = ref->archivePath;
        }
        if (!fileExists(member ? ref->archivePath : state_.path)) {
            display_.setTitel(state_.title);
            display_.setDauer(Catalogue::text(texts::kUnknownLength));
            display_.setPosit(timeText(0));
            display_.setTransport(ButtonLook::Idle);
            state_.blinkShowsTitle = true;
            state_.fileFoundShown = false;
            blinker_.start();
            display_.setInterpret(artistText());
            state_.loadOnly = false;
            return Outcome::Ended;
        }
        if (member && !state_.loadOnly && archiveKindOf(ref->archivePath) != ArchiveKind::None) {
            emit busyChanged(true);
            extractedFolders_ = foldersMissingFor(extractFolder_, ref->memberName);
            QDir().mkpath(extractFolder_);
            const ExtractResult extracted =
                archives_.ExtractMember(*ref, extractFolder_, /*showRefusals=*/false);
            if (ArchiveAccess::isRefusal(extracted.status)) {
                return refuseMember(*ref, extracted.status);
            }
            if (extracted.status != ArchiveStatus::Ok) {
                return Outcome::Failed;  // ArchiveAccess has told the user why, where it does
            }
            state_.extractedFile = QDir::cleanPath(extracted.writtenPath);
            playPath = state_.extractedFile;
        }
    }
    const Outcome dispatched = dispatch(playPath, member);
    if (dispatched != Outcome::Done) {
        return dispatched;
    }
    showItem(member);
    finishStart();
    return Outcome::Done;
}

PlaybackEngine::Outcome PlaybackEngine::fetchRecord() {
    const PlaybackList& list = library_.playback;
    const QString entry = list.selectedTitle();
    state_.entryText = entry;
    if (library_.kind == MediaKind::CdAudio) {
        if (cd_ == nullptr) {
            return routeUnavailable(texts::kCdUnavailable);
        }
        state_.cdTrack = entry.left(2).toInt();
        state_.title = entry.mid(4);
        state_.path = QStringLiteral("cdaudio");
        setItemType(QString());
        state_.cdTrackCount = cd_->trackCount();
        state_.cdId = cd_->discId();
        const CdInfo info = library_.store.ReadCdInfo(state_.cdId, state_.cdTrackCount);
        const int index = state_.cdTrack - 1;
        state_.artist = (info.known && index >= 0 && index < info.tracks.size())
                            ? info.tracks.at(index).artist
                            : QString();
        cd_->trackChanged(state_.cdTrack);
        return Outcome::Done;
    }
    const MediaItem item = library_.store.ReadItem(library_.kind, entry);
    state_.title = item.title;
    state_.path = item.path;
    state_.artist = item.artist;
    setItemType(item.typeTag);
    return Outcome::Done;
}

PlaybackEngine::Outcome PlaybackEngine::dispatch(const QString& playPath, bool member) {
    const MediaKind kind = library_.kind;
    if (isModuleType() && !settings_.isSet(option::kModulesThroughDevice)) {
        return startModule(playPath);
    }
    // A member only loaded is not extracted, so there is nothing a device could open.
    if (member && state_.loadOnly) {
        state_.route = PlaybackRoute::None;
        return Outcome::Done;
    }
    if (isMp3Type()) {
        return startStreaming(playPath);
    }
    switch (kind) {
        case MediaKind::CdAudio:
            cd_->selectTrack(state_.cdTrack);
            if (!cd_->discPresent()) {
                showDeviceError();
                return Outcome::Ended;
            }
            return startRoute(cd_, PlaybackRoute::Cd, QStringLiteral("cdaudio"));
        case MediaKind::Pictures:
            if (pictures_ == nullptr) {
                return routeUnavailable(texts::kPictureUnavailable);
            }
            return startRoute(pictures_, PlaybackRoute::Picture, playPath);
        case MediaKind::Video:
            if (video_ == nullptr) {
                return routeUnavailable(texts::kVideoUnavailable);
            }
            if (!state_.loadOnly && !video_->confirmZoom()) {
                stopCurrentItem();
                return Outcome::Ended;
            }
            return startRoute(video_, PlaybackRoute::Video, playPath);
        case MediaKind::Audio:
            break;
    }
    return startAudioDevice(playPath);
}

PlaybackEngine::Outcome PlaybackEngine::startModule(const QString& playPath) {
    state_.route = PlaybackRoute::ModuleLibrary;
    if (state_.loadOnly) {
        display_.setPosit(Catalogue::text(texts::kModuleAtStart));
        display_.setDauer(Catalogue::text(texts::kUnknownPatterns));
        return Outcome::Done;
    }
    ModuleLibrary& lib = devices_.modules;
    lib.startup();
    lib.init();
    lib.startBackgroundPlay(kBackgroundPolls);
    lib.openChannels(kChannels);
    lib.setAmplification(volume_);
    lib.setOption(ModuleLibrary::kOptionFilterMode, filterMode());
    state_.moduleHandle = lib.loadModule(playPath);
    if (state_.moduleHandle == 0) {
        lib.close();
        state_.route = PlaybackRoute::None;
        stopCurrentItem();
        display_.setTitel(Catalogue::text(texts::kModuleNotLoaded));
        return Outcome::Ended;
    }
    ModuleLibrary::ModuleInfo info;
    lib.getModuleInfo(state_.moduleHandle, info);
    display_.setDauer(QString::number(info.songLength) + Catalogue::text(texts::kPatterns));
    // Looping is how the end is noticed: the position returns to 0.
    state_.modulePlay = lib.playModule(state_.moduleHandle, true);
    state_.length = info.songLength;
    state_.moduleAboveZero = false;
    setPlaying(true);
    zeitmod_.start();
    return Outcome::Done;
}

void PlaybackEngine::seekStreaming(double fraction) {
    // The file is given again, so a control that played out is ready to move once more.
    StreamingControl& control = devices_.streaming;
    const QString file = control.fileName();
    control.setFileName(QString());
    control.setFileName(file);
    starting_ = true;  // buttons pressed during the wait come after it
    const bool ready = waitWhileDispatching(
        [&control] { return control.readyState() == StreamingControl::kReady || control.failed(); },
        readyWaitMs_);
    starting_ = false;
    if (!ready || control.readyState() != StreamingControl::kReady) {
        control.setFileName(QString());
        showDeviceError();
        stopCurrentItem();
        runDeferred();
        return;
    }
    control.setPosition(fraction * control.duration());
    control.run();
    runDeferred();
}

PlaybackEngine::Outcome PlaybackEngine::startStreaming(const QString& playPath) {
    StreamingControl& control = devices_.streaming;
    state_.route = PlaybackRoute::Streaming;
    control.setFileName(QString());
    control.setFileName(playPath);
    const bool ready = waitWhileDispatching(
        [&control] { return control.readyState() == StreamingControl::kReady || control.failed(); },
        readyWaitMs_);
    // A file the control cannot open (or that never gets ready) is a device failure, not a hang.
    if (!ready || control.readyState() != StreamingControl::kReady) {
        control.setFileName(QString());
        showDeviceError();
        return Outcome::Ended;
    }
    if (!state_.loadOnly) {
        control.run();
    }
    return Outcome::Done;
}

PlaybackEngine::Outcome PlaybackEngine::startAudioDevice(const QString& playPath) {
    MediaDevice& device = devices_.audio;
    const bool module = isModuleType();
    device.setDeviceType(module ? kModuleDeviceType : QString());
    device.setFileName(playPath);
    if (settings_.isSet(option::kStreamingOnly) && !module) {
        return startStreaming(playPath);
    }
    // Modules with option 5 also go through the module device: option 5 speaks for files the
    // streaming control can play, and a module left unopened would never end.
    state_.route = PlaybackRoute::AudioDevice;
    device.command(QStringLiteral("open"));
    if (device.error() == 0 && !state_.loadOnly) {
        device.command(QStringLiteral("play"));
    }
    if (device.error() != 0) {
        showDeviceError();
        device.command(QStringLiteral("Close"));
        return Outcome::Ended;
    }
    return Outcome::Done;
}

PlaybackEngine::Outcome PlaybackEngine::startRoute(PlaybackRouteBase* route, PlaybackRoute which,
                                                   const QString& path) {
    state_.route = which;
    if (!route->start(path, state_.loadOnly)) {
        showDeviceError();
        return Outcome::Ended;
    }
    return Outcome::Done;
}

PlaybackEngine::Outcome PlaybackEngine::routeUnavailable(const TextPair& text) {
    state_.route = PlaybackRoute::None;
    state_.loadOnly = false;
    stopCurrentItem();
    display_.setTransport(ButtonLook::Idle);
    display_.setTitel(Catalogue::text(text));
    display_.setTitelTip(QString());
    display_.setInterpret(QString());
    display_.setDauer(QString());
    return Outcome::Ended;
}

void PlaybackEngine::showDeviceError() {
    display_.setTitel(Catalogue::text(texts::kDeviceNotReady));
    display_.setDauer(QString());
    display_.setPosit(QString());
    display_.setInterpret(QString());
    display_.setTransport(ButtonLook::Idle);
    setPlaying(false);
    state_.loadOnly = false;
}

PlaybackEngine::Outcome PlaybackEngine::refuseMember(const ArchiveMemberRef& member,
                                                     ArchiveStatus status) {
    stopCurrentItem();
    showDeviceError();
    const auto message =
        ArchiveAccess::failureMessage(archiveKindOf(member.archivePath), status, member.memberName);
    if (message) {
        display_.setTitel(Catalogue::text(texts::kMemberRefused).arg(message->title));
        display_.setTitelTip(message->text);
    }
    return Outcome::Ended;
}

void PlaybackEngine::showItem(bool member) {
    display_.setTitel(state_.title);
    display_.setTitelTip(state_.title);
    display_.setTicker(state_.title + QString(60, QLatin1Char(' ')));
    const PlaybackList& list = library_.playback;
    switch (state_.route) {
        case PlaybackRoute::AudioDevice:
            devices_.audio.setTimeFormat(MediaDevice::TimeFormat::Milliseconds);
            state_.length = devices_.audio.length();
            break;
        case PlaybackRoute::Streaming:
            state_.length = qRound64(devices_.streaming.duration() * 1000.0);
            break;
        case PlaybackRoute::Cd:
        case PlaybackRoute::Video:
            state_.length = routeFor(state_.route)->length();
            break;
        case PlaybackRoute::Picture:
            state_.length = list.count();
            break;
        case PlaybackRoute::ModuleLibrary:
        case PlaybackRoute::None:
            break;
    }
    if (state_.route == PlaybackRoute::Picture) {
        const int index = list.selectedIndex();
        display_.setDauer(Catalogue::text(texts::kPictureCount).arg(list.count()));
        display_.setPosit(Catalogue::text(texts::kPictureNumber).arg(index + 1));
        display_.setBarFraction(static_cast<double>(index + 1) / list.count());
    } else if (state_.route != PlaybackRoute::ModuleLibrary) {
        display_.setDauer(member && state_.loadOnly ? Catalogue::text(texts::kUnknownLength)
                                                    : timeText(state_.length));
    }
    display_.setInterpret(artistText());
    display_.setInterpretTip(artistText());
    refreshPreviousNext();
}

void PlaybackEngine::finishStart() {
    if (!state_.loadOnly) {
        setPlaying(true);
        // A file shows its own running time from its start, not what the item before left
        // there ("Patt. 0 - Row 0" after a module), even if it ends before the first notice.
        if (state_.route == PlaybackRoute::AudioDevice ||
            state_.route == PlaybackRoute::Streaming) {
            showElapsed(0);
        }
        // The video window shows its positions on the same ticks.
        if (state_.route == PlaybackRoute::Streaming || state_.route == PlaybackRoute::Video) {
            streamingTimer_.start();
        }
        return;
    }
    display_.setPlay(ButtonLook::Idle);
    if (state_.route != PlaybackRoute::ModuleLibrary) {
        display_.setPosit(timeText(0));
    }
    state_.title.clear();
    releaseAfterLoad();
    state_.loadOnly = false;
}

void PlaybackEngine::releaseAfterLoad() {
    switch (state_.route) {
        case PlaybackRoute::Streaming:
            devices_.streaming.stop();
            devices_.streaming.setFileName(QString());
            break;
        case PlaybackRoute::AudioDevice:
            devices_.audio.command(QStringLiteral("close"));
            break;
        case PlaybackRoute::Cd:
        case PlaybackRoute::Video:
        case PlaybackRoute::Picture:
            routeFor(state_.route)->release();
            break;
        case PlaybackRoute::ModuleLibrary:
        case PlaybackRoute::None:
            break;
    }
    state_.route = PlaybackRoute::None;
}

// ---- Stop current item --------------------------------------------------------------------

void PlaybackEngine::stopCurrentItem() {
    if (state_.path.isEmpty()) {
        return;
    }
    setPlaying(false);
    state_.title.clear();
    streamingTimer_.stop();
    const MediaKind kind = library_.kind;
    switch (state_.route) {
        case PlaybackRoute::Video:
        case PlaybackRoute::Picture:
        case PlaybackRoute::Cd:
            routeFor(state_.route)->stop(state_.closeViewer);
            break;
        case PlaybackRoute::ModuleLibrary:
            stopModuleLibrary();
            break;
        case PlaybackRoute::Streaming:
            if (devices_.streaming.isRunning()) {
                devices_.streaming.stop();
            }
            devices_.streaming.setFileName(QString());
            break;
        case PlaybackRoute::AudioDevice:
            if (devices_.audio.isOpen()) {
                devices_.audio.command(QStringLiteral("stop"));
                devices_.audio.command(QStringLiteral("close"));
            }
            break;
        case PlaybackRoute::None:
            break;
    }
    if (kind != MediaKind::Pictures) {
        display_.setPosit(state_.route == PlaybackRoute::ModuleLibrary
                              ? Catalogue::text(texts::kModuleAtStart)
                              : timeText(0));
    }
    state_.route = PlaybackRoute::None;
    display_.setTransport(ButtonLook::Idle);
    if (kind != MediaKind::CdAudio) {
        removeExtracted();
    }
    blinker_.stop();
    if (kind != MediaKind::Pictures || state_.closeViewer) {
        display_.setBarFraction(0);
    }
    display_.setVscrollVisible(false);
    display_.setHscrollVisible(false);
    display_.setInterpretTip(QString());
    display_.setTitelTip(QString());
    state_.archivePath.clear();
    setItemType(QString());
    state_.closeViewer = false;
    setPaused(false);
    devices_.audio.setFileName(QString());
    devices_.audio.setDeviceType(QString());
    emit itemStopped();
}

void PlaybackEngine::stopModuleLibrary() {
    ModuleLibrary& lib = devices_.modules;
    if (state_.modulePlay != 0) {
        lib.stopModule(state_.modulePlay);
    }
    if (state_.moduleHandle != 0) {
        lib.freeModule(state_.moduleHandle);
        lib.close();
    }
    state_.modulePlay = 0;
    state_.moduleHandle = 0;
    zeitmod_.stop();
}

// ---- Helpers ------------------------------------------------------------------------------

void PlaybackEngine::removeExtracted() {
    if (!state_.extractedFile.isEmpty()) {
        QFile::remove(state_.extractedFile);
        state_.extractedFile.clear();
    }
    // Innermost first; a folder something else was put into meanwhile stays.
    for (auto folder = extractedFolders_.crbegin(); folder != extractedFolders_.crend(); ++folder) {
        QDir().rmdir(*folder);
    }
    extractedFolders_.clear();
}

PlaybackRouteBase* PlaybackEngine::routeFor(PlaybackRoute route) const {
    switch (route) {
        case PlaybackRoute::Cd:
            return cd_;
        case PlaybackRoute::Video:
            return video_;
        case PlaybackRoute::Picture:
            return pictures_;
        default:
            return nullptr;
    }
}

bool PlaybackEngine::isModuleType() const {
    return state_.itemType.compare(QStringLiteral("mod"), Qt::CaseInsensitive) == 0;
}

bool PlaybackEngine::isMp3Type() const {
    return state_.itemType.compare(QStringLiteral("mp3"), Qt::CaseInsensitive) == 0;
}

bool PlaybackEngine::lastEntry() const {
    return library_.playback.selectedIndex() == library_.playback.count() - 1;
}

int PlaybackEngine::filterMode() const {
    for (int number = option::kFilterNone; number <= option::kFilterAuto; ++number) {
        if (settings_.isSet(number)) {
            return number - option::kFilterNone;
        }
    }
    return 0;
}

QString PlaybackEngine::artistText() const {
    if (state_.artist.isEmpty() || isNotPresent(state_.artist)) {
        return Catalogue::text(texts::kUnknownArtist);
    }
    return state_.artist;
}

}  // namespace marlo
