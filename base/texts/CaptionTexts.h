#pragma once

#include "base/Catalogue.h"

// Captions of the windows: each window is designed with the German caption and shows the
// English one after the caption switch. Captions of the archive chooser and the extensions
// window are with the archive texts.
namespace marlo::texts {

// Collection editor `Musikform`.
namespace musikform {
inline constexpr TextPair kTitle{"Choose items from the 'Audio/Video/Picture archive'",
                                 "Audio/Video/Picture Dateien aus dem Archiv wählen"};
inline constexpr TextPair kCommand3{"< Add", "< Einfügen"};
inline constexpr TextPair kCommand2{"< Add all", "< Alle einf."};
inline constexpr TextPair kBefehl4{"Edit", "Editieren"};
inline constexpr TextPair kBefehl3{"Delete", "Löschen"};
inline constexpr TextPair kBefehl6{"Add >", "Einfügen >"};
inline constexpr TextPair kBefehl7{"Add all >", "Alle einf. >"};
inline constexpr TextPair kBefehl5{"Random", "Zufall"};
inline constexpr TextPair kBefehl8{"New item", "Eintragen"};
inline constexpr TextPair kBefhel10{"Finish!", "Fertig!"};
inline constexpr TextPair kDelColl{"Delete", "Löschen"};
inline constexpr TextPair kBezeichnung1{"Aud/Vid/Pic archive:", "Aud/Vid/Pic Archiv:"};
inline constexpr TextPair kBezeichnung2{"Playback list:", "Auswahl / Abspielliste:"};
}  // namespace musikform

// Item editor `Editierform`.
namespace editierform {
inline constexpr TextPair kTitle{"Edit item", "Eintrag editieren"};
inline constexpr TextPair kBefehl1{"Save", "Speichern"};
inline constexpr TextPair kBefehl2{"Cancel", "Abbrechen"};
inline constexpr TextPair kBefehl4{"Next Track", "Nächster Track"};
inline constexpr TextPair kTitleLabel{"Title:", "Titel:"};
inline constexpr TextPair kArtistLabel{"Artist:", "Interpret(in):"};
inline constexpr TextPair kTimerLabel{"System timer:", "Systemtimer:"};
}  // namespace editierform

// Settings window `CFG`.
namespace cfg {
inline constexpr TextPair kTitle{"Settings", "Einstellungen"};
inline constexpr TextPair kFirstTab{"General", "Allgemein"};
inline constexpr TextPair kCheck1{"Play back modules through MCI device",
                                  "Modules über MCI (z.B. Mod4Win MCI) spielen"};
inline constexpr TextPair kCheck5{"Only use ActiveMovie",
                                  "Nur ActiveMovie als MCI-Device verwenden"};
inline constexpr TextPair kCheck3{"Doubled size", "Verdoppelte Größe"};
inline constexpr TextPair kCheck4{"User defined", "Benutzerdefiniert"};
inline constexpr TextPair kLabel1{"New zoom factor", "Neuer Zoomfaktor:"};
inline constexpr TextPair kLabel2{"Original size: 100", "(Originalgröße: 100)"};
inline constexpr TextPair kCheck9{"None", "Keines"};
inline constexpr TextPair kCheck10{"Low", "Schwach"};
inline constexpr TextPair kCheck11{"High", "Stark"};
inline constexpr TextPair kCheck14{"Minimize at startup", "Programm immer minimiert starten"};
inline constexpr TextPair kLabel3{"Idea and programming:", "Idee und Programmierung:"};
inline constexpr TextPair kLabel6{"Thanks to:", "Dank an:"};
inline constexpr TextPair kLabel8{"for the superb designs and their support",
                                  "für die beiden tollen Designs und Verbesserungsvorschläge"};
inline constexpr TextPair kLabel7{
    "Marlo is free software. Thanks to everyone who tried it, reported faults and drew skins.",
    "Marlo ist freie Software. Dank an alle, die es ausprobiert, Fehler gemeldet und Skins "
    "gezeichnet haben."};
inline constexpr TextPair kOpen{"Open", "Öffnen"};  // Command3..Command8, Command11
inline constexpr TextPair kCommand9{"Save", "Speichern"};
inline constexpr TextPair kCommand10{"Delete", "Löschen"};
}  // namespace cfg

// Remote-control window `Controller`.
namespace controller {
inline constexpr TextPair kLabel1{"Title:", "Titel:"};
}  // namespace controller

}  // namespace marlo::texts

// Tooltips of the collection editor's buttons and chooser: what each does, in the language of
// the captions.
namespace marlo::texts::musikformtips {
inline constexpr TextPair kBefehl9{"Switch to the next kind of media (F2 to F5 choose one)",
                                   "Zur nächsten Medienart wechseln (F2 bis F5 wählen eine)"};
inline constexpr TextPair kKombi1{
    "Choose a collection, or type a new name and press Enter to create it",
    "Kollektion wählen, oder einen neuen Namen eingeben und mit Enter anlegen"};
inline constexpr TextPair kDelColl{"Delete this collection", "Diese Kollektion löschen"};
inline constexpr TextPair kBefehl6{"Move the selected titles to the playback list",
                                   "Die gewählten Titel in die Abspielliste übernehmen"};
inline constexpr TextPair kBefehl7{"Move all titles to the playback list",
                                   "Alle Titel in die Abspielliste übernehmen"};
inline constexpr TextPair kCommand3{"Move the selected title back to the archive list",
                                    "Den gewählten Titel zurück in die Archivliste legen"};
inline constexpr TextPair kCommand2{"Move all titles back to the archive list",
                                    "Alle Titel zurück in die Archivliste legen"};
inline constexpr TextPair kBefehl5{"Move all titles to the playback list in random order",
                                   "Alle Titel in zufälliger Reihenfolge in die Abspielliste "
                                   "übernehmen"};
inline constexpr TextPair kBefehl8{"Add a new item to this collection",
                                   "Einen neuen Eintrag in diese Kollektion aufnehmen"};
inline constexpr TextPair kBefehl4{"Edit the selected item of the playback list",
                                   "Den gewählten Eintrag der Abspielliste bearbeiten"};
inline constexpr TextPair kBefehl3{"Delete the selected item of the playback list",
                                   "Den gewählten Eintrag der Abspielliste löschen"};
inline constexpr TextPair kBefhel10{"Hand the playback list to the player",
                                    "Die Abspielliste an den Player übergeben"};
}  // namespace marlo::texts::musikformtips
