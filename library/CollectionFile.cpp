#include "library/CollectionFile.h"

#include <QFile>

#include "library/LineFile.h"
#include "platform/Files.h"

namespace marlo {

bool CollectionFile::exists() const {
    return fileExists(path_);
}

bool CollectionFile::read(QStringList& titles) const {
    if (!LineFile::read(path_, titles)) {
        return false;
    }
    titles.removeIf([](const QString& line) { return line.isEmpty(); });
    return true;
}

bool CollectionFile::append(const QString& title) const {
    return LineFile::append(path_, {title});
}

bool CollectionFile::appendAll(const QStringList& titles) const {
    return LineFile::append(path_, titles);
}

bool CollectionFile::remove(const QString& title, const QString& scratchPath) const {
    return RemoveLine(path_, title, LineMatch::CaseInsensitive, scratchPath);
}

bool CollectionFile::rewrite(const QStringList& titles) const {
    return LineFile::rewrite(path_, titles);
}

bool CollectionFile::erase() const {
    return !QFile::exists(path_) || QFile::remove(path_);
}

}  // namespace marlo
