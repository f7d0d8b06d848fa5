#include "desktop/CommandLineFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>

#include "library/AddDroppedFiles.h"

namespace marlo {
namespace {

// Options that take a value of their own.
bool takesValue(const QString& option) {
    return option == QLatin1String("--cd-device");
}

QStringList mediaFilesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Readable, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (dropKindOf(path)) {
            files << path;
        }
    }
    // The file system gives no order; names sort as a file manager shows them.
    std::sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return files;
}

}  // namespace

QStringList commandLineFiles(const QStringList& arguments, const QString& workingFolder) {
    QStringList files;
    const QDir working(workingFolder);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (argument.startsWith(QLatin1String("--"))) {
            i += takesValue(argument) ? 1 : 0;
            continue;
        }
        // Desktops that hand over URLs instead of paths.
        if (argument.startsWith(QLatin1String("file://"))) {
            argument = QUrl(argument).toLocalFile();
        }
        const QString path = QDir::cleanPath(working.absoluteFilePath(argument));
        if (QFileInfo(path).isDir()) {
            files << mediaFilesBelow(path);
        } else {
            files << path;
        }
    }
    return files;
}

}  // namespace marlo
