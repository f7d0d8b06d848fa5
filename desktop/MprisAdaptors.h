#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

#include "desktop/Mpris.h"

namespace marlo {

class MprisRoot : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(bool CanSetFullscreen READ no)
    Q_PROPERTY(bool Fullscreen READ no)
    Q_PROPERTY(QStringList SupportedUriSchemes READ uriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes)

  public:
    explicit MprisRoot(Mpris& mpris) : QDBusAbstractAdaptor(&mpris), mpris_(mpris) {}
    QString identity() const { return QStringLiteral("Marlo"); }
    QString desktopEntry() const { return QStringLiteral("marlo"); }
    bool yes() const { return true; }
    bool no() const { return false; }
    QStringList uriSchemes() const { return {QStringLiteral("file")}; }
    QStringList mimeTypes() const;

  public slots:
    void Raise() { mpris_.host().raise(); }
    void Quit() { mpris_.host().quit(); }

  private:
    Mpris& mpris_;
};

class MprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double Rate READ rate)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(bool CanControl READ canControl)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)

  public:
    explicit MprisPlayer(Mpris& mpris);
    QString playbackStatus() const { return mpris_.playbackStatus(); }
    QVariantMap metadata() const { return mpris_.metadata(); }
    qlonglong position() const { return mpris_.positionUs(); }
    double rate() const { return 1.0; }
    double volume() const { return mpris_.volume(); }
    // Kept within 0..1; a value that is not a number changes nothing (the bus answers a
    // property's write itself: a setter cannot refuse it).
    void setVolume(double volume) { mpris_.setVolume(volume); }
    bool canControl() const { return true; }
    bool canPlay() const { return mpris_.canPlay(); }
    bool canPause() const { return mpris_.canPause(); }
    bool canSeek() const { return mpris_.canSeek(); }
    bool canGoNext() const { return mpris_.canGoNext(); }
    bool canGoPrevious() const { return mpris_.canGoPrevious(); }

  public slots:
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qlonglong offsetUs);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong positionUs);
    void OpenUri(const QString& uri);

  signals:
    void Seeked(qlonglong positionUs);

  private:
    void refuse(const QString& why);

    Mpris& mpris_;
};

}  // namespace marlo
