#include "platform/archive/AceReader.h"

#include "platform/archive/MemberFileWriter.h"
#include "platform/archive/MemberPath.h"
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
    if (!isSafeMemberName(memberName)) {
        result.status = ArchiveStatus::UnsafeName;
        return result;
    }
    bool isFolder = false;
    for (const ArchiveMember& member : list(archivePath).members) {
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
    MemberFileWriter writer;
    result.status = writer.begin(folder, memberName, isFolder);
    if (result.status != ArchiveStatus::Ok) {
        return result;
    }
    if (!isFolder && !writer.write(content.constData(), content.size())) {
        writer.discard();
        result.status = ArchiveStatus::WriteFailed;
        return result;
    }
    result.status = writer.commit();
    if (result.status == ArchiveStatus::Ok) {
        result.writtenPath = writer.targetPath();
    }
    return result;
}

}  // namespace marlo
