#pragma once

#include "base/Catalogue.h"

// Texts the desktop shows about Marlo: its menu entry and its software-centre page.
namespace marlo::texts {

inline constexpr TextPair kDesktopGenericName{"Jukebox", "Musikbox"};
inline constexpr TextPair kDesktopComment{
    "Play music, tracker modules, CDs, videos and pictures from your own collections",
    "Musik, Tracker-Module, CDs, Videos und Bilder aus eigenen Sammlungen abspielen"};
inline constexpr TextPair kDesktopDescription{
    "Marlo is a skinnable jukebox for your own music, videos and pictures. It keeps them in "
    "collections of its own, plays audio files, tracker modules, MIDI files and audio CDs, "
    "shows videos and picture slide shows, and looks up CD titles and lyrics.",
    "Marlo ist eine Musikbox mit wechselbaren Oberflächen für eigene Musik, Videos und Bilder. "
    "Sie verwahrt sie in eigenen Sammlungen, spielt Audiodateien, Tracker-Module, MIDI-Dateien "
    "und Audio-CDs, zeigt Videos und Bilderschauen und sucht CD-Titel und Liedtexte."};
inline constexpr TextPair kDesktopKeywords{"music;player;jukebox;module;tracker;playlist;",
                                           "Musik;Spieler;Musikbox;Modul;Tracker;Wiedergabeliste;"};
inline constexpr TextPair kDesktopScreenshotCaption{"The main window with the default skin",
                                                    "Das Hauptfenster mit der Standardoberfläche"};

}  // namespace marlo::texts
