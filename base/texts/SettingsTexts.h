#pragma once

#include "base/Catalogue.h"

// Texts of the settings window `CFG` that the caption switch does not touch, its skin editor's
// messages and the popup menu. The switched captions are with the other window captions.
namespace marlo::texts {

inline constexpr MessagePair kOverwriteSkin{
    {"Overwrite skin setup?", "Skinsetup überschreiben?"},
    {"Do you really want to overwrite the skin setup \"%1\"?",
     "Sind Sie sicher, daß Sie das Skinsetup \"%1\" überschreiben wollen?"}};
// Shown in German in both languages.
inline constexpr MessagePair kStandardNotDeletable{
    same("Standard löschen"), same("Skinsetup \"Standard\" darf nicht gelöscht werden!")};
inline constexpr MessagePair kDeleteSkin{
    same("Delete skin setup?"),
    {"Are you sure that you want to delete the skin file named \"%1\"?",
     "Sind Sie sicher, daß sie das Skin file \"%1\" löchen wollen?"}};
// A name the register or the list file could not keep as it is.
inline constexpr MessagePair kBadSkinName{
    {"Skin name", "Skinname"},
    {"The skin name \"%1\" cannot be used: it must not contain \"]\" or a line break, nor begin "
     "or end with a blank.",
     "Der Skinname \"%1\" ist nicht möglich: er darf kein \"]\" und keinen Zeilenumbruch "
     "enthalten und nicht mit einem Leerzeichen beginnen oder enden."}};
inline constexpr TextPair kSkinFileBroken{
    "\"%1\" could not be read; nothing was changed.",
    "\"%1\" konnte nicht gelesen werden; es wurde nichts geändert."};
inline constexpr TextPair kNotADesign{
    "\"%1\" is not a design file (*.design); nothing was imported.",
    "\"%1\" ist keine Design-Datei (*.design); es wurde nichts importiert."};

// Opener dialog titles of the seven picture slots (the same in both languages).
inline constexpr TextPair kOpenerTitles[] = {
    same("Player Background"),          same("Task Background"),      same("Play Button"),
    same("Stop/Pause Button"),          same("Previous/Next Button"), same("Open Button"),
    same("Close/Minimize/Setup Button")};

namespace cfg {
inline constexpr TextPair kTabVideo = same("Video");
inline constexpr TextPair kTabSkins = same("Skins");
inline constexpr TextPair kTabModPics = same("Mod | Pics");
inline constexpr TextPair kTabCredits = same("Credits");
inline constexpr TextPair kCommand1 = same("Okay");
inline constexpr TextPair kCommand2 = same("Abbruch");
inline constexpr TextPair kCommand13 = same("Import");
inline constexpr TextPair kCommand12 = same("Color");
inline constexpr TextPair kCheck2 = same("Fullscreen");
inline constexpr TextPair kCheck6 = same("Repeat all");
inline constexpr TextPair kCheck7 = same("Repeat one");
inline constexpr TextPair kCheck8 = same("Aspect Ratio");
inline constexpr TextPair kCheck12 = same("Auto");
inline constexpr TextPair kCheck13 = same("Autoplay");
inline constexpr TextPair kCheck15 = same("Position Bar");
inline constexpr TextPair kCheck16 = same("Pause");
inline constexpr TextPair kCheck17 = same("Fullscreen");
inline constexpr TextPair kCheck18 = same("Zoomfaktor");
inline constexpr TextPair kPictureZoomHint = same("(Originalgröße: 100)");
inline constexpr TextPair kPauseUnit = same("Sekunde(n)");
inline constexpr TextPair kFilterFrame = same("Mod - Filter");
inline constexpr TextPair kPictureFrame = same("Picture Settings");
inline constexpr TextPair kButtonsFrame = same("Buttons:");
inline constexpr TextPair kBackgroundFrame = same("Background:");
inline constexpr TextPair kPreviewPlay = same("Play:");
inline constexpr TextPair kPreviewStop = same("Stop/Pause:");
inline constexpr TextPair kPreviewSeek = same("Prev./Next:");
inline constexpr TextPair kPreviewOpen = same("Open:");
inline constexpr TextPair kPreviewFunctions = same("Close/Min/Setup");
inline constexpr TextPair kVersion = same("Version %1");
inline constexpr TextPair kAuthor = same("The Marlo developers");
inline constexpr TextPair kDesigners = same("Vantel, Corro");
}  // namespace cfg

// The popup menu `m_pop`; its captions are the same in both languages.
namespace popup {
inline constexpr TextPair kTitle = same("Popup Form");
inline constexpr TextPair kMenu = same("Popupmenu");
inline constexpr TextPair kOpen = same("Open");
inline constexpr TextPair kSetup = same("Setup");
inline constexpr TextPair kDisplayLyrics = same("Display Lyrics");
inline constexpr TextPair kExit = same("Exit");
}  // namespace popup

}  // namespace marlo::texts
