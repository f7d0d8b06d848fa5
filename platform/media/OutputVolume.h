#pragma once

#include <QObject>
#include <atomic>

namespace marlo {

// The volume of everything Marlo plays, 0 (silent) to 1 (as decoded): files, MIDI, CD tracks,
// videos and modules alike, on top of a module's own amplification. The desktop's media
// controls set it; every sound output follows.
class OutputVolume : public QObject {
    Q_OBJECT
  public:
    // The one of the program; used on the window's thread.
    static OutputVolume& instance();
    // Read by the sound threads too.
    static double level() { return level_; }
    // Kept within 0..1; false (nothing changes) for a value that is not a number.
    bool setLevel(double level);

  signals:
    void changed(double level);

  private:
    using QObject::QObject;
    static std::atomic<double> level_;
};

}  // namespace marlo
