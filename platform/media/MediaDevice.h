#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace marlo {

// The media control device the player drives by string commands: device type, file name, the
// commands "open", "play", "Pause", "stop", "close" (any letter case), time format, play range,
// length and position, the error number of the last command, a completion notice at the end of
// an item and a status notice every 1000 ms while it plays.
class MediaDevice : public QObject {
    Q_OBJECT
  public:
    enum class TimeFormat { Milliseconds = 0, TrackMinuteSecondFrame = 10 };

    using QObject::QObject;
    ~MediaDevice() override = default;

    // "" (chosen by the file), "M4W_MCI" (module device) or "CDAudio".
    virtual void setDeviceType(const QString& type) = 0;
    virtual QString deviceType() const = 0;
    virtual void setFileName(const QString& path) = 0;
    virtual QString fileName() const = 0;

    // Runs one command; error() tells how it went (0 = success).
    virtual void command(const QString& name) = 0;
    virtual int error() const = 0;
    virtual bool isOpen() const = 0;

    virtual void setTimeFormat(TimeFormat format) = 0;
    virtual void setFrom(qint64 from) = 0;  // in the current time format
    virtual void setTo(qint64 to) = 0;      // negative: no end
    virtual void setTrack(int track) = 0;

    virtual qint64 length() const = 0;         // of the file or of the current track
    virtual qint64 position() const = 0;       // current position
    virtual qint64 trackPosition() const = 0;  // start of the current track in milliseconds

    // While a file plays: opens `path` ahead so that it follows without a gap, in the same
    // sound, when the file it follows ends. Its end is told (done()) once the join is heard; an
    // "open" of `path` from the completion handler then takes the follower on as it plays.
    // False when it cannot follow so (another rate or channel count, a format or device that
    // cannot join); stop, close and a new open take it back.
    virtual bool prepareNext(const QString& path) {
        Q_UNUSED(path);
        return false;
    }
    virtual void cancelNext() {}

  signals:
    // The item played to its end (not sent for a stop, close or a superseded command).
    void done();
    // Every 1000 ms while playing.
    void statusUpdate();
};

// The device for files: libmpg123 and libsndfile for MPEG audio, WAV, AU/SND, AIFF, FLAC and
// Ogg; libmpv for the other formats (ra, m4a, wma ...), files those decoders refuse and modules
// (device type "M4W_MCI"); FluidSynth with the General MIDI soundfont for ".mid".
std::unique_ptr<MediaDevice> createFileMediaDevice(QObject* parent = nullptr);

}  // namespace marlo
