#include "platform/archive/MemberFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "platform/archive/MemberPath.h"

namespace marlo {

MemberFileWriter::~MemberFileWriter() {
    if (!committed_) {
        discard();
    }
}

ArchiveStatus MemberFileWriter::fail(ArchiveStatus status) {
    discard();
    return status;
}

ArchiveStatus MemberFileWriter::begin(const QString& folder, const QString& memberName,
                                      bool isFolder) {
    if (!isSafeMemberName(memberName)) {
        return ArchiveStatus::UnsafeName;
    }
    const QFileInfo root(folder);
    if (folder.isEmpty() || !root.isDir()) {
        return ArchiveStatus::WriteFailed;
    }
    QStringList parts = QDir::cleanPath(memberName).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    if (parts.isEmpty()) {
        return ArchiveStatus::UnsafeName;
    }
    const QString leaf = isFolder ? QString() : parts.takeLast();

    QString current = root.absoluteFilePath();
    for (const QString& part : parts) {
        current += QLatin1Char('/') + part;
        const QFileInfo info(current);
        if (info.isSymLink()) {
            return fail(ArchiveStatus::UnsafeName);
        }
        if (info.exists()) {
            if (!info.isDir()) {
                return fail(ArchiveStatus::WriteFailed);
            }
            continue;
        }
        if (!QDir().mkdir(current)) {
            return fail(ArchiveStatus::WriteFailed);
        }
        createdFolders_.append(current);
    }
    if (isFolder) {
        target_ = current;
        return ArchiveStatus::Ok;
    }

    target_ = current + QLatin1Char('/') + leaf;
    const QFileInfo existing(target_);
    if (existing.isDir() && !existing.isSymLink()) {
        return fail(ArchiveStatus::WriteFailed);
    }
    temp_ = std::make_unique<QTemporaryFile>(current + QStringLiteral("/.marlo-extract-XXXXXX"));
    if (!temp_->open()) {
        return fail(ArchiveStatus::WriteFailed);
    }
    return ArchiveStatus::Ok;
}

bool MemberFileWriter::write(const char* data, qint64 size) {
    return temp_ && temp_->write(data, size) == size;
}

ArchiveStatus MemberFileWriter::commit() {
    if (!temp_) {
        // A folder member: made in begin().
        committed_ = !target_.isEmpty();
        return committed_ ? ArchiveStatus::Ok : ArchiveStatus::WriteFailed;
    }
    if (!temp_->flush()) {
        return fail(ArchiveStatus::WriteFailed);
    }
    temp_->close();
    // rename(2) replaces an existing entry of that name, a link included, without following it.
    if (std::rename(QFile::encodeName(temp_->fileName()).constData(),
                    QFile::encodeName(target_).constData()) != 0) {
        return fail(ArchiveStatus::WriteFailed);
    }
    temp_->setAutoRemove(false);
    temp_.reset();
    // Plain user-writable permissions, so the player can delete the file after playing it.
    QFile::setPermissions(target_, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                       QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
    committed_ = true;
    return ArchiveStatus::Ok;
}

void MemberFileWriter::discard() {
    temp_.reset();  // removes the temporary file
    for (auto it = createdFolders_.crbegin(); it != createdFolders_.crend(); ++it) {
        QDir().rmdir(*it);
    }
    createdFolders_.clear();
    target_.clear();
}

}  // namespace marlo
