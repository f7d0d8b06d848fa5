#pragma once

#include <QString>
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

// Whether a media file of this path may be an item of the kind, by its ending (any letter
// case), and the type tag its record gets: "mp3" (mp3, mp2), "mod" (mod, xm, it, s3m) or empty.
// CD audio takes no files.
bool acceptItemPath(MediaKind kind, const QString& path, QString& typeTag);

// A title becomes the name of a store member and, on the systems these libraries come from, of
// a file. Refused: empty, "." and "..", folder separators, the characters file names there
// cannot hold (: * ? " < > |), "]" (it would end the record's section header early), control
// characters, and blanks at either end (the record reader trims them off, so the title would
// not read back as written).
bool isUsableTitle(const QString& title);

}  // namespace marlo
