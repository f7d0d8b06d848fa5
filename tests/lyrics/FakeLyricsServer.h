#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <ostream>

class QTcpSocket;

namespace marlo::test {

// A lyrics server on loopback that speaks both protocols. The song value of a request (the
// "song" of a search page query, the "track_name" of an LRCLIB search) picks what it answers:
// zero, one, three, many (1200 hits), noid, nofulltext, noclick, emptyplain, syncedonly,
// nonascii, malformed, and the bad answers slow, silent, midbody, huge, hugedeclared, 404, 500.
// LRCLIB's "/api/get" by track name: synced (a record with synced lyrics), instrumental and
// badtypes; any other name is not found there (404), so the search answers.
// A search for an artist beginning with "The" finds nothing.
class FakeLyricsServer : public QObject {
    Q_OBJECT

  public:
    FakeLyricsServer();

    quint16 port() const { return server_.serverPort(); }
    QString classicEntry() const;  // "127.0.0.1:port"
    QString lrclibEntry() const;   // "http://127.0.0.1:port"
    // The request targets received, in order, and the User-Agent of the last request.
    const QStringList& log() const { return log_; }
    const QByteArray& userAgent() const { return userAgent_; }

  private:
    void serve(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QByteArray& target);
    void reply(QTcpSocket* socket, int status, const QByteArray& type, const QByteArray& body);

    QTcpServer server_;
    QStringList log_;
    QByteArray userAgent_;
};

// The lyrics the song pages and records of the server give, in their stored form.
QString lyricsOfClassicSong(int id);

}  // namespace marlo::test

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
