#pragma once

#include <QString>
#include <QtGlobal>

namespace marlo {

class PlaybackEngine;
struct TextPair;

// A player for one device: the audio device, the streaming control, the module library, the CD
// drive, the video window or the picture viewer. The engine keeps the shared state (flags,
// labels, what follows an item); a route only drives its device and tells the engine the end of
// an item through PlaybackEngine::itemFinished().
class PlaybackRouteBase {
  public:
    virtual ~PlaybackRouteBase() = default;

    // Plays (or with loadOnly just opens) the item; false when the device failed.
    virtual bool start(const QString& path, bool loadOnly) = 0;
    // Length in milliseconds after start (0 when unknown).
    virtual qint64 length() const = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    // closeViewer: also hide the window and show the taskbar again.
    virtual void stop(bool closeViewer) = 0;
    // Gives the device up after a load without play.
    virtual void release() = 0;
    virtual void seek(double fraction) = 0;
    // While an item plays: the file that follows it, to be joined without a gap where the
    // device can; a start of that file after the end then goes on with it as it plays.
    virtual void prepareNext(const QString& path) { Q_UNUSED(path); }
    virtual void cancelNext() {}

    // The title shown when start() failed; null: the device is not ready.
    virtual const TextPair* failureText() const { return nullptr; }
    // A route whose device tells neither position nor end is asked every so many milliseconds
    // while it plays (0: never).
    virtual int pollIntervalMs() const { return 0; }
    virtual void poll() {}
};

// CD tracks: the drive with its table of contents and the lyrics display.
class CdRoute : public PlaybackRouteBase {
  public:
    // False when no disc is in the drive.
    virtual bool discPresent() = 0;
    virtual int trackCount() const = 0;
    virtual QString discId() const = 0;
    // The path argument of start() is "cdaudio"; the track is chosen here first.
    virtual void selectTrack(int track) = 0;
    // The lyrics display follows the current track when it is open.
    virtual void trackChanged(int track) = 0;
};

// Videos in the video window (streaming control or video device, sizes and zoom).
class VideoRoute : public PlaybackRouteBase {
  public:
    // Asked before a video plays: false when the user gave no zoom factor; the item then stops.
    virtual bool confirmZoom() = 0;
};

// Pictures in the picture viewer with its slideshow.
class PictureRoute : public PlaybackRouteBase {
  public:
    // Shows the picture again without full screen and without slideshow (after Stop).
    virtual void showStill(const QString& path) = 0;
};

}  // namespace marlo
