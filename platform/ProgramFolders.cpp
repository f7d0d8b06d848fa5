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

}  // namespace

QString withTrailingSlash(const QString& folder) {
    if (folder.endsWith(QLatin1Char('/'))) {
        return folder;
    }
    return folder + QLatin1Char('/');
}

ProgramFolders ProgramFolders::at(const QString& programFolder, const QString& executableFolder) {
    ProgramFolders folders;
    folders.program = withTrailingSlash(programFolder);
    folders.executableFolder =
        executableFolder.isEmpty() ? folders.program : withTrailingSlash(executableFolder);
    folders.data = folders.program + QStringLiteral("Data/");
    return folders;
}

ProgramFolders ProgramFolders::discover(const QString& executableFolder) {
    const QString exe = withTrailingSlash(executableFolder);
    if (folderIsWritable(exe)) {
        return at(exe, exe);
    }
    const QString user = userDataFolder();
    QDir().mkpath(user);
    return at(user, exe);
}

}  // namespace marlo
