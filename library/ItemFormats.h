#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "base/Settings.h"

namespace marlo {

// Endings of current files beyond the classic lists: what libmpv plays and Qt's image plugins
// read (with qt6-image-formats-plugins). Lower case, with the dot.
inline constexpr std::array kMoreVideoEndings{".mpeg", ".mp4", ".m4v", ".mkv", ".webm",
                                              ".ogv",  ".wmv", ".flv", ".3gp"};
inline constexpr std::array kMorePictureEndings{".jpeg", ".png", ".webp", ".tif", ".tiff",
                                                ".tga",  ".ico", ".xpm",  ".pbm", ".pgm",
                                                ".ppm",  ".xbm", ".wbmp", ".mng", ".icns"};
// Audio endings beyond the classic lists: what the light decoders read (FLAC, Ogg, AIFF) and
// what libmpv plays as audio. Lower case, with the dot.
inline constexpr std::array kMoreAudioEndings{
    ".flac", ".ogg", ".oga", ".opus", ".spx", ".aiff", ".aif", ".aifc", ".caf", ".w64", ".m4a",
    ".m4b",  ".aac", ".wma", ".ape",  ".wv",  ".mka",  ".mpc", ".tta",  ".ac3", ".mp1"};

// Whether the path ends with one of the endings, in any letter case.
template <typename Endings>
bool endsWithOneOf(const QString& path, const Endings& endings) {
    for (const char* ending : endings) {
        if (path.endsWith(QLatin1String(ending), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

// The module endings libopenmpt plays beyond .mod .xm .it .s3m, without those that name a
// picture or video file (".ppm" stays a picture).
const QStringList& moreModuleEndings();

// Whether the path ends with an ending of any module format (any letter case).
bool isModulePath(const QString& path);

// The audio endings beyond the classic list, modules included, as "*.flac" patterns.
QStringList moreAudioPatterns();

// Whether a media file of this path may be an item of the kind, by its ending (any letter
// case), and the type tag its record gets: "mp3" (mp3, mp2), "mod" (every module format) or
// empty (the audio device chooses the decoder by the file). CD audio takes no files.
bool acceptItemPath(MediaKind kind, const QString& path, QString& typeTag);

// A title becomes the name of a store member and, on the systems these libraries come from, of
// a file. Refused: empty, "." and "..", folder separators, the characters file names there
// cannot hold (: * ? " < > |), "]" (it would end the record's section header early), control
// characters, and blanks at either end (the record reader trims them off, so the title would
// not read back as written).
bool isUsableTitle(const QString& title);

}  // namespace marlo
