#pragma once

#include <QByteArray>
#include <QString>

namespace marlo {

// Member names are bytes in the archive: UTF-8 when they decode as such, otherwise the Windows
// code page. Folder separators of names made on Windows become "/". Listing and extracting both
// use this, so a listed name always finds its member again.
QString memberNameFromBytes(const QByteArray& bytes);

// True when the member can be written below a folder without leaving it: not empty, not
// absolute ("/x"), no drive letter ("C:x"), no ".." part, no NUL, and not the folder itself.
bool isSafeMemberName(const QString& name);

}  // namespace marlo
