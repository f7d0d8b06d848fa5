#pragma once

#include <QString>
#include <QtGlobal>

namespace marlo {

// What the CD database client reads from a CD drive: whether it is open, and the packed start
// and length of every track (minutes in the lowest byte, seconds, frames). Implemented by the
// audio CD device and by a bare table of contents.
class CdDrive {
  public:
    virtual ~CdDrive() = default;
    virtual bool isOpen() const = 0;
    virtual void open() = 0;
    virtual void close() = 0;
    virtual int trackCount() const = 0;
    virtual quint32 trackStart(int track) const = 0;
    virtual quint32 trackLength(int track) const = 0;

    // The device interface of an audio drive; a bare table of contents has none of it: its
    // commands do nothing, its mode is "not open" (524) or "stopped" (525), no track plays.
    virtual void command(const QString&) {}
    virtual int mode() const { return isOpen() ? 525 : 524; }
    virtual int currentTrack() { return 0; }
    virtual void setCurrentTrack(int) {}
};

}  // namespace marlo
