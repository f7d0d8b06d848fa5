#pragma once

#include <QString>

#include "base/Settings.h"

namespace marlo {

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
