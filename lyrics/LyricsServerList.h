#pragma once

#include <QString>
#include <QStringList>

namespace marlo {

// The lyrics server last chosen in the item editor is kept in a file of its own in the program
// folder, beside "Set.cfg", whose lines stay as they are.
inline constexpr char kLyricsServerFile[] = "LyricsServer.cfg";

// The lyrics servers offered in the item editor: the one chosen last first.
QStringList lyricsServers(const QString& programFolder = {});
// The server chosen last, or the default one.
QString chosenLyricsServer(const QString& programFolder);
void rememberLyricsServer(const QString& programFolder, const QString& entry);

}  // namespace marlo
