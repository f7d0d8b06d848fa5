#pragma once

#include "base/Catalogue.h"

// Texts of archive access: extraction failures, the archive chooser and the extensions window.
namespace marlo::texts {

// Extraction failures. The zip and rar/ace texts are kept as users of the old program know
// them, in both languages alike; "%1" is a number saying what failed.
inline constexpr TextPair kZipExtractError = same("Error %1 while reading or extrating Zip");
inline constexpr TextPair kRarBadData = same("Bad Data");
inline constexpr TextPair kArchiveErrorCode = same("Fehler %1");

// Failures with a message of their own; "%1" is the member name.
inline constexpr MessagePair kMemberEncrypted{
    {"Encrypted file", "Verschlüsselte Datei"},
    {"\"%1\" is protected by a password and cannot be extracted.",
     "„%1“ ist durch ein Passwort geschützt und kann nicht entpackt werden."}};

inline constexpr MessagePair kMemberUnsafe{
    {"Unsafe file name", "Unsicherer Dateiname"},
    {"\"%1\" was not extracted: its name points outside the target folder or it is a link.",
     "„%1“ wurde nicht entpackt: Der Name zeigt aus dem Zielordner hinaus, oder es ist eine "
     "Verknüpfung."}};

inline constexpr MessagePair kMemberInOtherVolume{
    {"Multi-volume archive", "Mehrteiliges Archiv"},
    {"\"%1\" continues in another part of a multi-volume archive. Such archives cannot be read.",
     "„%1“ wird in einem weiteren Teil eines mehrteiligen Archivs fortgesetzt. Solche Archive "
     "können nicht gelesen werden."}};

// A member refused while the player starts it, in the title label; "%1" is the title of the
// refusal's message (the message itself is the label's tooltip).
inline constexpr TextPair kMemberRefused{"ERROR: %1", "FEHLER: %1"};

// Archive chooser `ZipListe`.
namespace zipliste {
inline constexpr TextPair kTitle{"Contents of the archive", "Inhalt des Archives"};
inline constexpr TextPair kLabel1{"Choose one compressed file",
                                  "Die zu entpackende Datei anclicken"};
}  // namespace zipliste

// Extensions window `Extensions`.
namespace extensions {
inline constexpr TextPair kTitle = same("Extensions");
inline constexpr TextPair kLabel1{"Select Extensions for search",
                                  "Nach diesen Dateitypen wird gesucht"};
inline constexpr TextPair kCommand1 = same("Okay");
}  // namespace extensions

}  // namespace marlo::texts
