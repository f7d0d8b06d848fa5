#pragma once

#include <QString>

#include "base/Settings.h"

namespace marlo {

// Where the library's files lie in the data folder, and how kinds name their files and members.
class LibraryPaths {
  public:
    explicit LibraryPaths(QString dataFolder);  // with or without a trailing "/"

    const QString& dataFolder() const { return data_; }
    QString store() const { return data_ + QStringLiteral("Marlo.zip"); }
    // Scratch file of RemoveLine; it exists only while a line is removed.
    QString writeScratch() const { return data_ + QStringLiteral("Write.dat"); }
    // "Audio.dat", "Video.dat", "Pics.dat"; empty for CD audio, which has no library files.
    QString kindList(MediaKind kind) const;
    // Kind letter + collection name + ".dat"; empty for CD audio, an empty name, or a name that
    // would lead out of the data folder.
    QString collection(MediaKind kind, const QString& name) const;

    // "a_", "v_", "p_"; empty for CD audio (its records are named by the disc id).
    static QString recordPrefix(MediaKind kind);
    static QString memberName(MediaKind kind, const QString& title) {
        return recordPrefix(kind) + title;
    }

  private:
    QString data_;
};

}  // namespace marlo
