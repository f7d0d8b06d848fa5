#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "base/Settings.h"

namespace marlo {

// What readers get for a key the record does not have; a reader treats it as no value.
inline const QString kNotPresent = QStringLiteral("Nicht vorhanden");
inline bool isNotPresent(const QString& value) {
    return value == kNotPresent;
}

// One item of the library as its record in the store holds it.
struct MediaItem {
    MediaKind kind = MediaKind::Audio;
    QString title;
    QString path;
    QString artist;
    QString typeTag;  // "mp3", "mod" or empty

    bool operator==(const MediaItem&) const = default;
};

// The item record: exactly five lines, "[member]", "Liedbezeichnung=", "Pfad=", "Interpret=",
// "LiedType=", each ended by CR LF.
namespace ItemRecord {
QByteArray compose(const QString& memberName, const MediaItem& item);
// Reads the keys from the section named `memberName`; missing keys read as kNotPresent (the type
// tag as empty). Empty bytes (a missing record) give all defaults.
MediaItem read(const QByteArray& bytes, const QString& memberName, MediaKind kind);
}  // namespace ItemRecord

struct CdTrackInfo {
    QString title;
    QString artist;
    bool operator==(const CdTrackInfo&) const = default;
};

// The CD information record: "[disc id]", "Album=", then "Track n=" and "Interpret n=" per track.
struct CdInfo {
    bool known = false;  // the record has "Track 1"
    QString album;
    QList<CdTrackInfo> tracks;  // track n at index n - 1
};

namespace CdInfoRecord {
QByteArray compose(const QString& discId, const QString& album, const QList<CdTrackInfo>& tracks);
// Reads `trackCount` tracks (kNotPresent for missing keys) when "Track 1" is there; otherwise
// the CD is unknown and nothing else is read.
CdInfo read(const QByteArray& bytes, const QString& discId, int trackCount);
}  // namespace CdInfoRecord

}  // namespace marlo
