#include "platform/Files.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>

namespace marlo {

bool fileExists(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

namespace {
thread_local WriteFailure lastFailure;
}  // namespace

void noteWriteFailure(const QString& path, const QString& reason) {
    lastFailure = WriteFailure{path, reason};
}

void noteWriteFailureErrno(const QString& path, int error) {
    noteWriteFailure(path, QString::fromLocal8Bit(std::strerror(error)));
}

WriteFailure lastWriteFailure() {
    return lastFailure;
}

void clearWriteFailure() {
    lastFailure = WriteFailure{};
}

bool writeFileAtomically(const QString& path, const QByteArray& content) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        noteWriteFailure(path, file.errorString());
        return false;
    }
    if (file.write(content) != content.size()) {
        noteWriteFailure(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        noteWriteFailure(path, file.errorString());
        return false;
    }
    return true;
}

bool readWholeFile(const QString& path, QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    content = file.readAll();
    return file.error() == QFileDevice::NoError;
}

}  // namespace marlo
