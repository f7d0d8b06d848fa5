#pragma once

#include <QString>
#include <QTemporaryDir>

#include "platform/ProgramFolders.h"

namespace marlo::test {

// A fresh program folder per test, removed afterwards.
class TempProgramFolder {
  public:
    TempProgramFolder() : folders_(ProgramFolders::at(dir_.path())) {}
    const ProgramFolders& folders() const { return folders_; }
    QString program() const { return folders_.program; }
    QString data() const { return folders_.data; }
    // Creates the data folder.
    void makeData() const;

  private:
    QTemporaryDir dir_;
    ProgramFolders folders_;
};

// Path of a file below the shared third-party test data.
QString testdata(const QString& relative);

// Writes bytes to a file, creating folders; returns the path.
QString writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// A member of an item store as a fresh reader finds it on disk; empty when it is missing.
QByteArray storedMember(const QString& storePath, const QString& name);

}  // namespace marlo::test
