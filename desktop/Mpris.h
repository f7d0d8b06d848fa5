#pragma once

#include <optional>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace marlo {

class DisplayModel;
class LibrarySession;
class PlaybackEngine;

// What the media player interface needs of the program around it. The engine exists only once
// start-up has loaded the library.
class MprisHost {
  public:
    virtual ~MprisHost() = default;
    virtual PlaybackEngine* engine() = 0;
    virtual DisplayModel& display() = 0;
    virtual void raise() = 0;
    // As the main window's Close button.
    virtual void quit() = 0;
    // As a drop on the main window.
    virtual void open(const QStringList& paths) = 0;
    // The library the engine plays from: CD tracks take their album from its store.
    virtual LibrarySession* library() = 0;
    // Where the device that plays a file is now, in ms, when the host can ask it; the display
    // shows the place of the last poll only (up to a second old, and 0 just after a seek).
    virtual std::optional<qint64> heardPositionMs() { return std::nullopt; }
};

// Desktop panels, media keys and playerctl see and drive Marlo through the MPRIS interfaces on
// the session bus. It reads what the windows read (the display model, the engine's state) and
// presses what the main window's buttons press.
class Mpris : public QObject, public QDBusContext {
    Q_OBJECT
  public:
    static constexpr const char* kService = "org.mpris.MediaPlayer2.marlo";
    static constexpr const char* kPath = "/org/mpris/MediaPlayer2";

    explicit Mpris(MprisHost& host, QObject* parent = nullptr);
    // Registers on the bus; false when there is none or the name is taken.
    bool publish(QDBusConnection bus);

    MprisHost& host() { return host_; }
    QString playbackStatus() const;
    QVariantMap metadata() const;
    qint64 positionUs() const;
    qint64 lengthUs() const;  // 0: the item has no time (modules, pictures) or none is known
    bool canPlay() const;
    bool canPause() const;
    bool canSeek() const;
    bool canGoNext() const;
    bool canGoPrevious() const;
    QDBusObjectPath trackId() const;
    // The output volume of every kind of item, 0..1.
    double volume() const;
    // False (nothing changes) for a value that is not a number; others are kept within 0..1.
    bool setVolume(double volume);

    // Moves to a position in µs of the current item; false when it cannot seek there.
    bool seekTo(qint64 positionUs);

  signals:
    void seeked(qint64 positionUs);

  private:
    // Tells the bus which of the player's properties changed since the last look.
    void announceChanges();

    MprisHost& host_;
    QDBusConnection bus_{QString()};
    QVariantMap announced_;
    // A new item gets a new track id.
    QString itemKey_;
    quint64 itemNumber_ = 0;
    bool seeksFollowed_ = false;  // the engine's seek notices reach Seeked
    // Of the current CD track, read as the track comes.
    QString album_;
    bool albumRead_ = false;
};

}  // namespace marlo
