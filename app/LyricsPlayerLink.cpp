#include "app/LyricsPlayerLink.h"

#include "library/ArchiveMemberRef.h"
#include "library/LibrarySession.h"
#include "platform/media/MediaDevice.h"
#include "platform/media/StreamingControl.h"
#include "player/DisplayModel.h"
#include "player/PlaybackEngine.h"

namespace marlo {

LyricsPlayerLink::~LyricsPlayerLink() {
    QObject::disconnect(listening_);
}

void LyricsPlayerLink::setChangeListener(std::function<void()> listener) {
    QObject::disconnect(listening_);
    listening_ =
        QObject::connect(&display_, &DisplayModel::changed, &display_, std::move(listener));
}

bool LyricsPlayerLink::running() {
    const PlayerState& state = engine_.state();
    return state.playing && !state.paused;
}

QString LyricsPlayerLink::currentKey() {
    const PlayerState& state = engine_.state();
    if (library_.kind() == MediaKind::CdAudio) {
        return QStringLiteral("cd:") + state.cdId + QLatin1Char('.') +
               QString::number(state.cdTrack);
    }
    return state.path.isEmpty() ? QStringLiteral("entry:") + library_.playback.selectedTitle()
                                : state.entryText + QLatin1Char('|') + state.path;
}

NowPlaying LyricsPlayerLink::nowPlaying() {
    NowPlaying item;
    const MediaKind kind = library_.kind();
    if (kind == MediaKind::CdAudio) {
        item.kind = NowPlaying::Kind::CdTrack;
        return item;
    }
    if (kind != MediaKind::Audio) {
        return item;
    }
    const PlayerState& state = engine_.state();
    if (state.path.isEmpty()) {
        // Nothing played yet: the selected entry's record says what it is.
        const QString title = library_.playback.selectedTitle();
        if (title.isEmpty()) {
            return item;
        }
        const MediaItem record = library_.store.ReadItem(kind, title);
        item.title = title;
        item.artist = isNotPresent(record.artist) ? QString() : record.artist;
        item.mediaPath = isNotPresent(record.path) ? QString() : record.path;
        // An archive member is extracted only when it plays.
        if (splitMemberReference(item.mediaPath)) {
            item.mediaPath.clear();
        }
        item.ownPath = item.mediaPath;
        item.kind = record.typeTag == QLatin1String("mod") ? NowPlaying::Kind::Module
                                                           : NowPlaying::Kind::AudioFile;
        return item;
    }
    item.kind =
        state.route == PlaybackRoute::ModuleLibrary || state.itemType == QLatin1String("mod")
            ? NowPlaying::Kind::Module
            : NowPlaying::Kind::AudioFile;
    // The list entry names the item's record, and so its stored lyrics.
    item.title = state.entryText.isEmpty() ? state.title : state.entryText;
    item.artist = isNotPresent(state.artist) ? QString() : state.artist;
    item.mediaPath = state.extractedFile.isEmpty() ? state.path : state.extractedFile;
    item.ownPath = state.archivePath.isEmpty() ? state.path : QString();
    item.lengthMs =
        state.route == PlaybackRoute::AudioDevice || state.route == PlaybackRoute::Streaming
            ? state.length
            : 0;
    return item;
}

qint64 LyricsPlayerLink::positionMs() {
    switch (engine_.state().route) {
        case PlaybackRoute::AudioDevice:
            return audio_.position();
        case PlaybackRoute::Streaming:
            return qRound64(streaming_.position() * 1000.0);
        default:
            return 0;
    }
}

qint64 LyricsPlayerLink::deviceLengthMs() const {
    switch (engine_.state().route) {
        case PlaybackRoute::AudioDevice:
            return audio_.length();
        case PlaybackRoute::Streaming:
            return qRound64(streaming_.duration() * 1000.0);
        default:
            return 0;
    }
}

bool LyricsPlayerLink::canSeek() {
    const PlayerState& state = engine_.state();
    return state.playing && !state.paused && state.itemType != QLatin1String("mod") &&
           deviceLengthMs() > 0;
}

void LyricsPlayerLink::seekTo(qint64 ms) {
    const qint64 length = deviceLengthMs();
    if (canSeek()) {
        engine_.seek(double(ms) / double(length));
    }
}

}  // namespace marlo
