#pragma once

#include <QString>
#include <QStringList>

namespace marlo {

// The files named on Marlo's command line ("marlo a.mp3 b.xm folder/", or a file manager's "Open
// with"), as a drop on the main window takes them: absolute paths in the order given, a folder
// replaced by the media files below it in name order. Options and their values are left out.
// Anything else (a missing file, an archive) stays in, so the drop says what it says of it.
QStringList commandLineFiles(const QStringList& arguments, const QString& workingFolder);

}  // namespace marlo
