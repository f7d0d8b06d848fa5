#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "library/ArchiveMemberRef.h"
#include "platform/Prompts.h"
#include "platform/archive/ArchiveTypes.h"

class QStringListModel;

namespace marlo {

// The archive operations of the library: list an archive's members into the archive chooser
// and extract one member by exact name, telling the user through `Prompts` what failed.
class ArchiveAccess {
  public:
    explicit ArchiveAccess(Prompts& prompts) : prompts_(prompts) {}

    // Replace the chooser's list with the archive's members (a list never keeps the names of a
    // previous archive). Zip: every member but folder entries. Rar and ace: only names
    // containing a "." (folders and names without an extension are left out). Listing reports
    // no errors, only an archive comment; the status is returned for callers that care.
    ArchiveStatus ListZip(const QString& archivePath, QStringListModel& chooserList);
    ArchiveStatus ListRar(const QString& archivePath, QStringListModel& chooserList);
    ArchiveStatus ListAce(const QString& archivePath, QStringListModel& chooserList);

    // Extract `member` into `folder`, keeping its folder part; failures are shown (see
    // failureText) and returned.
    ExtractResult ExtractZipMember(const QString& member, const QString& archivePath,
                                   const QString& folder);
    ExtractResult ExtractRarMember(const QString& member, const QString& archivePath,
                                   const QString& folder);
    ExtractResult ExtractAceMember(const QString& member, const QString& archivePath,
                                   const QString& folder);
    // Chooses the operation by the archive's extension; MemberNotFound (nothing shown) for a
    // path that names no zip, rar or ace archive. With `showRefusals` false a member refused for
    // a reason of its own (isRefusal) is only returned: the player shows it without a box, as
    // an unattended list must not wait for a click.
    ExtractResult ExtractMember(const ArchiveMemberRef& reference, const QString& folder,
                                bool showRefusals = true);
    // An unsafe name, an encrypted member, a member continued in another volume: failures with
    // a message of their own rather than an error number of the archive tools.
    static bool isRefusal(ArchiveStatus status);

    // The names the chooser offers from a listing.
    static QStringList zipChooserNames(const ArchiveListing& listing);
    static QStringList namedChooserNames(const ArchiveListing& listing);

    // The number a failure is reported with: the zip codes are those of the unzip tool (2 error
    // in the archive, 3 severe format error: no zip archive, 9 archive not found, 11 no such
    // member, 50 write failed, 81 unsupported method), the rar and ace codes those of the rar
    // library (12 bad data, 13 bad archive, 14 unknown format, 15 cannot open, 19 write failed). 0
    // for success and for failures that have a message of their own.
    static int failureCode(ArchiveKind kind, ArchiveStatus status);

    // Title, text and icon of the message for a failed extraction; nullopt when nothing is
    // shown: on success, and for the failures the program always took quietly (the zip codes 9,
    // no archive, and 11, no such member; a rar or ace member that is not there).
    struct Message {
        QString title;
        QString text;
        PromptIcon icon = PromptIcon::None;
    };
    static std::optional<Message> failureMessage(ArchiveKind kind, ArchiveStatus status,
                                                 const QString& member);

  private:
    ArchiveStatus fillChooser(const ArchiveListing& listing, const QStringList& names,
                              QStringListModel& chooserList);
    ExtractResult reported(ArchiveKind kind, const ExtractResult& result, const QString& member,
                           bool showRefusals = true);

    Prompts& prompts_;
};

}  // namespace marlo
