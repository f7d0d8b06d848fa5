#pragma once

#include <QString>

namespace marlo {

// The folders the program keeps its files in. Folder strings end with "/".
struct ProgramFolders {
    QString assets;   // the shipped read-me and default skin pictures ("Bilder/")
    QString program;  // "Set.cfg", "Skins.ini", "SkinName.ini"
    QString data;     // program + "Data/": collections and "Marlo.zip"

    // Built around a given program folder (tests, portable copies); the assets lie in the program
    // folder unless another folder is named.
    static ProgramFolders at(const QString& programFolder, const QString& assetsFolder = {});

    // The executable's folder, so a copied build is a portable install. An installed copy (its
    // assets in share/marlo beside bin/) and a copy whose folder is not writable keep their files
    // in the per-user folder $XDG_DATA_HOME/marlo instead.
    static ProgramFolders discover(const QString& executableFolder);
};

// Appends "/" unless the path already ends in one.
QString withTrailingSlash(const QString& folder);

}  // namespace marlo
