#include "CdCommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

#include "base/EventWait.h"
#include "cd/CdBase.h"
#include "cd/CddbEntry.h"
#include "cd/DiscTocReader.h"
#include "cd/TocDrive.h"
#include "platform/Prompts.h"
#include "platform/TextCodec.h"

namespace marlo::cdtool {
namespace {

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

void put(const QString& key, const QString& value) {
    out() << key << '=' << oneLine(value) << '\n';
}

void putEntry(const CddbEntry& entry) {
    put(QStringLiteral("Title"), entry.title);
    put(QStringLiteral("Artist"), entry.artist);
    put(QStringLiteral("CdTitle"), entry.cdTitle);
    put(QStringLiteral("Tracks"), QString::number(entry.songs.size()));
    for (qsizetype i = 0; i < entry.songs.size(); ++i) {
        put(QStringLiteral("SongName%1").arg(i + 1), entry.songs.at(i));
    }
    put(QStringLiteral("ExtData"), entry.extData);
    put(QStringLiteral("PlayOrder"), entry.playOrder);
    put(QStringLiteral("DataRev"), QString::number(entry.dataRev));
    out().flush();
}

// The options before the last argument, which is the disc.
struct LookupOptions {
    QString server;
    int port = 0;
    QString email;
    int timeoutSeconds = 0;  // 0: the client's own
    QString disc;
};

std::optional<LookupOptions> lookupOptions(const QStringList& arguments, QString* error) {
    LookupOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if ((argument == QLatin1String("--server") || argument == QLatin1String("--email") ||
             argument == QLatin1String("--timeout")) &&
            i + 1 < arguments.size()) {
            const QString value = arguments.at(++i);
            if (argument == QLatin1String("--timeout")) {
                bool ok = false;
                options.timeoutSeconds = value.toInt(&ok);
                if (!ok || options.timeoutSeconds <= 0) {
                    *error = QStringLiteral("bad timeout: ") + value;
                    return std::nullopt;
                }
                continue;
            }
            if (argument == QLatin1String("--email")) {
                options.email = value;
                continue;
            }
            const qsizetype colon = value.lastIndexOf(QLatin1Char(':'));
            options.server = colon < 0 ? value : value.left(colon);
            bool ok = true;
            options.port = colon < 0 ? 0 : value.mid(colon + 1).toInt(&ok);
            if (!ok || options.port < 0 || options.port > 65535) {
                *error = QStringLiteral("bad server address: ") + value;
                return std::nullopt;
            }
        } else if (argument.startsWith(QLatin1String("--")) || !options.disc.isEmpty()) {
            *error = QStringLiteral("unexpected argument: ") + argument;
            return std::nullopt;
        } else {
            options.disc = argument;
        }
    }
    if (options.disc.isEmpty()) {
        *error = lookupUsage();
        return std::nullopt;
    }
    return options;
}

}  // namespace

QString discidUsage() {
    return QStringLiteral("usage: marlo-cd discid DEVICE|FILE.cue");
}

QString parseUsage() {
    return QStringLiteral("usage: marlo-cd parse FILE");
}

QString lookupUsage() {
    return QStringLiteral(
        "usage: marlo-cd lookup [--server HOST:PORT] [--email ADDR] [--timeout SECONDS] "
        "DEVICE|FILE.cue");
}

QString oneLine(const QString& value) {
    QString text = value;
    text.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\n"));
    return text;
}

int failWith(const QString& reason) {
    err() << "marlo-cd: " << oneLine(reason) << '\n';
    err().flush();
    return 1;
}

int discidCommand(const QStringList& arguments) {
    if (arguments.size() != 1) {
        return failWith(discidUsage());
    }
    QString error;
    const std::optional<DiscToc> toc = readDiscToc(arguments.first(), &error);
    if (!toc) {
        return failWith(error);
    }
    TocDrive drive(*toc);
    UnattendedPrompts prompts(true);
    CdBase cd(prompts);
    cd.setDrive(&drive);
    const QString query = cd.getQueryString();
    if (query.isEmpty()) {
        return failWith(cd.lastError() ? cd.lastError()->description : QString());
    }
    put(QStringLiteral("Cdid"), cd.cdid());
    put(QStringLiteral("Tracks"), QString::number(cd.tracks()));
    put(QStringLiteral("DiscLength"), QString::number(cd.discLength()));
    put(QStringLiteral("Query"), query);
    for (qsizetype i = 0; i < toc->trackStarts.size(); ++i) {
        put(QStringLiteral("TrackStart%1").arg(i + 1), QString::number(toc->trackStarts.at(i)));
    }
    out().flush();
    return 0;
}

int parseCommand(const QStringList& arguments) {
    if (arguments.size() != 1) {
        return failWith(parseUsage());
    }
    QFile file(arguments.first());
    if (!file.open(QIODevice::ReadOnly)) {
        return failWith(QStringLiteral("cannot read ") + arguments.first());
    }
    // Stored entries have no reply line; the folder they lie in names their category.
    const QFileInfo info(file);
    QString text = QStringLiteral("210 %1 %2 entry\r\n").arg(info.dir().dirName(), info.fileName());
    for (const QByteArray& line : splitLines(file.readAll())) {
        text += decodeText(line) + QLatin1String("\r\n");
    }
    CddbEntry entry;
    parseEntry(text, entry);
    putEntry(entry);
    return 0;
}

int lookupCommand(const QStringList& arguments) {
    QString error;
    const std::optional<LookupOptions> options = lookupOptions(arguments, &error);
    if (!options) {
        return failWith(error);
    }
    const std::optional<DiscToc> toc = readDiscToc(options->disc, &error);
    if (!toc) {
        return failWith(error);
    }
    TocDrive drive(*toc);
    UnattendedPrompts prompts(true);
    CdBase cd(prompts);
    cd.setDrive(&drive);
    cd.setUseFirstMatch(true);
    cd.setServer(options->server);
    cd.setPort(options->port);
    if (options->timeoutSeconds > 0) {
        // The client keeps its waits between 5 and 65 seconds.
        cd.setConnectTimeout(std::min(options->timeoutSeconds, 65) * 1000);
    }
    const QString host = CdBase::getMyHostName();
    cd.setHostName(host);
    cd.setEmail(options->email.isEmpty() ? qEnvironmentVariable("USER", QStringLiteral("marlo")) +
                                               QLatin1Char('@') + host
                                         : options->email);
    bool farewell = false;
    QObject::connect(&cd, &CdBase::dataSent, [&farewell](const QString& text, int) {
        err() << text << (text.endsWith(QLatin1Char('\n')) ? "" : "\n");
        err().flush();
        farewell = farewell || text.startsWith(QLatin1String("230"));
    });
    const QString result = cd.getCddb();
    // The server's answer to "quit" comes after the lookup; the log is whole with it.
    if (result.startsWith(cd.title() + QLatin1String("\r\n"))) {
        waitWhileDispatching([&farewell] { return farewell; }, 2000);
    }
    out() << "Result=" << oneLine(result) << '\n';
    if (cd.lastError()) {
        return failWith(cd.lastError()->description);
    }
    // An entry was read when the result is its summary.
    if (result.isEmpty() || cd.title().isEmpty() ||
        !result.startsWith(cd.title() + QLatin1String("\r\n"))) {
        out().flush();
        return failWith(QStringLiteral("no entry for disc ") + cd.cdid() +
                        (result.isEmpty() ? QString() : QStringLiteral(": ") + result));
    }
    CddbEntry entry;
    entry.title = cd.title();
    entry.artist = cd.artist();
    entry.cdTitle = cd.cdTitle();
    for (int i = 1; i <= cd.tracks(); ++i) {
        entry.songs << cd.songName(i);
    }
    entry.extData = cd.extData();
    entry.playOrder = cd.playOrder();
    entry.dataRev = cd.dataRev();
    putEntry(entry);
    return 0;
}

}  // namespace marlo::cdtool
