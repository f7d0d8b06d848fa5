#include "tests/support/TestFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/archive/ZipStore.h"

namespace marlo::test {

void TempProgramFolder::makeData() const {
    QDir().mkpath(folders_.data);
}

QString testdata(const QString& relative) {
    return QStringLiteral(MARLO_TESTDATA_DIR "/") + relative;
}

QString writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(bytes);
    }
    return path;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

QByteArray storedMember(const QString& storePath, const QString& name) {
    ZipStore store(storePath);
    store.open();
    QByteArray content;
    store.read(name, content);
    return content;
}

}  // namespace marlo::test
