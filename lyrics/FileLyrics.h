#pragma once

#include <QByteArray>
#include <QString>

#include "lyrics/SyncedLyrics.h"

namespace marlo {

// Lyrics that come with an audio file itself, each source on its own; empty when it has none.
namespace filelyrics {

// The largest lyrics file read; beyond it the file is not lyrics.
inline constexpr qint64 kMaxLrcBytes = 16 * 1024 * 1024;

// An ".lrc" file beside the media file with the same base name.
QString lrcBeside(const QString& mediaPath);
SyncedLyrics fromLrcBeside(const QString& mediaPath);

// The file's tag: a timed SYLT frame first, then the unsynced lyrics text (which may itself be
// LRC). `album` receives the tag's album.
SyncedLyrics fromTags(const QString& mediaPath, QString* album = nullptr);

// The lyric events of a MIDI file (its text events when it has none, as ".kar" files do),
// one word per event; "/" and "\" begin a line, as do line ends after an event.
SyncedLyrics fromMidi(const QByteArray& file);

}  // namespace filelyrics

}  // namespace marlo
