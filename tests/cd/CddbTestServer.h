#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

namespace marlo::test {

// A CD database server on loopback speaking the line protocol: greeting, "cddb hello",
// "cddb query", "cddb read", "cddb lscat", "sites", "motd", "quit". It serves xmcd entries from
// folders named by category and replays recorded replies. Its behaviour can be made to fail the
// way real servers and networks do.
class CddbTestServer : public QObject {
    Q_OBJECT
  public:
    enum class Behaviour {
        Normal,
        BareLf,         // every line ends with LF alone
        Slow,           // each reply a while later, list replies in several pieces
        Silent,         // accepts the connection and never answers
        NoHelloReply,   // greets, then answers nothing
        Garbage,        // answers every line with bytes that are no protocol
        CloseMidReply,  // closes the connection halfway through an entry
        NoTerminator,   // never sends the "." that ends an entry
        Huge,           // streams 10 MB of entry lines
    };

    explicit CddbTestServer(QObject* parent = nullptr);

    bool listen(quint16 port = 0);
    quint16 port() const { return server_.serverPort(); }
    void setBehaviour(Behaviour behaviour) { behaviour_ = behaviour; }

    // Every file of every sub-folder of `root` is an entry; the folder names the category.
    void loadEntries(const QString& root);
    void addEntry(const QString& category, const QString& discId, const QByteArray& xmcd);
    // A curl transcript of a real server: its body becomes the reply to the command.
    void replayQuery(const QString& discId, const QString& transcriptFile);
    void replayRead(const QString& category, const QString& discId, const QString& transcript);
    // Answers every query with this text instead of looking the disc up.
    void setQueryReply(const QByteArray& reply) { queryReply_ = reply; }
    // "cddb lscat" and "sites" answer with lists that hold no line.
    void setEmptyLists(bool empty) { emptyLists_ = empty; }

    // Lines received, in order, over all connections.
    QStringList received;

  private:
    void accept();
    void handleLine(QTcpSocket* socket, const QByteArray& line);
    QByteArray queryReply(const QList<QByteArray>& words) const;
    QByteArray readReply(const QList<QByteArray>& words) const;
    void reply(QTcpSocket* socket, const QByteArray& text, bool list);

    QTcpServer server_;
    Behaviour behaviour_ = Behaviour::Normal;
    QHash<QString, QByteArray> entries_;  // "category discid" -> xmcd text
    QHash<QString, QByteArray> recordedQueries_;
    QHash<QString, QByteArray> recordedReads_;
    QByteArray queryReply_;
    bool emptyLists_ = false;
    QHash<QTcpSocket*, bool> greeted_;
};

// The body of a curl transcript: every line that is not curl's own, each ended with CR LF.
QByteArray transcriptBody(const QString& file);

}  // namespace marlo::test
