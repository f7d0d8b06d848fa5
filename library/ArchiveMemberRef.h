#pragma once

#include <QString>
#include <optional>

namespace marlo {

enum class ArchiveKind { None, Zip, Rar, Ace };

// The kind of archive a path names by its extension, without regard to case.
ArchiveKind archiveKindOf(const QString& path);

// A media file inside an archive, written in the library as archive path + "|" + member name.
struct ArchiveMemberRef {
    QString archivePath;
    QString memberName;

    QString joined() const { return archivePath + QLatin1Char('|') + memberName; }
};

// Splits a reference at the first "|" that directly follows ".zip", ".rar" or ".ace" (any
// case), so folders and archive names may themselves contain "|". Without such a "|" the text
// splits at its first "|". nullopt when the text holds no "|" (a plain file path).
std::optional<ArchiveMemberRef> splitMemberReference(const QString& reference);

}  // namespace marlo
