#include "FakeLyricsServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

namespace marlo::test {

namespace {

QByteArray searchPage(const QList<int>& ids) {
    QByteArray page = "<html><head><title>Search</title></head>\n<body>\n";
    if (ids.isEmpty()) {
        page += "<p>Search Results: No Songs Found!</p>\n";
    }
    for (const int id : ids) {
        page += "<a href=\"/query/get?s=" + QByteArray::number(id) + "\">Song number " +
                QByteArray::number(id) + "</a><br>\n";
    }
    return page + "</body></html>\n";
}

// Five heading lines follow the marker; the cut drops them.
QByteArray songPage(int id, bool withMarker, bool withClick) {
    QByteArray page = "<html><body>\n<h1>Song " + QByteArray::number(id) + "</h1>\n<pre>";
    if (withMarker) {
        page += "Fulltext";
    }
    page += "\nArtist\nAlbum\nSong\nWritten by\n-----\nVerse of song " + QByteArray::number(id) +
            "\n\nLast <b>line</b>\n</pre>\n";
    if (withClick) {
        page += "<a href=\"/print\">Click here to print</a>\n";
    }
    return page + "</body></html>\n";
}

QJsonObject record(int id, const QString& plain, const QString& synced = {}) {
    QJsonObject r;
    r.insert("id", id);
    r.insert("trackName", QStringLiteral("Track %1").arg(id));
    r.insert("artistName", QStringLiteral("Artist %1").arg(id));
    r.insert("albumName", QStringLiteral("Album %1").arg(id));
    r.insert("duration", 200.0);
    r.insert("plainLyrics", plain.isNull() ? QJsonValue() : QJsonValue(plain));
    r.insert("syncedLyrics", synced.isEmpty() ? QJsonValue() : QJsonValue(synced));
    return r;
}

QJsonObject lrclibRecord(int id) {
    switch (id) {
        case 401:
            return record(id, QString(""));
        case 402:
            return record(id, QString(""), QStringLiteral("[00:01.00] First\n[00:05.50]Second\n"));
        case 501:
            return record(id, QStringLiteral("Grüße aus Köln\nこんにちは\n"));
        default:
            return record(id, QStringLiteral("Line one of %1\n\nLine two\n").arg(id));
    }
}

QByteArray json(const QJsonValue& value) {
    return value.isArray() ? QJsonDocument(value.toArray()).toJson()
                           : QJsonDocument(value.toObject()).toJson();
}

QList<int> range(int first, int count) {
    QList<int> ids;
    for (int i = 0; i < count; ++i) {
        ids.append(first + i);
    }
    return ids;
}

}  // namespace

QString lyricsOfClassicSong(int id) {
    return QStringLiteral("Verse of song %1\r\n\r\nLast line").arg(id);
}

FakeLyricsServer::FakeLyricsServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            serve(socket);
        }
    });
}

QString FakeLyricsServer::classicEntry() const {
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

QString FakeLyricsServer::lrclibEntry() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

void FakeLyricsServer::serve(QTcpSocket* socket) {
    socket->setParent(this);
    auto* request = new QByteArray;
    connect(socket, &QObject::destroyed, [request] { delete request; });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
        *request += socket->readAll();
        if (!request->contains("\r\n\r\n")) {
            return;
        }
        const QByteArray target = request->split(' ').value(1);
        for (const QByteArray& line : request->split('\n')) {
            if (line.toLower().startsWith("user-agent:")) {
                userAgent_ = line.mid(11).trimmed();
            }
        }
        request->clear();
        log_.append(QString::fromLatin1(target));
        answer(socket, target);
    });
}

void FakeLyricsServer::reply(QTcpSocket* socket, int status, const QByteArray& type,
                             const QByteArray& body) {
    socket->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: " + type +
                  "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
}

void FakeLyricsServer::answer(QTcpSocket* socket, const QByteArray& target) {
    const QUrl url(QString::fromLatin1(target));
    const QString path = url.path();
    const QUrlQuery query(url);
    const bool lrclib = path.startsWith("/api/");
    const QString song = lrclib ? query.queryItemValue("track_name", QUrl::FullyDecoded)
                                : query.queryItemValue("song", QUrl::FullyDecoded);
    const QByteArray html = "text/html";
    const QByteArray jsonType = "application/json";
    // Like many databases it files "The Band" under "Band": a search for an artist with a
    // leading "The" finds nothing.
    const bool theArtist =
        query.queryItemValue(lrclib ? "artist_name" : "artist", QUrl::FullyDecoded)
            .startsWith("The");

    // The bad answers, alike for both kinds.
    if (song == "slow") {
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n");
        auto* drip = new QTimer(socket);
        connect(drip, &QTimer::timeout, socket, [socket] { socket->write("x"); });
        drip->start(200);
        return;
    }
    if (song == "silent") {
        return;
    }
    if (song == "midbody") {
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + QByteArray(100, 'x'));
        socket->disconnectFromHost();
        return;
    }
    if (song == "huge" || song == "hugedeclared") {
        // 10 MB; without a length the body runs until the server closes.
        socket->write(song == "huge" ? QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n")
                                     : QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 10485760\r\n"
                                                  "\r\n"));
        socket->write(QByteArray(10 * 1024 * 1024, 'x'));
        socket->disconnectFromHost();
        return;
    }
    if (song == "404" || song == "500") {
        // Error pages that would cut into something lyrics-like must still be refused.
        reply(socket, song.toInt(), lrclib ? jsonType : html,
              lrclib ? json(QJsonArray{record(1, "error")}) : searchPage({1}));
        return;
    }

    if (!lrclib) {
        if (path == "/query/get") {
            const int id = query.queryItemValue("s").toInt();
            reply(socket, 200, html, songPage(id, id != 40, id != 50));
            return;
        }
        static const QMap<QString, QList<int>> hits{{"zero", {}},
                                                    {"one", {11}},
                                                    {"three", {31, 32, 33}},
                                                    {"many", range(1, 1200)},
                                                    {"nofulltext", {40}},
                                                    {"noclick", {50}}};
        if (song == "noid") {
            reply(socket, 200, html, "<html><body>Search Results: 2 songs</body></html>");
        } else {
            reply(socket, 200, html, searchPage(theArtist ? QList<int>{} : hits.value(song, {11})));
        }
        return;
    }

    if (path == "/api/get") {
        QJsonObject one = lrclibRecord(601);
        if (song == "synced") {
            one.insert("syncedLyrics", "[00:01.00]Fetched one\n[00:02.00]Fetched two\n");
        } else if (song == "instrumental") {
            one = QJsonObject{{"id", 602},
                              {"instrumental", true},
                              {"plainLyrics", QJsonValue()},
                              {"syncedLyrics", QJsonValue()}};
        } else if (song == "badtypes") {
            one = QJsonObject{{"id", "x"}, {"plainLyrics", 5}, {"syncedLyrics", QJsonArray{1}}};
        } else {
            reply(socket, 404, jsonType, R"({"code":404,"name":"TrackNotFound"})");
            return;
        }
        reply(socket, 200, jsonType, json(one));
        return;
    }
    if (path.startsWith("/api/get/")) {
        reply(socket, 200, jsonType, json(lrclibRecord(path.mid(9).toInt())));
        return;
    }
    if (song == "malformed") {
        reply(socket, 200, jsonType, "[{\"id\": 1, \"trackName\": ");
        return;
    }
    static const QMap<QString, QList<int>> ids{{"zero", {}},
                                               {"one", {101}},
                                               {"three", {301, 302, 303}},
                                               {"many", range(1000, 1200)},
                                               {"emptyplain", {401}},
                                               {"syncedonly", {402}},
                                               {"instrumental", {}},
                                               {"Für Elise & Co", {501}}};
    QJsonArray list;
    for (const int id : theArtist ? QList<int>{} : ids.value(song, {101})) {
        list.append(lrclibRecord(id));
    }
    reply(socket, 200, jsonType, json(list));
}

}  // namespace marlo::test
