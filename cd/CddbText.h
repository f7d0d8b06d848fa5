#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace marlo {

// Packed CD positions: minutes in the lowest byte, seconds in the second, frames in the third.
inline constexpr int kFramesPerSecond = 75;
int msfToFrames(quint32 packed);
quint32 framesToMsf(int frames);

// Adds the decimal digits of a positive number; 0 for 0 or less.
int digitSum(int number);
// Prefixes "0" up to `width`; a longer text keeps only its rightmost `width` characters.
QString padLeft(const QString& text, int width);
// Remove repeated leading or trailing occurrences of the single character `c`; any other
// length of `c` leaves the text unchanged.
QString trimLeftChar(const QString& text, const QString& c);
QString trimRightChar(const QString& text, const QString& c);

// The text after the first CR LF (empty when there is none).
QString removeTopLine(const QString& text);
// Every backslash-"n" pair becomes CR LF.
QString newLineFix(const QString& text);
// Collects the rest of every line that carries `header`, joined without separator, consuming
// `text` up to and including the last line used.
QString pullData(QString& text, const QString& header);

// A disc title split into artist and album. Entries separate the two with " / ", and names such
// as "AC/DC" hold a bare slash, so " / " wins; only a title without it splits at the first "/".
// Without any slash both parts are the whole title.
struct DiscTitleParts {
    QString artist;
    QString album;
};
DiscTitleParts splitDiscTitle(const QString& title);

// The disc id and the numbers around it, computed from the packed start of every track and the
// packed length of the last one as a CD drive reports them (the drive's last length is one frame
// short of the lead-out).
struct DiscId {
    QString id;  // eight lower-case hexadecimal digits
    int tracks = 0;
    int discLength = 0;         // seconds from the start of track 1 to the lead-out
    QList<quint32> toc;         // packed starts of tracks 1..N, then the lead-out
    QList<int> trackSeconds;    // whole seconds of each track, 1..N
    QString queryText() const;  // id, count, start frames, disc length
};
DiscId computeDiscId(const QList<quint32>& packedStarts, const QList<quint32>& packedLengths);

}  // namespace marlo
