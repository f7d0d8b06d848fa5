#pragma once

#include <QByteArray>
#include <QString>

#include "platform/archive/ArchiveTypes.h"

namespace marlo {

// Reads zip and rar (RAR4 and RAR5) archives through libarchive: lists members in archive
// order and reads or extracts one member by exact, case-sensitive name. Names are decoded as
// UTF-8, falling back to Windows-1252, with "\" turned into "/"; list, read and extract all
// decode the same way, so a listed name always finds its member.
class LibArchiveReader {
  public:
    // All members in archive order. On a broken archive the status says why and the members
    // read before the break are kept. Archive comments are not available through libarchive.
    static ArchiveListing list(const QString& archivePath);

    // The whole member in memory. The first member of that name counts when names repeat.
    // A folder member reads as empty; a link member is refused (UnsafeName). A name that would
    // leave a folder reads normally, since reading writes nothing.
    static ArchiveStatus read(const QString& archivePath, const QString& memberName,
                              QByteArray& content);

    // Writes the member below `folder`, keeping its folder part. Links and names that would
    // leave the folder are refused (UnsafeName); nothing is left behind when it fails; an
    // existing file of that name is replaced.
    static ExtractResult extract(const QString& archivePath, const QString& memberName,
                                 const QString& folder);

    // Largest member `read` holds in memory; larger ones give Unsupported.
    static constexpr qint64 kMaxInMemory = qint64(1) << 30;
};

}  // namespace marlo
