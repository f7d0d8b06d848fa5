#include "platform/archive/AceReader.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/Files.h"
#include "platform/archive/ace/AceCatalog.h"
#include "platform/archive/ace/AceCrc.h"
#include "platform/archive/ace/AceFailure.h"
#include "platform/archive/ace/AceMemberDecoder.h"

namespace marlo {

namespace {

using ace::AceCatalog;
using ace::AceEntry;

// Members are unpacked into memory; beyond this we refuse rather than exhaust it.
constexpr qint64 kMaxMemberSize = qint64(1) << 30;

// Checks that unpacking `entry` can start; Ok or the status to report.
ArchiveStatus readiness(const AceEntry& entry) {
    if (entry.member.encrypted) {
        return ArchiveStatus::Encrypted;
    }
    if (entry.inMissingVolume) {
        return ArchiveStatus::CannotOpen;
    }
    if (entry.member.size > kMaxMemberSize) {
        return ArchiveStatus::Unsupported;
    }
    if (entry.method > 2) {
        return ArchiveStatus::Unsupported;
    }
    return ArchiveStatus::Ok;
}

bool hasContent(const AceEntry& entry) {
    return !entry.member.isFolder && entry.member.size > 0;
}

ArchiveStatus unpack(const AceCatalog& catalog, size_t index, QByteArray& content) {
    const AceEntry& target = catalog.entries[index];
    // A solid archive's members share one dictionary: the ones before must be unpacked too.
    const size_t first = catalog.solid ? 0 : index;
    try {
        ace::MemberDecoder decoder;
        QByteArray scratch;
        for (size_t i = first; i <= index; ++i) {
            const AceEntry& entry = catalog.entries[i];
            if (!hasContent(entry)) {
                continue;
            }
            const ArchiveStatus ready = readiness(entry);
            if (ready != ArchiveStatus::Ok) {
                return ready;
            }
            QByteArray& out = i == index ? content : scratch;
            decoder.decode(entry.method, entry.segments, entry.member.size, out);
        }
    } catch (const ace::AceFailure& failure) {
        content.clear();
        return failure.status;
    } catch (const std::bad_alloc&) {
        content.clear();
        return ArchiveStatus::Unsupported;
    }
    if (!hasContent(target)) {
        content.clear();
        return ArchiveStatus::Ok;
    }
    if (ace::crc32(content) != target.crc) {
        content.clear();
        return ArchiveStatus::Damaged;
    }
    return ArchiveStatus::Ok;
}

// The folder-relative path for a member name, or an empty string when the name would reach
// outside the folder: absolute paths, drive letters, "..".
QString safeRelativePath(const QString& name) {
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')) ||
        drive.match(name).hasMatch()) {
        return {};
    }
    QStringList parts;
    for (const QString& part : name.split(QRegularExpression(QStringLiteral("[/\\\\]")))) {
        if (part == QStringLiteral("..")) {
            return {};
        }
        if (!part.isEmpty() && part != QStringLiteral(".")) {
            parts.append(part);
        }
    }
    return parts.join(QLatin1Char('/'));
}

bool isInside(const QString& path, const QString& folder) {
    const QString root = QDir(folder).canonicalPath();
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return !root.isEmpty() && !canonical.isEmpty() &&
           (canonical == root || canonical.startsWith(root + QLatin1Char('/')));
}

// The folders mkpath(path) would create, deepest first.
QStringList missingFolders(const QString& path) {
    QStringList missing;
    for (QString folder = QDir::cleanPath(path); !QFileInfo::exists(folder);) {
        missing.append(folder);
        const QString up = QFileInfo(folder).path();
        if (up == folder) {
            break;
        }
        folder = up;
    }
    return missing;
}

// Undoes the folders a failed extraction created; ones that gained content stay.
void removeFolders(const QStringList& deepestFirst) {
    for (const QString& folder : deepestFirst) {
        QDir().rmdir(folder);
    }
}

}  // namespace

ArchiveListing AceReader::list(const QString& archivePath) {
    const AceCatalog catalog = ace::readCatalog(archivePath);
    ArchiveListing listing;
    listing.status = catalog.status;
    listing.comment = catalog.comment;
    for (const AceEntry& entry : catalog.entries) {
        listing.members.append(entry.member);
    }
    return listing;
}

ArchiveStatus AceReader::read(const QString& archivePath, const QString& memberName,
                              QByteArray& content) {
    content.clear();
    const AceCatalog catalog = ace::readCatalog(archivePath);
    if (catalog.status == ArchiveStatus::CannotOpen ||
        catalog.status == ArchiveStatus::NotAnArchive) {
        return catalog.status;
    }
    for (size_t i = 0; i < catalog.entries.size(); ++i) {
        if (catalog.entries[i].member.name == memberName) {
            return unpack(catalog, i, content);
        }
    }
    // Past damage in the headers we cannot tell whether the member was there.
    return catalog.status == ArchiveStatus::Damaged ? ArchiveStatus::Damaged
                                                    : ArchiveStatus::MemberNotFound;
}

ExtractResult AceReader::extract(const QString& archivePath, const QString& memberName,
                                 const QString& folder) {
    ExtractResult result;
    const QString relative = safeRelativePath(memberName);
    if (relative.isEmpty()) {
        result.status = ArchiveStatus::UnsafeName;
        return result;
    }
    const ArchiveListing listing = list(archivePath);
    bool isFolder = false;
    for (const ArchiveMember& member : listing.members) {
        if (member.name == memberName) {
            isFolder = member.isFolder;
            break;
        }
    }
    QByteArray content;
    result.status = read(archivePath, memberName, content);
    if (result.status != ArchiveStatus::Ok) {
        return result;
    }
    const QString target = QDir(folder).absoluteFilePath(relative);
    const QString parent = isFolder ? target : QFileInfo(target).absolutePath();
    const QStringList created = missingFolders(parent);
    // A folder inside that is a link to elsewhere would carry the write outside.
    if (!QDir().mkpath(parent) || !isInside(parent, folder)) {
        result.status =
            isInside(folder, folder) ? ArchiveStatus::UnsafeName : ArchiveStatus::WriteFailed;
        removeFolders(created);
        return result;
    }
    if (!isFolder && !writeFileAtomically(target, content)) {
        result.status = ArchiveStatus::WriteFailed;
        removeFolders(created);
        return result;
    }
    result.writtenPath = target;
    return result;
}

}  // namespace marlo
