#pragma once

#include <QByteArray>
#include <QString>

#include "platform/archive/ArchiveTypes.h"

namespace marlo {

// Reads ACE archives (format 1.0 and 2.0): lists members in archive order and extracts one
// member by exact name. No library on this platform reads ACE, so this is our own.
class AceReader {
  public:
    // Members in archive order; names with "/" as the folder separator.
    static ArchiveListing list(const QString& archivePath);

    // Unpacks the member whose (normalised) name equals `memberName` exactly, into memory.
    static ArchiveStatus read(const QString& archivePath, const QString& memberName,
                              QByteArray& content);

    // Unpacks the member into `folder`, keeping its folder part. Names that would leave the
    // folder are refused; nothing is left behind when unpacking fails.
    static ExtractResult extract(const QString& archivePath, const QString& memberName,
                                 const QString& folder);
};

}  // namespace marlo
