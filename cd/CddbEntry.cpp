#include "cd/CddbEntry.h"

#include "cd/CddbText.h"

namespace marlo {
namespace {

// "category discid title words..."
CloseMatch splitMatchLine(const QString& line) {
    const qsizetype first = line.indexOf(QLatin1Char(' '));
    const qsizetype second = first < 0 ? -1 : line.indexOf(QLatin1Char(' '), first + 1);
    CloseMatch match;
    match.category = first < 0 ? line : line.left(first);
    if (first >= 0) {
        match.discId = line.mid(first + 1, second < 0 ? -1 : second - first - 1);
    }
    if (second >= 0) {
        match.title = line.mid(second + 1);
    }
    return match;
}

}  // namespace

QString CddbEntry::summary() const {
    QString text = title + QLatin1String("\r\n") + QString::number(songs.size());
    for (const QString& song : songs) {
        text += QLatin1String("\r\n") + song;
    }
    return text;
}

bool parseEntry(const QString& reply, CddbEntry& entry) {
    if (reply.startsWith(QLatin1String("600"))) {
        return false;
    }
    // "210 category discid ...": the category starts after the code and its blank.
    const QString afterCode = reply.mid(4);
    entry.category = afterCode.left(afterCode.indexOf(QLatin1Char(' ')));
    QString text = reply;
    entry.dataRev = pullData(text, QStringLiteral("# Revision:")).trimmed().toInt();
    entry.title = pullData(text, QStringLiteral("DTITLE="));
    const DiscTitleParts parts = splitDiscTitle(entry.title);
    entry.artist = parts.artist;
    entry.cdTitle = parts.album;
    entry.songs.clear();
    for (int i = 0;; ++i) {
        const QString key = QStringLiteral("TTITLE%1=").arg(i);
        if (!text.contains(key)) {
            break;
        }
        entry.songs << pullData(text, key);
    }
    entry.extData = pullData(text, QStringLiteral("EXTD="));
    entry.extTracks.clear();
    for (int j = 0;; ++j) {
        const QString key = QStringLiteral("EXTT%1=").arg(j);
        if (!text.contains(key)) {
            break;
        }
        entry.extTracks << pullData(text, key);
    }
    entry.playOrder = pullData(text, QStringLiteral("PLAYORDER="));
    return true;
}

QList<CloseMatch> decodeCloseMatches(const QString& response) {
    QList<CloseMatch> matches;
    QString rest = removeTopLine(response);
    while (rest.size() >= 4 && matches.size() < kMaxCloseMatches) {
        const qsizetype lineEnd = rest.indexOf(QLatin1String("\r\n"));
        const QString line = lineEnd < 0 ? rest : rest.left(lineEnd);
        matches << splitMatchLine(line);
        rest = removeTopLine(rest);
    }
    return matches;
}

CloseMatch parseExactMatch(const QString& reply) {
    QString line = reply.left(reply.indexOf(QLatin1String("\r\n")));
    line = line.mid(line.indexOf(QLatin1Char(' ')) + 1);
    return splitMatchLine(line);
}

int replyCode(const QString& reply) {
    bool ok = false;
    const int code = reply.left(3).toInt(&ok);
    return ok ? code : 0;
}

}  // namespace marlo
