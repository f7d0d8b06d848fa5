#include "desktop/MprisAdaptors.h"

#include <QDBusError>
#include <QFileInfo>
#include <QUrl>

#include "desktop/MediaTypes.h"
#include "player/PlaybackEngine.h"

namespace marlo {

QStringList MprisRoot::mimeTypes() const {
    // Read once: the database walk takes a few milliseconds.
    static const QStringList types = acceptedMimeTypes();
    return types;
}

MprisPlayer::MprisPlayer(Mpris& mpris) : QDBusAbstractAdaptor(&mpris), mpris_(mpris) {
    connect(&mpris_, &Mpris::seeked, this, &MprisPlayer::Seeked);
}

// The bus sets the call's context on the object the adaptors belong to.
void MprisPlayer::refuse(const QString& why) {
    if (mpris_.calledFromDBus()) {
        mpris_.sendErrorReply(QDBusError::InvalidArgs, why);
    }
}

void MprisPlayer::Play() {
    if (PlaybackEngine* engine = mpris_.host().engine()) {
        engine->play();
    }
}

void MprisPlayer::Pause() {
    // The player's Pause button resumes when pressed again; this one only pauses.
    if (mpris_.playbackStatus() == QLatin1String("Playing")) {
        mpris_.host().engine()->pause();
    }
}

void MprisPlayer::PlayPause() {
    if (mpris_.playbackStatus() == QLatin1String("Playing")) {
        Pause();
    } else {
        Play();
    }
}

void MprisPlayer::Stop() {
    if (PlaybackEngine* engine = mpris_.host().engine()) {
        engine->stop();
    }
}

void MprisPlayer::Next() {
    if (mpris_.canGoNext()) {
        mpris_.host().engine()->next();
    }
}

void MprisPlayer::Previous() {
    if (mpris_.canGoPrevious()) {
        mpris_.host().engine()->previous();
    }
}

void MprisPlayer::Seek(qlonglong offsetUs) {
    if (!mpris_.canSeek()) {
        return;
    }
    // Compared before adding: a client may send any offset, and the sum could overflow.
    const qint64 position = mpris_.positionUs();
    if (offsetUs > mpris_.lengthUs() - position) {
        Next();
        return;
    }
    mpris_.seekTo(offsetUs < -position ? 0 : position + offsetUs);
}

void MprisPlayer::SetPosition(const QDBusObjectPath& trackId, qlonglong positionUs) {
    if (trackId != mpris_.trackId()) {
        refuse(QStringLiteral("not the current track"));
    } else if (!mpris_.seekTo(positionUs)) {
        refuse(QStringLiteral("position outside the track, or the track cannot seek"));
    }
}

void MprisPlayer::OpenUri(const QString& uri) {
    const QUrl url(uri);
    if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile()) {
        refuse(QStringLiteral("only file: addresses of existing files open"));
        return;
    }
    mpris_.host().open({url.toLocalFile()});
}

}  // namespace marlo
