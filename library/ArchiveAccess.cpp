#include "library/ArchiveAccess.h"

#include <QStringListModel>

#include "base/Catalogue.h"
#include "base/texts/ArchiveTexts.h"
#include "base/texts/StartupTexts.h"
#include "platform/archive/AceReader.h"
#include "platform/archive/LibArchiveReader.h"

namespace marlo {

QStringList ArchiveAccess::zipChooserNames(const ArchiveListing& listing) {
    // Folder entries cannot be played or filed; every file counts, with or without extension.
    QStringList names;
    for (const ArchiveMember& member : listing.members) {
        if (!member.isFolder) {
            names.append(member.name);
        }
    }
    return names;
}

QStringList ArchiveAccess::namedChooserNames(const ArchiveListing& listing) {
    QStringList names;
    for (const ArchiveMember& member : listing.members) {
        if (!member.isFolder && member.name.contains(QLatin1Char('.'))) {
            names.append(member.name);
        }
    }
    return names;
}

ArchiveStatus ArchiveAccess::fillChooser(const ArchiveListing& listing, const QStringList& names,
                                         QStringListModel& chooserList) {
    chooserList.setStringList(names);
    if (!listing.comment.isEmpty()) {
        prompts_.inform(tr(texts::kProgramName), listing.comment, PromptIcon::None);
    }
    return listing.status;
}

ArchiveStatus ArchiveAccess::ListZip(const QString& archivePath, QStringListModel& chooserList) {
    const ArchiveListing listing = LibArchiveReader::list(archivePath);
    // Zip comments were never shown.
    chooserList.setStringList(zipChooserNames(listing));
    return listing.status;
}

ArchiveStatus ArchiveAccess::ListRar(const QString& archivePath, QStringListModel& chooserList) {
    const ArchiveListing listing = LibArchiveReader::list(archivePath);
    return fillChooser(listing, namedChooserNames(listing), chooserList);
}

ArchiveStatus ArchiveAccess::ListAce(const QString& archivePath, QStringListModel& chooserList) {
    const ArchiveListing listing = AceReader::list(archivePath);
    return fillChooser(listing, namedChooserNames(listing), chooserList);
}

ExtractResult ArchiveAccess::ExtractZipMember(const QString& member, const QString& archivePath,
                                              const QString& folder) {
    return reported(ArchiveKind::Zip, LibArchiveReader::extract(archivePath, member, folder),
                    member);
}

ExtractResult ArchiveAccess::ExtractRarMember(const QString& member, const QString& archivePath,
                                              const QString& folder) {
    return reported(ArchiveKind::Rar, LibArchiveReader::extract(archivePath, member, folder),
                    member);
}

ExtractResult ArchiveAccess::ExtractAceMember(const QString& member, const QString& archivePath,
                                              const QString& folder) {
    return reported(ArchiveKind::Ace, AceReader::extract(archivePath, member, folder), member);
}

ExtractResult ArchiveAccess::ExtractMember(const ArchiveMemberRef& reference, const QString& folder,
                                           bool showRefusals) {
    const QString& member = reference.memberName;
    const QString& archive = reference.archivePath;
    switch (const ArchiveKind kind = archiveKindOf(archive)) {
        case ArchiveKind::Zip:
        case ArchiveKind::Rar:
            return reported(kind, LibArchiveReader::extract(archive, member, folder), member,
                            showRefusals);
        case ArchiveKind::Ace:
            return reported(kind, AceReader::extract(archive, member, folder), member,
                            showRefusals);
        case ArchiveKind::None:
            break;
    }
    return {ArchiveStatus::MemberNotFound, {}};
}

bool ArchiveAccess::isRefusal(ArchiveStatus status) {
    return status == ArchiveStatus::UnsafeName || status == ArchiveStatus::Encrypted ||
           status == ArchiveStatus::MultiVolume;
}

ExtractResult ArchiveAccess::reported(ArchiveKind kind, const ExtractResult& result,
                                      const QString& member, bool showRefusals) {
    if (!showRefusals && isRefusal(result.status)) {
        return result;
    }
    if (const auto message = failureMessage(kind, result.status, member)) {
        prompts_.inform(message->title, message->text, message->icon);
    }
    return result;
}

int ArchiveAccess::failureCode(ArchiveKind kind, ArchiveStatus status) {
    const bool zip = kind == ArchiveKind::Zip;
    switch (status) {
        case ArchiveStatus::Damaged:
            return zip ? 2 : 12;
        case ArchiveStatus::NotAnArchive:
            return zip ? 3 : 13;
        case ArchiveStatus::Unsupported:
            return zip ? 81 : 14;
        case ArchiveStatus::CannotOpen:
            return zip ? 9 : 15;
        case ArchiveStatus::WriteFailed:
            return zip ? 50 : 19;
        case ArchiveStatus::MemberNotFound:
            return zip ? 11 : 0;
        case ArchiveStatus::Ok:
        case ArchiveStatus::Encrypted:
        case ArchiveStatus::UnsafeName:
        case ArchiveStatus::MultiVolume:
            break;
    }
    return 0;
}

std::optional<ArchiveAccess::Message> ArchiveAccess::failureMessage(ArchiveKind kind,
                                                                    ArchiveStatus status,
                                                                    const QString& member) {
    const auto own = [&member](const MessagePair& pair) {
        return Message{Catalogue::title(pair), Catalogue::body(pair).arg(member),
                       PromptIcon::Warning};
    };
    switch (status) {
        case ArchiveStatus::Ok:
            return std::nullopt;
        case ArchiveStatus::Encrypted:
            return own(texts::kMemberEncrypted);
        case ArchiveStatus::UnsafeName:
            return own(texts::kMemberUnsafe);
        case ArchiveStatus::MultiVolume:
            return own(texts::kMemberInOtherVolume);
        default:
            break;
    }
    const int code = failureCode(kind, status);
    const QString title = tr(texts::kProgramName);
    if (kind == ArchiveKind::Zip) {
        if (code == 0 || code == 9 || code == 11) {
            return std::nullopt;
        }
        return Message{title, tr(texts::kZipExtractError).arg(code)};
    }
    if (code == 0) {
        return std::nullopt;
    }
    if (kind == ArchiveKind::Rar && code == 12) {
        return Message{title, tr(texts::kRarBadData)};
    }
    return Message{title, tr(texts::kArchiveErrorCode).arg(code)};
}

}  // namespace marlo
