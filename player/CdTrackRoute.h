#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "player/PlaybackRoutes.h"

namespace marlo {

class CdAudioDevice;
class LyricsDisplay;
class PlaybackEngine;
class Prompts;

// The CD route: the tracks of the disc in the drive, one at a time, each played from its start
// to its end; the engine goes on to the next entry when a track ends. The running time of the
// track shows in `Posit` and the position bar every second.
class CdTrackRoute : public QObject, public CdRoute {
    Q_OBJECT
  public:
    static constexpr int kStatusIntervalMs = 1000;

    CdTrackRoute(CdAudioDevice& device, Prompts& prompts, QObject* parent = nullptr);
    ~CdTrackRoute() override;

    // The engine to report the time and the end of a track to; set once both exist.
    void setEngine(PlaybackEngine* engine) { engine_ = engine; }
    // The lyrics window follows the track when it is shown.
    void setLyrics(LyricsDisplay* lyrics) { lyrics_ = lyrics; }

    // The open step: opens the drive and reads the disc's track count and id. With no disc
    // (error 262) the drive is closed and the user is asked whether to try again; false when
    // the user gives up. The drive is closed again afterwards unless a track plays.
    bool openDisc();
    // "New item" on a CD: the number of tracks of the disc in the drive, 0 when there is none.
    int probeTrackCount();

    // CdRoute
    bool discPresent() override;
    int trackCount() const override { return trackCount_; }
    QString discId() const override { return discId_; }
    void selectTrack(int track) override { track_ = track; }
    void trackChanged(int track) override;

    // PlaybackRouteBase
    bool start(const QString& path, bool loadOnly) override;
    qint64 length() const override;
    void pause() override;
    void resume() override;
    void stop(bool closeViewer) override;
    void release() override;
    void seek(double fraction) override;

    // Milliseconds since the start of the current track.
    qint64 elapsed() const;

  private:
    bool readDisc();
    void statusTick();

    CdAudioDevice& device_;
    Prompts& prompts_;
    PlaybackEngine* engine_ = nullptr;
    LyricsDisplay* lyrics_ = nullptr;
    QTimer status_;
    int track_ = 1;
    int trackCount_ = 0;
    QString discId_;
    bool playing_ = false;
};

}  // namespace marlo
