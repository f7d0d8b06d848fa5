#include "library/LineFile.h"

#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstdio>

#include "platform/Files.h"
#include "platform/TextCodec.h"

namespace marlo {
namespace {

bool sameLine(const QString& a, const QString& b, LineMatch match) {
    return a.compare(b, match == LineMatch::CaseInsensitive ? Qt::CaseInsensitive
                                                            : Qt::CaseSensitive) == 0;
}

// Writes the scratch file completely and durably before it may replace anything.
bool writeScratch(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        noteWriteFailure(path, file.errorString());
        return false;
    }
    const bool written =
        file.write(content) == content.size() && file.flush() && ::fsync(file.handle()) == 0;
    const int error = errno;
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        if (file.error() != QFileDevice::NoError) {
            noteWriteFailure(path, file.errorString());
        } else {
            noteWriteFailureErrno(path, error);
        }
        return false;
    }
    return true;
}

}  // namespace

bool LineFile::read(const QString& path, QStringList& lines) {
    lines.clear();
    QByteArray bytes;
    if (!fileExists(path) || !readWholeFile(path, bytes)) {
        return false;
    }
    for (const QByteArray& line : splitLines(bytes)) {
        lines.append(decodeText(line));
    }
    return true;
}

bool LineFile::append(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    if (QFile existing(path); existing.size() > 0 && existing.open(QIODevice::ReadOnly) &&
                              existing.seek(existing.size() - 1) && existing.read(1) != "\n") {
        bytes = "\r\n";
    }
    bytes += joinLines(lines);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        noteWriteFailure(path, file.errorString());
        return false;
    }
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        noteWriteFailure(path, file.errorString());
        return false;
    }
    return true;
}

bool LineFile::rewrite(const QString& path, const QStringList& lines) {
    return writeFileAtomically(path, joinLines(lines));
}

bool RemoveLine(const QString& filePath, const QString& line, LineMatch match,
                const QString& scratchPath) {
    QByteArray bytes;
    if (!fileExists(filePath) || !readWholeFile(filePath, bytes)) {
        return false;
    }
    QByteArray kept;
    kept.reserve(bytes.size());
    for (const QByteArray& raw : splitLines(bytes)) {
        if (!sameLine(decodeText(raw), line, match)) {
            kept += raw;
            kept += "\r\n";
        }
    }
    if (!writeScratch(scratchPath, kept)) {
        QFile::remove(scratchPath);
        return false;
    }
    // rename() replaces the old file in one step.
    if (std::rename(QFile::encodeName(scratchPath).constData(),
                    QFile::encodeName(filePath).constData()) != 0) {
        noteWriteFailureErrno(filePath, errno);
        QFile::remove(scratchPath);
        return false;
    }
    return true;
}

}  // namespace marlo
