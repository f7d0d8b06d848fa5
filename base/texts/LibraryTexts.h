#pragma once

#include "base/Catalogue.h"

// Texts of the library files, the item store and saving items.
namespace marlo::texts {

inline constexpr MessagePair kEnterTitle{{"Enter title!", "Titel eintragen!"},
                                         {"You haven't entered a title for the song or the video!",
                                          "Sie haben noch nicht den Titel eingetragen!"}};

inline constexpr MessagePair kFormatNotSupported{
    {"File format not supported!", "Dateiformat nicht unterstützt!"},
    {"The current collection doesn't support the type of file you want to add.",
     "Der von Ihnen ausgewählte Dateityp wird nicht in dieser Kollektion unterstützt.\n"
     "Ich bitte um Verständnis! Danke."}};

// A title names a store member and once named a file; these characters break one or the other
// (a "]" would end the record's section header early).
inline constexpr MessagePair kInvalidTitle{
    {"Invalid title", "Ungültiger Titel"},
    {"The title \"%1\" cannot be used. A title must not contain the characters "
     "/ \\ : * ? \" < > | ] or control characters, must not begin or end with a blank, "
     "and must not be \".\" or \"..\".",
     "Der Titel \"%1\" kann nicht verwendet werden. Ein Titel darf die Zeichen "
     "/ \\ : * ? \" < > | ] und Steuerzeichen nicht enthalten, nicht mit einem Leerzeichen "
     "beginnen oder enden und nicht \".\" oder \"..\" lauten."}};

inline constexpr MessagePair kStoreDamaged{
    {"Database damaged", "Datenbank beschädigt"},
    {"The database \"Marlo.zip\" could not be read. It has been kept as\n%1\n"
     "and a new, empty database is used.",
     "Die Datenbank \"Marlo.zip\" konnte nicht gelesen werden. Sie wurde als\n%1\n"
     "aufbewahrt, und eine neue, leere Datenbank wird verwendet."}};

inline constexpr MessagePair kStoreUnusable{
    {"Database not available", "Datenbank nicht verfügbar"},
    {"The database\n%1\ncannot be opened. It is left as it is; changes to the library "
     "cannot be saved.",
     "Die Datenbank\n%1\nkann nicht geöffnet werden. Sie bleibt unverändert; Änderungen an "
     "der Bibliothek können nicht gespeichert werden."}};

// The damaged store was kept and what was still whole in it went into the new one. %2 records
// were saved; %3 are lost: those found damaged and those the collections list but no longer find.
inline constexpr MessagePair kStoreSalvaged{
    {"Database damaged", "Datenbank beschädigt"},
    {"The database \"Marlo.zip\" could not be read. It has been kept as\n%1\n"
     "%2 records could be saved into a new database; %3 records are lost.",
     "Die Datenbank \"Marlo.zip\" konnte nicht gelesen werden. Sie wurde als\n%1\n"
     "aufbewahrt. %2 Einträge konnten in eine neue Datenbank übernommen werden; %3 Einträge "
     "sind verloren."}};

// A member of the store exists but cannot be unpacked; the same text in both languages.
inline constexpr TextPair kStoreReadError = same("Error %1 while reading or extrating Zip");

}  // namespace marlo::texts
