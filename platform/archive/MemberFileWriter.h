#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <memory>

#include "platform/archive/ArchiveTypes.h"

namespace marlo {

// Writes one extracted member below a target folder and never outside it. Sub-folders are made
// one at a time and an existing link on the way is refused, so a link planted in the folder
// cannot redirect the write. The content goes to a temporary file beside the target that is
// renamed into place only when complete; a failure (or destruction before commit) removes the
// temporary file and every folder this writer made.
class MemberFileWriter {
  public:
    MemberFileWriter() = default;
    ~MemberFileWriter();
    MemberFileWriter(const MemberFileWriter&) = delete;
    MemberFileWriter& operator=(const MemberFileWriter&) = delete;

    // Prepares the target for `memberName` (a normalised name); a folder member is made here.
    ArchiveStatus begin(const QString& folder, const QString& memberName, bool isFolder);
    bool write(const char* data, qint64 size);
    // Puts the written file in place; an existing file of that name is replaced.
    ArchiveStatus commit();
    void discard();

    // Full path of the file or folder written.
    QString targetPath() const { return target_; }

  private:
    ArchiveStatus fail(ArchiveStatus status);

    QString target_;
    QStringList createdFolders_;
    std::unique_ptr<QTemporaryFile> temp_;
    bool committed_ = false;
};

}  // namespace marlo
