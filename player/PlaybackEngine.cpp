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

EngineLibrary EngineLibrary::of(LibrarySession& session) {
    return {session.chooser, session.playback, session.store, session.prompts};
}

PlaybackEngine::PlaybackEngine(EngineLibrary library, Settings& settings, PlaybackDevices devices,
                               DisplayModel& display, QString extractFolder, QObject* parent)
    : QObject(parent),
      library_(library),
      settings_(settings),
      devices_(devices),
      display_(display),
      extractFolder_(withTrailingSlash(extractFolder)),
      archives_(library.prompts),
      audio_(devices.audio),
      streaming_(devices.streaming, *this),
      modules_(devices.modules, display, *this) {
    blinker_.setInterval(kBlinkIntervalMs);
    connect(&blinker_, &QTimer::timeout, this, &PlaybackEngine::blinkTick);
    connect(&pollTimer_, &QTimer::timeout, this, &PlaybackEngine::pollTick);
    // After the start that asks for it has returned: opening the follower is an event of its own.
    prepareTimer_.setSingleShot(true);
    prepareTimer_.setInterval(0);
    connect(&prepareTimer_, &QTimer::timeout, this, &PlaybackEngine::prepareNextItem);
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
    const bool cdList = library_.chooser.kind() == MediaKind::CdAudio;
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
    if (library_.chooser.kind() == MediaKind::CdAudio) {
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
    const MediaItem item = library_.store.ReadItem(library_.chooser.kind(), entry);
    state_.title = item.title;
    state_.path = item.path;
    state_.artist = item.artist;
    setItemType(item.typeTag);
    return Outcome::Done;
}

PlaybackEngine::Outcome PlaybackEngine::dispatch(const QString& playPath, bool member) {
    const MediaKind kind = library_.chooser.kind();
    const bool module = isModuleType();
    if (module && !settings_.isSet(option::kModulesThroughDevice)) {
        modules_.configure(volume_, filterMode());
        return startRoute(&modules_, PlaybackRoute::ModuleLibrary, playPath);
    }
    // A member only loaded is not extracted, so there is nothing a device could open.
    if (member && state_.loadOnly) {
        state_.route = PlaybackRoute::None;
        return Outcome::Done;
    }
    if (isMp3Type()) {
        return startRoute(&streaming_, PlaybackRoute::Streaming, playPath);
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
    // Modules with option 5 also go through the module device: option 5 speaks for files the
    // streaming control can play, and a module left unopened would never end.
    if (settings_.isSet(option::kStreamingOnly) && !module) {
        return startRoute(&streaming_, PlaybackRoute::Streaming, playPath);
    }
    audio_.setModuleType(module);
    return startRoute(&audio_, PlaybackRoute::AudioDevice, playPath);
}

void PlaybackEngine::seekStreaming(double fraction) {
    starting_ = true;  // buttons pressed during the wait come after it
    const bool ready = streaming_.reloadAndSeek(fraction);
    starting_ = false;
    if (!ready) {
        showDeviceError();
        stopCurrentItem();
    }
    runDeferred();
}

PlaybackEngine::Outcome PlaybackEngine::startRoute(PlaybackRouteBase* route, PlaybackRoute which,
                                                   const QString& path) {
    state_.route = which;
    if (!route->start(path, state_.loadOnly)) {
        if (const TextPair* text = route->failureText()) {
            // The route stays current through the stop, which picks its position text.
            stopCurrentItem();
            display_.setTitel(Catalogue::text(*text));
            return Outcome::Ended;
        }
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
    if (state_.route == PlaybackRoute::Picture) {
        state_.length = list.count();
    } else if (PlaybackRouteBase* route = routeFor(state_.route)) {
        state_.length = route->length();
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
        startPolling();
        scheduleNextPreparation();
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
    if (PlaybackRouteBase* route = routeFor(state_.route)) {
        route->release();
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
    pollTimer_.stop();
    const MediaKind kind = library_.chooser.kind();
    if (PlaybackRouteBase* route = routeFor(state_.route)) {
        route->stop(state_.closeViewer);
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
    audio_.forgetFile();
    emit itemStopped();
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

PlaybackRouteBase* PlaybackEngine::routeFor(PlaybackRoute route) {
    switch (route) {
        case PlaybackRoute::AudioDevice:
            return &audio_;
        case PlaybackRoute::Streaming:
            return &streaming_;
        case PlaybackRoute::ModuleLibrary:
            return &modules_;
        case PlaybackRoute::Cd:
            return cd_;
        case PlaybackRoute::Video:
            return video_;
        case PlaybackRoute::Picture:
            return pictures_;
        case PlaybackRoute::None:
            break;
    }
    return nullptr;
}

void PlaybackEngine::startPolling() {
    PlaybackRouteBase* route = routeFor(state_.route);
    if (route != nullptr && route->pollIntervalMs() > 0) {
        pollTimer_.start(route->pollIntervalMs());
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
