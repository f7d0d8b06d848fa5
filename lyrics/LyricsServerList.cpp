#include "lyrics/LyricsServerList.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace marlo {

namespace {

const QString kDefault = QStringLiteral("lrclib.net");

QString filePath(const QString& programFolder) {
    return QDir(programFolder).filePath(QLatin1String(kLyricsServerFile));
}

}  // namespace

QString chosenLyricsServer(const QString& programFolder) {
    QFile file(filePath(programFolder));
    if (programFolder.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return kDefault;
    }
    const QString entry = QString::fromUtf8(file.readLine(4096)).trimmed();
    return entry.isEmpty() ? kDefault : entry;
}

QStringList lyricsServers(const QString& programFolder) {
    QStringList servers{chosenLyricsServer(programFolder)};
    if (servers.first() != kDefault) {
        servers.append(kDefault);
    }
    return servers;
}

void rememberLyricsServer(const QString& programFolder, const QString& entry) {
    const QString text = entry.trimmed();
    if (programFolder.isEmpty() || text.isEmpty() || text.contains(QLatin1Char('\n')) ||
        text == chosenLyricsServer(programFolder)) {
        return;
    }
    QSaveFile file(filePath(programFolder));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(text.toUtf8() + "\r\n");
        file.commit();
    }
}

}  // namespace marlo
