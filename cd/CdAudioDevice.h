#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>
#include <vector>

#include "cd/CdDrive.h"
#include "cd/TocDrive.h"

typedef struct _CdIo CdIo_t;
typedef struct cdrom_drive_s cdrom_drive_t;
typedef struct cdrom_paranoia_s cdrom_paranoia_t;

namespace marlo {

class PcmOutput;

// The CD audio device: a drive such as /dev/sr0 or a CUE/BIN image, played through the sound
// server. Sectors are read on the sound server's thread, so a slow drive never stalls the
// window. Positions are packed minutes/seconds/frames counted from the start of the disc.
class CdAudioDevice : public QObject, public CdDrive {
    Q_OBJECT
  public:
    enum Mode {
        kNotOpen = 524,
        kStopped = 525,
        kPlaying = 526,
        kRecording = 527,
        kSeeking = 528,
        kPaused = 529,
        kTrayOut = 530,
    };
    static constexpr int kErrNoDisc = 262;
    static constexpr int kStatusIntervalMs = 500;

    // An empty source is the system's default drive.
    explicit CdAudioDevice(const QString& source = {}, QObject* parent = nullptr);
    ~CdAudioDevice() override;

    // "open", "close", "play", "pause", "stop", "prev", "next", "eject" in any letter case;
    // anything else does nothing.
    void command(const QString& text) override;
    // Plays one track to its end; `offsetFrames` into the track starts later (a seek).
    void playTrack(int track, int offsetFrames = 0);
    int currentTrack() override;
    void setCurrentTrack(int track) override;
    // Elapsed time since the start of track 1: 1 packed, 2 frames, 3 seconds, 4 "m:ss".
    QString position(int timeFormat) const;
    int songLength(int songNumber) const;
    int allTracks() const { return trackCount(); }
    int mciErr() const { return error_; }
    int mode() const override;
    static QString modeText(int mode);

    bool isOpen() const override { return cdio_ != nullptr; }
    void open() override { command(QStringLiteral("open")); }
    void close() override { command(QStringLiteral("close")); }
    int trackCount() const override { return static_cast<int>(toc_.trackStarts.size()); }
    quint32 trackStart(int track) const override { return tocDrive_.trackStart(track); }
    quint32 trackLength(int track) const override { return tocDrive_.trackLength(track); }

  signals:
    void modeChange(const QString& text);
    // A play range was played to its end.
    void done();

  private:
    void openDrive();
    void closeDrive();
    void play();
    void stop();
    void seekTrack(int track);
    int currentSector() const;
    int readPcm(qint16* out, int frames);
    void readSectors(qint16* out, int sector, int sectors);
    void watchMode();

    QString source_;
    CdIo_t* cdio_ = nullptr;
    cdrom_drive_t* cdda_ = nullptr;
    cdrom_paranoia_t* paranoia_ = nullptr;
    int paranoiaSector_ = -1;  // where the next paranoia read lands; the sound thread's own
    DiscToc toc_;
    TocDrive tocDrive_{DiscToc{}};
    std::unique_ptr<PcmOutput> output_;
    QTimer status_;
    int error_ = 0;
    int lastMode_ = 0;
    int storedTrack_ = 0;
    int track_ = 1;  // the device's current track
    bool playing_ = false;
    bool paused_ = false;
    int from_ = 0;  // sectors from the start of the disc (with the lead-in)
    int to_ = 0;
    int playStart_ = 0;   // where the running play began
    int heldSector_ = 0;  // the position while not playing
    std::atomic_int readSector_ = 0;
    std::atomic_int readEnd_ = 0;
    // Sectors read but not yet handed to the sound server; the sound thread's own.
    std::vector<qint16> pending_;
    std::size_t pendingPos_ = 0;
};

}  // namespace marlo
