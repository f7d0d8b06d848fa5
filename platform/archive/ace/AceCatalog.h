#pragma once

#include <QList>
#include <QString>
#include <vector>

#include "platform/archive/ArchiveTypes.h"
#include "platform/archive/ace/AcePackedSource.h"

namespace marlo::ace {

// One member with what unpacking it needs; a member spread over volumes has one segment each.
struct AceEntry {
    ArchiveMember member;
    quint8 method = 0;
    quint32 crc = 0;  // of the last segment's header, which covers the whole member
    QList<AceSegment> segments;
    bool inMissingVolume = false;  // continues in a volume that is not there
    bool continues = false;        // its last segment said "continued in the next volume"
};

// Everything the headers of an archive (and the volumes after it) say. When `status` is
// Damaged, `entries` holds the members read before the damage.
struct AceCatalog {
    ArchiveStatus status = ArchiveStatus::Ok;
    bool solid = false;
    QString comment;
    std::vector<AceEntry> entries;
};

AceCatalog readCatalog(const QString& path);

// The name the volume after `path` would have: x.ace -> x.c00, x.c00 -> x.c01, in the case the
// volume files use.
QString nextVolumeName(const QString& path);

}  // namespace marlo::ace
