#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace marlo {
namespace {

// QFileInfo::isWritable misjudges some mounts and ACLs; creating a file is the real test.
bool folderIsWritable(const QString& folder) {
    QTemporaryFile probe(folder + QStringLiteral(".marlo-write-test-XXXXXX"));
    return probe.open();
}

QString userDataFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return withTrailingSlash(base) + QStringLiteral("marlo/");
}

// The shared data folder of an installed copy, seen from its bin/ folder; empty for a portable
// copy, which has its pictures beside the executable.
QString installedAssetsFolder(const QString& executableFolder) {
    if (QFileInfo::exists(executableFolder + QStringLiteral("Bilder"))) {
        return {};
    }
    const QString shared =
        QDir::cleanPath(executableFolder + QStringLiteral(MARLO_INSTALLED_ASSETS_FROM_BIN));
    if (!QFileInfo::exists(shared + QStringLiteral("/Bilder"))) {
        return {};
    }
    return withTrailingSlash(shared);
}

}  // namespace

QString withTrailingSlash(const QString& folder) {
    if (folder.endsWith(QLatin1Char('/'))) {
        return folder;
    }
    return folder + QLatin1Char('/');
}

ProgramFolders ProgramFolders::at(const QString& programFolder, const QString& assetsFolder) {
    ProgramFolders folders;
    folders.program = withTrailingSlash(programFolder);
    folders.assets = assetsFolder.isEmpty() ? folders.program : withTrailingSlash(assetsFolder);
    folders.data = folders.program + QStringLiteral("Data/");
    return folders;
}

ProgramFolders ProgramFolders::discover(const QString& executableFolder) {
    const QString exe = withTrailingSlash(executableFolder);
    // Even root, who may write to bin/, keeps the files of an installed copy per user.
    const QString installed = installedAssetsFolder(exe);
    if (installed.isEmpty() && folderIsWritable(exe)) {
        return at(exe, exe);
    }
    const QString user = userDataFolder();
    QDir().mkpath(user);
    return at(user, installed.isEmpty() ? exe : installed);
}

}  // namespace marlo
