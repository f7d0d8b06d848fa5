#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace marlo {

// The lyrics a file's tag carries, read through TagLib: ID3v2 SYLT (timed) and USLT, Vorbis
// comments LYRICS and UNSYNCEDLYRICS, MP4 and APE lyrics. The album is read alongside, for
// asking a lyrics server.
struct TaggedLyrics {
    struct Timed {
        qint64 ms;
        QString text;
    };
    QList<Timed> timed;  // in the frame's order; MPEG frame stamps already converted
    QString text;
    QString album;
};

TaggedLyrics readTaggedLyrics(const QString& path);

}  // namespace marlo
