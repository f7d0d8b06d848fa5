#pragma once

#include <QString>
#include <QStringList>

namespace marlo {

// A collection file (kind letter + name + ".dat"): one title per line, in order of adding.
// Lines compare without regard to case. A missing file reads as an empty collection.
class CollectionFile {
  public:
    explicit CollectionFile(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }

    bool exists() const;
    // The titles; false when the file cannot be read (then no titles). Blank lines name no
    // title and are left out.
    bool read(QStringList& titles) const;
    bool append(const QString& title) const;
    bool appendAll(const QStringList& titles) const;
    // Removes every line equal to the title in any letter case, through the scratch file.
    bool remove(const QString& title, const QString& scratchPath) const;
    // Replaces the content with these titles in one step.
    bool rewrite(const QStringList& titles) const;
    bool erase() const;

  private:
    QString path_;
};

}  // namespace marlo
