#pragma once

#include <QByteArray>
#include <QString>

namespace marlo {

// True only for an existing file that is not a folder; any error gives false.
bool fileExists(const QString& path);

// Replaces a file's whole content atomically: a new file in the same folder, then a rename, so
// a crash leaves the old or the new content, never a mix. Returns false when anything failed
// (the old file is then untouched).
bool writeFileAtomically(const QString& path, const QByteArray& content);

// Reads a whole file; false when it cannot be opened or read.
bool readWholeFile(const QString& path, QByteArray& content);

}  // namespace marlo
