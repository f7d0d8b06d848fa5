#include "tools/marlo-cd/LyricsCommand.h"

#include <QTextStream>
#include <cstdio>

#include "lyrics/Lyric.h"
#include "lyrics/LyricsServerList.h"

namespace marlo {

namespace {

int usage(QTextStream& err) {
    err << lyricsUsage() << '\n';
    err.flush();
    return 2;
}

}  // namespace

QString lyricsUsage() {
    return QStringLiteral(
        "usage: marlo-cd lyrics [--server SERVER] [--timeout SECONDS] ARTIST ALBUM SONG\n"
        "  SERVER: lrclib.net (default), http(s)://host[:port] for an LRCLIB server,\n"
        "          or host[:port] for a classic lyrics search server");
}

int runLyricsCommand(const QStringList& args) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString server = lyricsServers().value(0);
    int timeoutSeconds = 0;
    QStringList words;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--server")) {
            if (i + 1 >= args.size()) {
                return usage(err);
            }
            server = args[++i];
        } else if (args[i] == QLatin1String("--timeout")) {
            bool ok = false;
            timeoutSeconds = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
            if (!ok || timeoutSeconds <= 0) {
                return usage(err);
            }
        } else if (args[i].startsWith(QLatin1String("--server="))) {
            server = args[i].mid(9);
        } else {
            words.append(args[i]);
        }
    }
    if (words.size() != 3) {
        return usage(err);
    }

    Lyric lyric;
    lyric.setServer(server);
    if (timeoutSeconds > 0) {
        lyric.setTimeoutMs(timeoutSeconds * 1000);
    }
    // The page texts (flag true after a fetch) are whole pages; the log shows them only as
    // their size, the requests in full.
    QObject::connect(&lyric, &Lyric::commInfo, [&err](const QString& text, bool flag) {
        if (flag && !text.startsWith(QLatin1String("Get: ")) &&
            !text.startsWith(QLatin1String("Lyrics transfer failed: "))) {
            err << "(page of " << text.size() << " characters)\n";
        } else {
            err << text << '\n';
        }
        err.flush();
    });
    QString artist = words[0];
    QString album = words[1];
    QString song = words[2];
    const QString text = lyric.getLyrics(artist, album, song);
    out << text;
    if (!text.endsWith(QLatin1Char('\n'))) {
        out << '\n';
    }
    out.flush();
    return lyric.outcome() == Lyric::Outcome::Found ? 0 : 1;
}

}  // namespace marlo
