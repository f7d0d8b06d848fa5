#pragma once

#include <QByteArray>
#include <QString>

namespace marlo {

// True only for an existing file that is not a folder; any error gives false.
bool fileExists(const QString& path);

// Replaces a file's whole content atomically: a new file in the same folder, then a rename, so
// a crash leaves the old or the new content, never a mix. Returns false when anything failed
// (the old file is then untouched).
bool writeFileAtomically(const QString& path, const QByteArray& content);

// The last failed write of a library or configuration file: the file and the system's reason.
// Every writer notes its failure here, so the message that follows can say what went wrong.
// The program writes its files on one thread; each thread keeps its own note.
struct WriteFailure {
    QString path;
    QString reason;
};
void noteWriteFailure(const QString& path, const QString& reason);
// The reason of errno as the system words it.
void noteWriteFailureErrno(const QString& path, int error);
WriteFailure lastWriteFailure();
void clearWriteFailure();

// Reads a whole file; false when it cannot be opened or read.
bool readWholeFile(const QString& path, QByteArray& content);

}  // namespace marlo
