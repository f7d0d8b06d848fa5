#pragma once

#include <QProcess>
#include <QString>

#include "tests/support/SoundServer.h"

namespace marlo::test {

// Two audio tracks of `seconds` each, 440 Hz then 880 Hz, as "tones.cue" and its "tones.bin" in
// `folder`; returns the CUE sheet's path.
QString writeToneImage(const QString& folder, int seconds = 1);

// Records the private sound server's null sink into a WAV file while it runs. The sound server's
// address goes into this process's environment, so sound played here reaches that sink.
class SinkRecording {
  public:
    explicit SinkRecording(const QString& wavPath);
    ~SinkRecording();
    bool ok() const { return ok_; }
    // Stops recording; the file is complete afterwards.
    void finish();

  private:
    SoundServer sound_;
    QProcess recorder_;
    bool ok_ = false;
};

// Whether the loud slices of a recording hold `first` Hz, then `second` Hz, each for at least
// `seconds`, and no `first` after the first `second`.
bool tonesHeardInOrder(const QString& wavPath, double first, double second, double seconds = 0.5);

}  // namespace marlo::test
