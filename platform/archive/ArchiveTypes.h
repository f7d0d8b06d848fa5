#pragma once

#include <QList>
#include <QString>

namespace marlo {

// One member of a user archive as its reader reports it, in archive order.
struct ArchiveMember {
    QString name;     // as stored, folder separators normalised to "/"
    qint64 size = 0;  // unpacked size in bytes
    bool isFolder = false;
    bool encrypted = false;
};

enum class ArchiveStatus {
    Ok,
    CannotOpen,    // missing file, not readable
    NotAnArchive,  // no archive signature
    Damaged,       // bad header or data, CRC mismatch, truncated
    Encrypted,     // the member needs a password
    Unsupported,   // a compression method or feature the reader does not have
    MemberNotFound,
    UnsafeName,  // a member name that would leave the target folder
    WriteFailed,
    MultiVolume,  // the member continues in another volume; only one volume was given
};

struct ArchiveListing {
    ArchiveStatus status = ArchiveStatus::Ok;
    QList<ArchiveMember> members;
    QString comment;  // archive comment, if any
};

struct ExtractResult {
    ArchiveStatus status = ArchiveStatus::Ok;
    QString writtenPath;  // full path of the file written, when status is Ok
};

}  // namespace marlo
