#pragma once

#include <QString>
#include <QStringList>

namespace marlo {

enum class LineMatch { CaseSensitive, CaseInsensitive };

// The library's text files: one value per line, CR LF line ends (the last line may lack one).
namespace LineFile {

// False when the file cannot be opened; `lines` is then empty.
bool read(const QString& path, QStringList& lines);

// Appends lines with one write, creating the file when it is missing. A last line without its
// CR LF gets one first, so a new line never joins it.
bool append(const QString& path, const QStringList& lines);

// Replaces the whole content atomically.
bool rewrite(const QString& path, const QStringList& lines);

}  // namespace LineFile

// Removes every line equal to `line` from the file. The kept lines go, byte for byte, into the
// scratch file `scratchPath` ("Write.dat"), which then replaces the file by a rename: the file is
// never missing, and a crash leaves the old or the new content. False when the file cannot be
// read or the scratch file cannot be written (the file is then unchanged).
bool RemoveLine(const QString& filePath, const QString& line, LineMatch match,
                const QString& scratchPath);

}  // namespace marlo
