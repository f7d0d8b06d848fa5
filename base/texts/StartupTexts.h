#pragma once

#include "base/Catalogue.h"

// Texts of start-up, shut-down, the main window and the language chooser.
namespace marlo::texts {

inline constexpr MessagePair kConfigDamaged{
    {"Error", "Fehler"},
    {"Configuration file damaged! New configuration file will be created.",
     "Achtung, Konfigurationsdatei beschädigt! Lege neue Datei an."}};

inline constexpr MessagePair kNewDatabase{
    {"New databank", "Neue Datenbank"},
    {"A new database will be created!", "Neue Datenbank wird erstellt!"}};

inline constexpr MessagePair kConfigWriteError{
    {"Error", "Fehler"},
    {"An error ocurred while writing the config file!",
     "Beim Schreiben der Konfigurationsdatei ist ein Fehler aufgetreten!"}};

// The desktop could not open the read-me the first start shows.
inline constexpr MessagePair kReadmeNotOpened{
    {"Read me", "Lies mich"},
    {"The read-me could not be opened. You find it here:\n%1",
     "Die Liesmich-Datei konnte nicht geöffnet werden. Sie liegt hier:\n%1"}};

inline constexpr TextPair kNoFileToPlay{"No file to play", "Kein Titel in der Abspielliste"};

inline constexpr TextPair kProgramName = same("Marlo");

// The language chooser shows both languages at once, whatever is set.
inline constexpr TextPair kChooserTitle = same("Wähle Sprache / Choose language");
inline constexpr TextPair kChooserGerman =
    same("Wählen Sie bitte die Sprache für das Programm aus");
inline constexpr TextPair kChooserEnglish = same("Please choose your language");
inline constexpr TextPair kChooserButtonGerman = same("Deutsch");
inline constexpr TextPair kChooserButtonEnglish = same("English");

// Follows every time shown as minutes and seconds.
inline constexpr TextPair kTimeSuffix{" min:sec", " Min:Sek"};

// Written by INI writes that fail; German in both languages.
inline constexpr TextPair kWriteError = same("Schreibfehler");
// The line below it: the file and the system's reason.
inline constexpr TextPair kWriteErrorDetail{"Could not write %1: %2",
                                            "%1 konnte nicht geschrieben werden: %2"};

}  // namespace marlo::texts
