#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace marlo {

// One word of a word-timed line: its time and where it stands in the line's text.
struct LyricWord {
    qint64 ms = 0;
    int start = 0;
    int length = 0;
    bool operator==(const LyricWord&) const = default;
};

struct LyricLine {
    qint64 ms = 0;
    QString text;
    QList<LyricWord> words;  // empty unless the line carries word times
    bool operator==(const LyricLine&) const = default;
};

// Lyrics as the window shows them: timed lines sorted by time, or, when nothing is timed, the
// plain text. The offset follows the LRC convention: a positive offset shows lines earlier.
struct SyncedLyrics {
    QList<LyricLine> lines;
    QString plain;
    qint64 offsetMs = 0;

    bool synced() const { return !lines.isEmpty(); }
    bool isEmpty() const { return lines.isEmpty() && plain.trimmed().isEmpty(); }
    // The line lit at a playback position: -1 before the first line's time, the last line
    // after the last one.
    int lineAt(qint64 positionMs) const;
    // The word of `line` lit at a position: -1 before its first word or without word times.
    int wordAt(int line, qint64 positionMs) const;
};

// Text of lyrics bytes: a UTF-8 or UTF-16 byte order mark decides, otherwise UTF-8 when the
// bytes are valid UTF-8, Latin-1 (Windows-1252) when they are not.
QString decodeLyricsBytes(const QByteArray& bytes);

// The lyrics as LRC (UTF-8) that reads back the same: "[offset:]", then each line with its
// time and word times to the millisecond. Plain lyrics give their text.
QByteArray toLrc(const SyncedLyrics& lyrics);

}  // namespace marlo
