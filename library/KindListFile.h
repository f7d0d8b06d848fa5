#pragma once

#include <QString>
#include <QStringList>

namespace marlo {

// The collection that files dropped on the main window go into.
inline const QString kAutoCollection = QStringLiteral("Auto collection");

// A kind list file ("Audio.dat", ...): one collection name per line, in order of creation.
// Names compare case-sensitively, except that "Auto collection" is found in any letter case.
class KindListFile {
  public:
    explicit KindListFile(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }

    bool read(QStringList& names) const;  // false when the file cannot be read
    bool contains(const QString& name) const;
    bool append(const QString& name) const;
    bool remove(const QString& name, const QString& scratchPath) const;

    static bool isAutoCollection(const QString& name);
    // Position of "Auto collection" among chooser entries, -1 when absent.
    static int findAutoCollection(const QStringList& names);

  private:
    QString path_;
};

}  // namespace marlo
