#include "tests/cd/CddbTestServer.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace marlo::test {
namespace {

constexpr int kSlowDelayMs = 700;
constexpr qsizetype kHugeBytes = 10 * 1024 * 1024;

QByteArray crLf(const QByteArray& text) {
    QByteArray out;
    for (const QByteArray& line : text.split('\n')) {
        QByteArray l = line;
        if (l.endsWith('\r')) {
            l.chop(1);
        }
        out += l + "\r\n";
    }
    // split() leaves one empty piece after a final line end.
    if (text.endsWith('\n')) {
        out.chop(2);
    }
    return out;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

QByteArray transcriptBody(const QString& file) {
    QByteArray body;
    for (QByteArray line : readFile(file).split('\n')) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (line.isEmpty() || line.startsWith('*') || line.startsWith('<') ||
            line.startsWith('>') || line.startsWith('{') || line.startsWith('}')) {
            continue;
        }
        body += line + "\r\n";
    }
    return body;
}

CddbTestServer::CddbTestServer(QObject* parent) : QObject(parent) {
    connect(&server_, &QTcpServer::newConnection, this, &CddbTestServer::accept);
}

bool CddbTestServer::listen(quint16 port) {
    return server_.listen(QHostAddress::LocalHost, port);
}

void CddbTestServer::loadEntries(const QString& root) {
    const QDir dir(root);
    for (const QString& category : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QDir folder(dir.filePath(category));
        for (const QString& id : folder.entryList(QDir::Files)) {
            addEntry(category, id, readFile(folder.filePath(id)));
        }
    }
}

void CddbTestServer::addEntry(const QString& category, const QString& discId,
                              const QByteArray& xmcd) {
    entries_.insert(category + QLatin1Char(' ') + discId, xmcd);
}

void CddbTestServer::replayQuery(const QString& discId, const QString& transcriptFile) {
    recordedQueries_.insert(discId, transcriptBody(transcriptFile));
}

void CddbTestServer::replayRead(const QString& category, const QString& discId,
                                const QString& transcript) {
    recordedReads_.insert(category + QLatin1Char(' ') + discId, transcriptBody(transcript));
}

void CddbTestServer::accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                handleLine(socket, socket->readLine().trimmed());
            }
        });
        if (behaviour_ == Behaviour::Silent) {
            continue;
        }
        reply(socket, "201 loopback CDDBP server v1.5.2PL0 ready at Wed Dec  9 00:00:00 2026\r\n",
              false);
    }
}

void CddbTestServer::handleLine(QTcpSocket* socket, const QByteArray& line) {
    received << QString::fromUtf8(line);
    if (behaviour_ == Behaviour::NoHelloReply) {
        return;
    }
    if (behaviour_ == Behaviour::Garbage) {
        reply(socket, QByteArray("\x01\xfe\x7f garbage \x02\xff\r\n", 16), false);
        return;
    }
    const QList<QByteArray> words = line.split(' ');
    const QByteArray verb = words.value(0).toLower();
    const QByteArray sub = words.value(1).toLower();
    if (verb == "quit") {
        reply(socket, "230 loopback Closing connection.  Goodbye.\r\n", false);
        const int delay = behaviour_ == Behaviour::Slow ? 2 * kSlowDelayMs : 0;
        QTimer::singleShot(delay, socket, [socket] { socket->disconnectFromHost(); });
    } else if (verb == "cddb" && sub == "hello") {
        greeted_[socket] = true;
        reply(socket,
              "200 Hello and welcome " + words.value(2) + "@" + words.value(3) + " running " +
                  words.value(4) + " " + words.value(5) + ".\r\n",
              false);
    } else if (!greeted_.value(socket)) {
        reply(socket, "409 No handshake\r\n", false);
    } else if (verb == "cddb" && sub == "query") {
        const QByteArray text = queryReply(words);
        reply(socket, text, text.startsWith("21"));
    } else if (verb == "cddb" && sub == "read") {
        reply(socket, readReply(words), true);
    } else if ((verb == "cddb" && sub == "lscat") || verb == "sites") {
        if (emptyLists_) {
            reply(socket, "210 OK, list follows (until terminating `.')\r\n.\r\n", true);
        } else if (verb == "sites") {
            reply(socket,
                  "210 OK, site information follows (until terminating `.')\r\n"
                  "gnudb.gnudb.org 8880 N000.00 W000.00 Random gnudb server\r\n"
                  "freedb.dbpoweramp.com 888 N000.00 W000.00 dbpoweramp mirror\r\n.\r\n",
                  true);
        } else {
            reply(socket,
                  "210 OK, category list follows (until terminating `.')\r\nblues\r\nclassical\r\n"
                  "country\r\ndata\r\nfolk\r\njazz\r\nmisc\r\nnewage\r\nreggae\r\nrock\r\n"
                  "soundtrack\r\n.\r\n",
                  true);
        }
    } else if (verb == "proto") {
        // Clients such as libcddb ask for the newest level right after the handshake.
        const int level = words.value(1).toInt();
        if (words.size() < 2) {
            reply(socket, "200 CDDB protocol level: current 1, supported 6\r\n", false);
        } else if (level >= 1 && level <= 6) {
            reply(socket, "201 OK, CDDB protocol level now: " + QByteArray::number(level) + "\r\n",
                  false);
        } else {
            reply(socket, "501 Illegal CDDB protocol level.\r\n", false);
        }
    } else if (verb == "motd") {
        reply(socket,
              "210 Last modified: 12/09/26 00:00:00 MOTD follows (until terminating `.')\r\n"
              "Welcome to the loopback server.\r\n.\r\n",
              true);
    } else {
        reply(socket, "500 Unrecognized command.\r\n", false);
    }
}

QByteArray CddbTestServer::queryReply(const QList<QByteArray>& words) const {
    if (!queryReply_.isEmpty()) {
        return queryReply_;
    }
    const QString id = QString::fromLatin1(words.value(2)).toLower();
    if (recordedQueries_.contains(id)) {
        return recordedQueries_.value(id);
    }
    QList<QByteArray> matches;
    for (auto it = entries_.cbegin(); it != entries_.cend(); ++it) {
        if (!it.key().endsWith(QLatin1Char(' ') + id)) {
            continue;
        }
        QByteArray title;
        for (const QByteArray& line : it.value().split('\n')) {
            if (line.startsWith("DTITLE=")) {
                title += line.mid(7).trimmed();
            }
        }
        matches << it.key().toUtf8() + ' ' + title;
    }
    std::sort(matches.begin(), matches.end());
    if (matches.isEmpty()) {
        return "202 No match for disc ID " + id.toLatin1() + ".\r\n";
    }
    if (matches.size() == 1) {
        return "200 " + matches.first() + "\r\n";
    }
    QByteArray text = "211 Found inexact matches, list follows (until terminating `.')\r\n";
    for (const QByteArray& match : matches) {
        text += match + "\r\n";
    }
    return text + ".\r\n";
}

QByteArray CddbTestServer::readReply(const QList<QByteArray>& words) const {
    const QString key = QString::fromLatin1(words.value(2) + ' ' + words.value(3)).toLower();
    if (recordedReads_.contains(key)) {
        return recordedReads_.value(key);
    }
    if (!entries_.contains(key)) {
        return "401 " + key.toLatin1() + " No such CD entry in database.\r\n";
    }
    return "210 " + key.toLatin1() + " CD database entry follows (until terminating `.')\r\n" +
           crLf(entries_.value(key)) + ".\r\n";
}

void CddbTestServer::reply(QTcpSocket* socket, const QByteArray& text, bool list) {
    QByteArray out = text;
    switch (behaviour_) {
        case Behaviour::BareLf:
            out.replace("\r\n", "\n");
            break;
        case Behaviour::CloseMidReply:
            if (list && out.startsWith("210")) {
                socket->write(out.left(out.size() / 2));
                socket->flush();
                socket->disconnectFromHost();
                return;
            }
            break;
        case Behaviour::NoTerminator:
            if (list && out.endsWith("\r\n.\r\n")) {
                out.chop(3);
            }
            break;
        case Behaviour::Huge:
            if (list && out.startsWith("210")) {
                QByteArray line = "EXTD=" + QByteArray(120, 'x') + "\r\n";
                out = out.left(out.indexOf("\r\n") + 2);
                out.reserve(kHugeBytes + line.size());
                while (out.size() < kHugeBytes) {
                    out += line;
                }
            }
            break;
        case Behaviour::Slow: {
            // Each reply after a pause; a list reply in three pieces a pause apart.
            const qsizetype third = list ? out.size() / 3 : out.size();
            QList<QByteArray> pieces{out.left(third)};
            if (list) {
                pieces << out.mid(third, third) << out.mid(2 * third);
            }
            QPointer<QTcpSocket> guarded(socket);
            for (qsizetype i = 0; i < pieces.size(); ++i) {
                QTimer::singleShot(kSlowDelayMs * static_cast<int>(i + 1), this,
                                   [guarded, piece = pieces.at(i)] {
                                       if (guarded) {
                                           guarded->write(piece);
                                       }
                                   });
            }
            return;
        }
        default:
            break;
    }
    socket->write(out);
}

}  // namespace marlo::test
