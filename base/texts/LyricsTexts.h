#pragma once

#include "base/Catalogue.h"

// Texts of the lyrics client and its windows. The client's notices and result texts exist in
// English only: callers compare the result texts, and the server log shows them as they are.
namespace marlo::texts::lyrics {

// Result texts of a fetch, returned in place of lyrics.
inline constexpr TextPair kArtistBlank = same("Artist Property is blank");
inline constexpr TextPair kAlbumBlank = same("Album Property is blank");
inline constexpr TextPair kNoSongs = same("No Songs Found!");
inline constexpr TextPair kNoId = same("Error Getting ID");
// A failed transfer ends the fetch with one of these, never with the cut of an error page.
inline constexpr TextPair kTransferFailed = same("Lyrics transfer failed: %1");
inline constexpr TextPair kBusy = same("A lyrics fetch is already running");

// Reasons filled into kTransferFailed.
inline constexpr TextPair kReasonHttp = same("the server answered HTTP %1");
inline constexpr TextPair kReasonTimeout = same("no complete answer within %1 s");
inline constexpr TextPair kReasonTooLarge = same("the page is larger than %1 MiB");
inline constexpr TextPair kReasonNoTls = same(
    "TLS is not available (Qt found no TLS backend or OpenSSL library), so %1 cannot be "
    "reached over https");
inline constexpr TextPair kReasonNetwork = same("%1");
inline constexpr TextPair kReasonBadServer =
    same("\"%1\" is neither a host name (host or host:port) nor an http:// or https:// address");
inline constexpr TextPair kReasonBadJson = same("the server's answer is not readable JSON");

// Progress notices.
inline constexpr TextPair kGet = same("Get: %1");
inline constexpr TextPair kSongsFound = same("%1 songs found");
inline constexpr TextPair kDone = same("Done");

// Transfer states 0 to 12.
inline constexpr TextPair kStates[] = {
    same("No state to report."), same("Looking up address"),      same("IP\u00a0address found"),
    same("Connecting"),          same("Connection successful"),   same("Sending request"),
    same("Request Sent"),        same("Receiving response"),      same("Received response"),
    same("Disconnecting"),       same("Disconnected successful"), same("Communications error"),
    same("Request completed"),
};

// The song chooser and the lyrics window.
inline constexpr TextPair kSelectCaption = same("Select Song");
inline constexpr TextPair kSelectButton = same("Select");
inline constexpr TextPair kDisplayCaption = same("Lyrics Displayer");
inline constexpr TextPair kDisplayCaptionSong = same("Lyrics Displayer - %1");

}  // namespace marlo::texts::lyrics

namespace marlo::texts::lyrics {

// Shown when a CD track's album entry or lyrics are missing or empty.
inline constexpr MessagePair kNoLyricsMessage{
    {"No Lyrics or Album entry", "Keine Lyrics or Album"},
    {"Lyrics or Album entry can't be found! Please reenter this CD.",
     "Keine Lyrics oder Album gefunden! Tragen Sie die CD bitte noch einmal ein."}};

}  // namespace marlo::texts::lyrics

namespace marlo::texts::lyrics {

// The lyrics window's own words for an audio item without lyrics, while they are looked for,
// and for a module, which has no lyrics.
inline constexpr TextPair kNoSongLyrics{
    "No lyrics were found for this song: none are stored for it, none lie beside its file or in "
    "its tags, and the lyrics server has none.",
    "Für dieses Lied wurden keine Liedtexte gefunden: Weder ist einer für das Lied gespeichert, "
    "noch liegt einer neben seiner Datei oder in seinen Tags, und auch der Liedtext-Server hat "
    "keinen."};
inline constexpr TextPair kSearchingSongLyrics{"Looking for the lyrics of this song …",
                                               "Der Liedtext dieses Liedes wird gesucht …"};
inline constexpr TextPair kModuleNoLyrics{"Tracker modules have no lyrics.",
                                          "Tracker-Module haben keine Liedtexte."};

}  // namespace marlo::texts::lyrics
