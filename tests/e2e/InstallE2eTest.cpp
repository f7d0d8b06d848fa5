#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "tests/support/TestFolders.h"
#include "tests/support/XSession.h"

namespace marlo {
namespace {

// Installs the build into a scratch root; empty on success, else what cmake said.
QString installInto(const QString& prefix) {
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(MARLO_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(MARLO_BINARY_DIR),
                   QStringLiteral("--prefix"), prefix});
    if (!install.waitForFinished(120000) || install.exitCode() != 0) {
        return QString::fromUtf8(install.readAll());
    }
    return {};
}

TEST(InstalledProgram, FindsItsAssetsAndKeepsItsFilesInTheUsersDataFolder) {
    test::XSession x;
    ASSERT_TRUE(x.ok());
    QTemporaryDir dir;
    const QString root = dir.path() + "/usr";
    const QString failure = installInto(root);
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    for (const char* file :
         {"bin/marlo", "bin/marlo-cd", "share/marlo/readme.txt",
          "share/marlo/Bilder/Corro/Background.bmp", "share/marlo/Bilder/Vantel/Background2.bmp"}) {
        EXPECT_TRUE(QFileInfo::exists(root + "/" + file)) << file;
    }

    // An ordinary user with a home of their own, who may not write to the installed tree.
    QFile(dir.path())
        .setPermissions(QFile::permissions(dir.path()) | QFile::ReadOther | QFile::ExeOther);
    const QString home = dir.path() + "/home";
    QDir().mkpath(home);
    ASSERT_EQ(QProcess::execute(QStringLiteral("chown"), {QStringLiteral("nobody"), home}), 0);
    QProcessEnvironment env = x.environment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + "/xdg");
    env.insert(QStringLiteral("BROWSER"), QStringLiteral("true"));
    QProcess marlo;
    marlo.setProcessEnvironment(env);
    marlo.setWorkingDirectory(home);
    marlo.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                 QStringLiteral("--clear-groups"), root + "/bin/marlo"});
    ASSERT_TRUE(marlo.waitForStarted(5000));

    const QString chooser = x.waitForWindow(QStringLiteral("Wähle Sprache"));
    ASSERT_FALSE(chooser.isEmpty()) << "the installed program showed no language chooser";
    const QRect g = x.geometry(chooser);
    x.click(g.x() + g.width() * 3 / 4, g.y() + g.height() - 35);
    const QString message = x.waitForWindow(QStringLiteral("^New databank$"));
    ASSERT_FALSE(message.isEmpty());
    x.key(message, QStringLiteral("Return"));
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) {
        const QString readme = x.waitForWindow(QStringLiteral("^Read me$"));
        ASSERT_FALSE(readme.isEmpty());
        x.key(readme, QStringLiteral("Return"));
    }
    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
    ASSERT_FALSE(main.isEmpty());
    x.key(main, QStringLiteral("alt+F4"));
    ASSERT_TRUE(marlo.waitForFinished(15000));
    EXPECT_EQ(marlo.exitCode(), 0);

    const QString user = home + "/xdg/marlo/";
    EXPECT_TRUE(QFileInfo::exists(user + "Set.cfg"));
    EXPECT_TRUE(QDir(user + "Data").exists());
    EXPECT_TRUE(test::readFile(user + "Skins.ini")
                    .contains("Background=" + root.toUtf8() +
                              "/share/marlo/Bilder/Corro/Background.bmp\r\n"));
    EXPECT_EQ(QDir(root + "/bin").entryList(QDir::Files | QDir::NoDotAndDotDot),
              QStringList({QStringLiteral("marlo"), QStringLiteral("marlo-cd")}));
}

}  // namespace
}  // namespace marlo
