#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace marlo::test {

// Writes a 16-bit stereo sine WAV file; returns the path.
QString writeSineWav(const QString& path, double hz, int milliseconds, int rate = 44100);

// Loudness and pitch of consecutive slices of a recording.
struct AudioSlice {
    double startSeconds = 0;
    double rms = 0;        // 0..1 of full scale
    double frequency = 0;  // from zero crossings of the left channel
};

// Reads a 16-bit PCM WAV file (as parecord writes it) and cuts it into slices.
QList<AudioSlice> analyseWav(const QString& path, double sliceSeconds);

}  // namespace marlo::test
