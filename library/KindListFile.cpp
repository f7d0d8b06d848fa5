#include "library/KindListFile.h"

#include "library/LineFile.h"

namespace marlo {

bool KindListFile::read(QStringList& names) const {
    return LineFile::read(path_, names);
}

bool KindListFile::contains(const QString& name) const {
    QStringList names;
    read(names);
    return names.contains(name, Qt::CaseSensitive);
}

bool KindListFile::append(const QString& name) const {
    return LineFile::append(path_, {name});
}

bool KindListFile::remove(const QString& name, const QString& scratchPath) const {
    return RemoveLine(path_, name, LineMatch::CaseSensitive, scratchPath);
}

bool KindListFile::isAutoCollection(const QString& name) {
    return name.compare(kAutoCollection, Qt::CaseInsensitive) == 0;
}

int KindListFile::findAutoCollection(const QStringList& names) {
    for (int i = 0; i < names.size(); ++i) {
        if (isAutoCollection(names[i])) {
            return i;
        }
    }
    return -1;
}

}  // namespace marlo
