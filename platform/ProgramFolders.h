#pragma once

#include <QString>

namespace marlo {

// The folders the program keeps its files in. Folder strings end with "/".
struct ProgramFolders {
    QString executableFolder;  // where the executable and its shipped assets lie
    QString program;           // "Set.cfg", "Skins.ini", "SkinName.ini"
    QString data;              // program + "Data/": collections and "Marlo.zip"

    // Built around a given program folder (tests, portable copies).
    static ProgramFolders at(const QString& programFolder, const QString& executableFolder = {});

    // The executable's folder, so a copied build is a portable install. When that folder is not
    // writable (an installed copy), the per-user folder $XDG_DATA_HOME/marlo serves instead.
    static ProgramFolders discover(const QString& executableFolder);
};

// Appends "/" unless the path already ends in one.
QString withTrailingSlash(const QString& folder);

}  // namespace marlo
