#pragma once

#include "base/Catalogue.h"

// Texts of adding files: folder and archive adds, drops, and the item editor's actions.
namespace marlo::texts {

inline constexpr MessagePair kFolderRefused{
    {"Warning", "Warnung"},
    {"Directories can't be entered into the database!",
     "Verzeichnisse können nicht in die Datenbank aufgenommen werden!"}};

inline constexpr MessagePair kDropNotSupported{
    {"Drag & Drop", "Drag & Drop"}, {"Filetype not supported!", "Format wird nicht unterstützt"}};

inline constexpr MessagePair kAddSubfolders{
    {"Add Subdirs?", "SubDirs eintragen?"},
    {"Du you want to automatically add the subdirs?",
     "Möchten Sie auch die Unterverzeichnisse automatisch eintragen?"}};

inline constexpr MessagePair kAddAllMembers{
    {"Add all?", "Alle eintragen?"},
    {"Do want to add all files in the archive into the database?",
     "Sollen alle im Archiv vorhandenen Dateien automatisch eingetragen werden?"}};

inline constexpr MessagePair kAddAllDropped{
    {"Create new item(s)", "Neue Einträge"},
    {"Automatically add all dropped files?", "Sollen die Einträge automatisch erfolgen?"}};

// The folder browser's prompt exists in German only.
inline constexpr TextPair kChooseFolder = same("Bestimmen Sie nun das Verzeichnis:");

// An archive that cannot be listed would otherwise open an empty chooser without a word.
inline constexpr MessagePair kArchiveUnreadable{
    {"Archive", "Archiv"},
    {"The archive \"%1\" cannot be read or holds no files.",
     "Das Archiv \"%1\" kann nicht gelesen werden oder enthält keine Dateien."}};

// Item editor `Editierform`: the action chooser, the file dialog and the progress of long adds.
namespace editierform {
inline constexpr TextPair kAddFile{"Add file", "Suche Datei"};
inline constexpr TextPair kAddDir{"Add Dir", "Suche Dir"};
inline constexpr TextPair kExtensions = same("Extensions");
inline constexpr TextPair kChooseFile{"Choose multimedia file", "Multimedia File aussuchen"};
inline constexpr TextPair kAlbumLabel = same("Album:");
inline constexpr TextPair kCddbServerLabel = same("CDDB Server:");
inline constexpr TextPair kLyricsServerLabel = same("Lyriscs Server:");
inline constexpr TextPair kLyrics = same("Lyrics");
inline constexpr TextPair kProgress{"%1 files added", "%1 Dateien eingetragen"};

// File dialog filters, in the "name|patterns|" form; the item editor turns them into Qt's.
inline constexpr TextPair kFilterAllVideo = same(
    "All supported file types|*.avi;*.rm;*.mov;*.fli;*.flc;*.aas;*.mpg;*.mpeg;*.mp4;*.m4v;*.mkv;"
    "*.webm;*.ogv;*.wmv;*.flv;*.3gp;*.zip;*.rar;*.ace|"
    "Video for Windows (*.avi)|*.avi|Real Video (*.rm)|*.rm|Quicktime Movies (*.mov)|*.mov|"
    "Animation (*.fli;*.flc;*.aas)|*.fli; *.flc; *.aas|Mpeg Video (*.mpg)|*.mpg|"
    "MPEG-4, Matroska, WebM (*.mp4;*.m4v;*.mkv;*.webm)|*.mp4;*.m4v;*.mkv;*.webm|");
inline constexpr TextPair kFilterAllPictures = same(
    "All supported file types|*.bmp;*.jpg;*gif;*.jpeg;*.png;*.webp;*.tif;*.tiff;*.tga;*.ico;"
    "*.xpm;*.pbm;*.pgm;*.ppm;*.xbm;*.wbmp;*.mng;*.icns;*.zip;*.rar;*.ace|"
    "Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg|Gif (*.gif)|*.gif|"
    "PNG, WebP, TIFF (*.png;*.webp;*.tif;*.tiff)|*.png;*.webp;*.tif;*.tiff|");
inline constexpr TextPair kFilterAllAudio = same(
    "All supported file types|*.wav;*.mid;*.ra;*.au;*.snd;*.mp2;*.mp3;*.mod;*.xm;*.it;*.s3m;"
    "*.zip;*.rar;*.ace|"
    "Wave Audio (*.wav)|*.wav|Midi Sequenzes (*.mid)|*.mid|Real Audio (*.ra)|*.ra|"
    "Sun/Next Audio (*.au;*.snd)|*.au;*.snd|Mpeg Audio (*.mp2;*.mp3)|*.mp2;*.mp3|"
    "Module Files (*.mod;*.xm;*.it;*.s3m)|*.mod;*.xm;*.it;*.s3m|");
// After the classic audio lines: the endings added since, "%1" the ";"-joined patterns.
inline constexpr TextPair kFilterMusic{"Music files (%1)|%1|", "Musikdateien (%1)|%1|"};
inline constexpr TextPair kFilterArchives{
    "Zip, Rar or Ace compressed (*.zip;*.rar;*.ace)|*.zip;*.rar;*.ace|",
    "Zip, Rar oder Ace komprimert (*.zip;*.rar;*.ace)|*.zip;*.rar;*.ace|"};
}  // namespace editierform

// Item editor in CD mode: the lookup's caption of Save, the e-mail prompt, its message box title
// and the lyrics trace in the server log.
namespace editierform {
inline constexpr TextPair kCddbCaption = same("CDDB");
inline constexpr TextPair kEmailTitle{"e-Mail Adress needed", "e-Mail Adresse verlangt"};
inline constexpr TextPair kEmailPrompt{
    "Please enter your e-Mail Adress for the login procedure:",
    "Für das Einloggen in den CDDB Server wird Ihre e-Mail Adresse benötigt:, "};
inline constexpr TextPair kCddbControl = same("CDDB Control");
inline constexpr TextPair kRetrievingLyrics{"Retrieving Lyrics for:", "Übertrage Liedtext für:"};
inline constexpr TextPair kNoEntry = same("No entry was read for this disc.");
}  // namespace editierform

}  // namespace marlo::texts
