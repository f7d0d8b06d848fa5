#include "desktop/Mpris.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "desktop/MprisAdaptors.h"
#include "library/StoredCdLyrics.h"
#include "platform/media/OutputVolume.h"
#include "player/DisplayModel.h"
#include "player/PlaybackEngine.h"

namespace marlo {
namespace {

constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";

bool hasTime(PlaybackRoute route) {
    return route == PlaybackRoute::AudioDevice || route == PlaybackRoute::Streaming ||
           route == PlaybackRoute::Cd || route == PlaybackRoute::Video;
}

}  // namespace

Mpris::Mpris(MprisHost& host, QObject* parent) : QObject(parent), host_(host) {
    new MprisRoot(*this);
    new MprisPlayer(*this);
    connect(&host_.display(), &DisplayModel::changed, this, &Mpris::announceChanges);
    connect(&OutputVolume::instance(), &OutputVolume::changed, this, &Mpris::announceChanges);
}

bool Mpris::publish(QDBusConnection bus) {
    if (!bus.isConnected() ||
        !bus.registerObject(QString::fromLatin1(kPath), this, QDBusConnection::ExportAdaptors) ||
        !bus.registerService(QString::fromLatin1(kService))) {
        return false;
    }
    bus_ = bus;
    PlaybackEngine* engine = host_.engine();
    if (engine != nullptr && !seeksFollowed_) {
        seeksFollowed_ = true;
        connect(engine, &PlaybackEngine::seeked, this, [this](double fraction) {
            emit seeked(std::llround(fraction * static_cast<double>(lengthUs())));
        });
    }
    announceChanges();
    return true;
}

QString Mpris::playbackStatus() const {
    const DisplayModel& display = host_.display();
    if (!display.playing()) {
        return QStringLiteral("Stopped");
    }
    return display.paused() ? QStringLiteral("Paused") : QStringLiteral("Playing");
}

qint64 Mpris::lengthUs() const {
    const PlaybackEngine* engine = host_.engine();
    if (engine == nullptr || !hasTime(engine->state().route)) {
        return 0;
    }
    return std::max<qint64>(engine->state().length, 0) * 1000;
}

qint64 Mpris::positionUs() const {
    const qint64 length = lengthUs();
    const PlaybackEngine* engine = host_.engine();
    const bool file = engine != nullptr && engine->state().playing &&
                      (engine->state().route == PlaybackRoute::AudioDevice ||
                       engine->state().route == PlaybackRoute::Streaming);
    if (file) {
        if (const std::optional<qint64> heard = host_.heardPositionMs()) {
            return std::clamp<qint64>(*heard * 1000, 0, length);
        }
    }
    return std::llround(host_.display().barFraction() * static_cast<double>(length));
}

bool Mpris::canPlay() const {
    return host_.engine() != nullptr;
}

bool Mpris::canPause() const {
    return host_.engine() != nullptr && host_.display().playing();
}

bool Mpris::canSeek() const {
    const DisplayModel& display = host_.display();
    return host_.engine() != nullptr && display.playing() && !display.paused() && lengthUs() > 0;
}

bool Mpris::canGoNext() const {
    return host_.engine() != nullptr && host_.display().next() != ButtonLook::Disabled;
}

bool Mpris::canGoPrevious() const {
    return host_.engine() != nullptr && host_.display().previous() != ButtonLook::Disabled;
}

QDBusObjectPath Mpris::trackId() const {
    if (itemKey_.isEmpty()) {
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    }
    return QDBusObjectPath(QStringLiteral("/org/marlo/Marlo/Track/%1").arg(itemNumber_));
}

double Mpris::volume() const {
    return OutputVolume::level();
}

bool Mpris::setVolume(double volume) {
    return OutputVolume::instance().setLevel(volume);
}

QVariantMap Mpris::metadata() const {
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId()));
    const PlaybackEngine* engine = host_.engine();
    if (engine == nullptr || itemKey_.isEmpty()) {
        return map;
    }
    const PlayerState& state = engine->state();
    const QString title = state.title.isEmpty() ? host_.display().titel() : state.title;
    if (!title.isEmpty()) {
        map.insert(QStringLiteral("xesam:title"), title);
    }
    if (!state.artist.isEmpty()) {
        map.insert(QStringLiteral("xesam:artist"), QStringList{state.artist});
    }
    if (const qint64 length = lengthUs(); length > 0) {
        map.insert(QStringLiteral("mpris:length"), length);
    }
    if (state.route == PlaybackRoute::Cd) {
        map.insert(QStringLiteral("xesam:trackNumber"), state.cdTrack);
        if (!album_.isEmpty()) {
            map.insert(QStringLiteral("xesam:album"), album_);
        }
    } else if (!state.path.isEmpty()) {
        map.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(state.path).toString());
    }
    return map;
}

bool Mpris::seekTo(qint64 positionUs) {
    const qint64 length = lengthUs();
    if (!canSeek() || positionUs < 0 || positionUs > length) {
        return false;
    }
    // Announced by the engine's notice, as a seek from the window is.
    host_.engine()->seek(static_cast<double>(positionUs) / static_cast<double>(length));
    return true;
}

void Mpris::announceChanges() {
    // The item is what the list entry and the file name tell apart; its number names the track.
    QString key;
    if (const PlaybackEngine* engine = host_.engine()) {
        const PlayerState& state = engine->state();
        if (!state.path.isEmpty() || state.route == PlaybackRoute::Cd) {
            key = state.entryText + QLatin1Char('\n') + state.path + QLatin1Char('\n') +
                  QString::number(state.cdTrack);
        }
    }
    if (key != itemKey_) {
        itemKey_ = key;
        ++itemNumber_;
        album_.clear();
        albumRead_ = false;
    }
    // Once the track plays from the disc; read as the lyrics window's caption reads it.
    const PlaybackEngine* engine = host_.engine();
    if (!albumRead_ && engine != nullptr && engine->state().route == PlaybackRoute::Cd &&
        host_.library() != nullptr) {
        album_ = StoredCdLyrics(*host_.library(), {}).albumOf(engine->state().cdId);
        albumRead_ = true;
    }
    if (!bus_.isConnected()) {
        return;
    }
    const QVariantMap now{
        {QStringLiteral("PlaybackStatus"), playbackStatus()},
        {QStringLiteral("Metadata"), metadata()},
        {QStringLiteral("Volume"), volume()},
        {QStringLiteral("CanPlay"), canPlay()},
        {QStringLiteral("CanPause"), canPause()},
        {QStringLiteral("CanSeek"), canSeek()},
        {QStringLiteral("CanGoNext"), canGoNext()},
        {QStringLiteral("CanGoPrevious"), canGoPrevious()},
    };
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (announced_.value(it.key()) != it.value()) {
            changed.insert(it.key(), it.value());
        }
    }
    announced_ = now;
    if (changed.isEmpty()) {
        return;
    }
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
    bus_.send(signal);
}

}  // namespace marlo
