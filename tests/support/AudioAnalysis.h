#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

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

// Cuts interleaved 16-bit little-endian samples into slices; the first starts at `startSeconds`.
// Frames after the last whole slice are left out.
QList<AudioSlice> analysePcm(const char* samples, qsizetype frames, int channels, int rate,
                             double sliceSeconds, double startSeconds = 0);

// Where the samples of a WAV file begin, and their format; nullopt while the header is not
// whole yet.
struct WavFormat {
    qsizetype dataStart = 0;
    int channels = 2;
    int rate = 44100;
};
std::optional<WavFormat> wavFormat(const QByteArray& start);

}  // namespace marlo::test
