#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace marlo {

// Library and configuration files are written as UTF-8. Files made by older tools on Windows hold
// the system code page instead, so bytes that are not valid UTF-8 are read as Windows-1252.
QString decodeText(const QByteArray& bytes);
QByteArray encodeText(const QString& text);

// Splits text into lines ended by CR LF (a lone LF also ends a line; the last line may lack
// an ending). A trailing line end does not make an extra empty line.
QList<QByteArray> splitLines(const QByteArray& bytes);

// Joins lines with CR LF after each one.
QByteArray joinLines(const QStringList& lines);

}  // namespace marlo
