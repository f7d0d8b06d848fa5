#include "library/ArchiveMemberRef.h"

namespace marlo {

ArchiveKind archiveKindOf(const QString& path) {
    if (path.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive)) {
        return ArchiveKind::Zip;
    }
    if (path.endsWith(QLatin1String(".rar"), Qt::CaseInsensitive)) {
        return ArchiveKind::Rar;
    }
    if (path.endsWith(QLatin1String(".ace"), Qt::CaseInsensitive)) {
        return ArchiveKind::Ace;
    }
    return ArchiveKind::None;
}

std::optional<ArchiveMemberRef> splitMemberReference(const QString& reference) {
    const qsizetype first = reference.indexOf(QLatin1Char('|'));
    if (first < 0) {
        return std::nullopt;
    }
    for (qsizetype bar = first; bar >= 0; bar = reference.indexOf(QLatin1Char('|'), bar + 1)) {
        const QString archive = reference.left(bar);
        if (archiveKindOf(archive) != ArchiveKind::None) {
            return ArchiveMemberRef{archive, reference.mid(bar + 1)};
        }
    }
    return ArchiveMemberRef{reference.left(first), reference.mid(first + 1)};
}

}  // namespace marlo
