#pragma once

#include "base/Catalogue.h"

// Messages and results of the CD database client. They exist in English only and are shown so in
// both languages; the spelling of the timeout messages is the one users of such clients know.
namespace marlo::texts::cd {

inline constexpr TextPair kControlErrorTitle = same("Cddb Control Error");
inline constexpr TextPair kControlSource = same("Cddb Control");
inline constexpr TextPair kUnableToOpen = same("Unable to open device");
inline constexpr TextPair kNoAudioCd = same("No Audio CD found");
inline constexpr TextPair kLookupRunning = same("A CD database lookup is already running");
inline constexpr TextPair kNoSpaces = same("No spaces allowed in %1");

inline constexpr TextPair kTimedOutConnect = same("Timed out waiting to connect");
inline constexpr TextPair kNeedEmail = same("Need an email address");
inline constexpr TextPair kNeedHostName = same("Need a HostName");
inline constexpr TextPair kTimedOutHello = same("Timed out waiting for hello responce");
inline constexpr TextPair kTimedOutQuery = same("Timed out waiting for query responce");
inline constexpr TextPair kTimedOutRead = same("Timed out waiting for read responce");
inline constexpr TextPair kNoExactMatch = same("202 No exact match");
inline constexpr TextPair kEntryCorrupt = same("403 Database entry Is corrupt");
inline constexpr TextPair kNoHandshake = same("409 No handshake");

inline constexpr TextPair kFailureToConnect = same("000 Failure to Connect");
inline constexpr TextPair kHandshakeFailed =
    same("431 Handshake not successful, closing connection");
inline constexpr TextPair kReadTimeout = same("600 Timeout");
inline constexpr TextPair kMotdError = same("Error");
inline constexpr TextPair kConnecting = same("Connecting to: %1 Port: %2\r\n");
inline constexpr TextPair kTimeoutNotice = same("Timeout");

inline constexpr TextPair kSubmitError = same("Error: %1");
inline constexpr TextPair kInvalidDataRev = same("Invalid DataRev number: %1");
inline constexpr TextPair kMissingAppName = same("Missing AppName");
inline constexpr TextPair kMissingRevision = same("Missing Revision");
inline constexpr TextPair kMissingTitle = same("Missing Title");
inline constexpr TextPair kMissingSong = same("Missing song name on song: %1");

// The match chooser `frmMatches`.
inline constexpr TextPair kMatchesCaption = same("Select From Close Matches");
inline constexpr TextPair kSelect = same("Select");

}  // namespace marlo::texts::cd
