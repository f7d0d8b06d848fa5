#pragma once

#include "base/Catalogue.h"

// Texts of the playback engine and the position display.
namespace marlo::texts {

inline constexpr TextPair kUnknownArtist{"Unknown", "Unbekannt"};
inline constexpr TextPair kUnknownLength{"? min:sec", "? Min:Sek"};
inline constexpr TextPair kDeviceNotReady{"ERROR: Device not ready",
                                          "FEHLER: Gerät belegt oder nicht verfügbar!"};
inline constexpr TextPair kFileNotFound{"ERROR: Couldn't find file!",
                                        "FEHLER: Konnte Datei nicht finden!"};
inline constexpr TextPair kFileFound{"File was found!", "Datei wurde gefunden!"};

// Modules through the module library; shown alike in both languages.
inline constexpr TextPair kModuleNotLoaded = same("Konnte Module nicht laden");
inline constexpr TextPair kPatterns = same(" Patterns");
inline constexpr TextPair kUnknownPatterns = same("? Patterns");
// "%1" is the song position plus 1, "%2" the row.
inline constexpr TextPair kModulePosition = same("Patt. %1 - Row %2");
// After a module stopped or was only loaded.
inline constexpr TextPair kModuleAtStart = same("Patt. 0 - Row 0");

// Pictures: "%1" the entry count, the index plus 1.
inline constexpr TextPair kPictureCount{"%1 Picture(s)", "%1 Bild(er)"};
inline constexpr TextPair kPictureNumber{"Pic # %1", "Bild # %1"};

// Shown when a list's kind has no player in this build yet, instead of pretending to play.
inline constexpr TextPair kCdUnavailable{"CD playback is not available in this version",
                                         "CD-Wiedergabe ist in dieser Version nicht verfügbar"};
inline constexpr TextPair kVideoUnavailable{
    "Video playback is not available in this version",
    "Video-Wiedergabe ist in dieser Version nicht verfügbar"};
inline constexpr TextPair kPictureUnavailable{
    "The picture viewer is not available in this version",
    "Die Bildanzeige ist in dieser Version nicht verfügbar"};

// The user zoom for videos; German in both languages.
inline constexpr TextPair kZoomTitle = same("Benutzerdefinierter Zoomfaktor");
inline constexpr TextPair kZoomPrompt =
    same("Geben Sie hier bitte den gewünschten Zoomfaktor für das Video ein:");

// The CD open step finds no disc (error 262) and asks whether to look again.
inline constexpr MessagePair kNoDiscRetry{
    {"Audio CD", "Audio-CD"},
    {"No audio CD was found in the drive. Insert one and try again?",
     "Im Laufwerk wurde keine Audio-CD gefunden. Legen Sie eine ein und erneut versuchen?"}};

}  // namespace marlo::texts
