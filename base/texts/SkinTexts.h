#pragma once

#include "base/Catalogue.h"

// Texts of the skin register and loader, skin import and the skinned main window.
namespace marlo::texts {

// Shown when a skin cannot be laid onto the main window and another one is used instead.
inline constexpr MessagePair kSkinNotLoaded{
    {"Skin", "Skin"},
    {"The skin \"%1\" could not be loaded:\n%2\n\nThe skin \"%3\" is used instead.",
     "Der Skin \"%1\" konnte nicht geladen werden:\n%2\n\nStattdessen wird der Skin \"%3\" "
     "verwendet."}};

// Reasons a skin fails; %1.. are file, section, key and value.
inline constexpr TextPair kSkinPictureMissing{"The picture \"%1\" could not be loaded.",
                                              "Das Bild \"%1\" konnte nicht geladen werden."};
inline constexpr TextPair kSkinNotANumber{
    "In \"%1\", section [%2], the value \"%4\" of \"%3\" is not a number.",
    "In \"%1\", Abschnitt [%2], ist der Wert \"%4\" von \"%3\" keine Zahl."};
inline constexpr TextPair kSkinNotAColour{
    "In \"%1\", section [%2], the value \"%4\" of \"%3\" is not a colour (BBGGRR).",
    "In \"%1\", Abschnitt [%2], ist der Wert \"%4\" von \"%3\" keine Farbe (BBGGRR)."};
inline constexpr TextPair kSkinDesignMissing{"The design file \"%1\" cannot be read.",
                                             "Die Design-Datei \"%1\" kann nicht gelesen werden."};
inline constexpr TextPair kSkinNotRegistered{
    "The skin \"%1\" has no entry in \"Skins.ini\".",
    "Der Skin \"%1\" hat keinen Eintrag in \"Skins.ini\"."};

// Captions of the skin buttons on the plain surface, before a skin gives them pictures (or when
// no skin's pictures can be read). The buttons are small: the transport buttons and the window
// buttons show the signs players and windows use, the others a short word.
inline constexpr TextPair kButtonPlay = same("▶");
inline constexpr TextPair kButtonPause = same("❚❚");
inline constexpr TextPair kButtonStop = same("■");
inline constexpr TextPair kButtonNext = same("▶▶");
inline constexpr TextPair kButtonPrevious = same("◀◀");
inline constexpr TextPair kButtonOpen{"Open", "Öffnen"};
inline constexpr TextPair kButtonSetup{"Setup", "Optionen"};
inline constexpr TextPair kButtonMinimize = same("–");
inline constexpr TextPair kButtonClose = same("✕");

// Tooltips of the main window's buttons that the remote-control window lacks; the others share
// its tooltips.
inline constexpr TextPair kTipOpen{"Choose items from the archive",
                                   "Einträge aus dem Archiv wählen"};
inline constexpr TextPair kTipMinimize{"Minimize", "Minimieren"};
inline constexpr TextPair kTipClose{"Close", "Beenden"};

// Said once at start-up when not even the default skin's pictures can be read.
inline constexpr MessagePair kSkinPicturesMissing{
    {"Skin pictures missing", "Skin-Bilder fehlen"},
    {"These skin pictures could not be loaded:\n%1\n\nThe buttons are shown without pictures. "
     "Installing Marlo again brings the pictures back.",
     "Diese Skin-Bilder konnten nicht geladen werden:\n%1\n\nDie Knöpfe werden ohne Bilder "
     "gezeigt. Eine neue Installation von Marlo bringt die Bilder zurück."}};

// Said once when a skin is laid on without some of its button pictures, none loading whole.
inline constexpr MessagePair kSkinPicturesSpared{
    {"Skin pictures missing", "Skin-Bilder fehlen"},
    {"These skin pictures could not be loaded:\n%1\n\nTheir buttons are shown without pictures. "
     "Installing Marlo again brings the pictures back.",
     "Diese Skin-Bilder konnten nicht geladen werden:\n%1\n\nIhre Knöpfe werden ohne Bilder "
     "gezeigt. Eine neue Installation von Marlo bringt die Bilder zurück."}};

// Said once at start-up when the skin register cannot be read; %1 is its path, %2 the reason.
inline constexpr MessagePair kSkinRegisterUnreadable{
    {"Skins cannot be read", "Skins nicht lesbar"},
    {"The skin register \"%1\" cannot be read: %2.\n\nThe buttons are shown without pictures. "
     "Installing Marlo again brings the register back.",
     "Das Skin-Verzeichnis \"%1\" kann nicht gelesen werden: %2.\n\nDie Knöpfe werden ohne "
     "Bilder gezeigt. Eine neue Installation von Marlo bringt das Verzeichnis zurück."}};
inline constexpr TextPair kFileNotReadable{"reading it is not allowed",
                                           "es darf nicht gelesen werden"};
inline constexpr TextPair kFileNotAFile{"it is no file", "es ist keine Datei"};

// An import refused: the file is not a design file the skins can be read from.
inline constexpr MessagePair kDesignNotImported{
    {"Import", "Import"},
    {"\"%1\" was not imported: it holds no [General] section with a background \"Bitmap\".",
     "\"%1\" wurde nicht importiert: Die Datei enthält keinen Abschnitt [General] mit einem "
     "Hintergrund \"Bitmap\"."}};

}  // namespace marlo::texts
