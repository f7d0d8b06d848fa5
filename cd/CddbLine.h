#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <optional>

namespace marlo {

// One TCP connection to a CD database server and the wait for its replies. Every text sent and
// every piece received is reported through `dataSent`, also when it arrives after the caller has
// stopped waiting (the server's farewell to "quit"). Waits dispatch window events meanwhile.
class CddbLine : public QObject {
    Q_OBJECT
  public:
    // A server that streams without end is cut off here and handled like a silent one.
    static constexpr qsizetype kMaxReplyBytes = 1024 * 1024;

    explicit CddbLine(QObject* parent = nullptr);

    bool isClosed() const { return socket_.state() == QAbstractSocket::UnconnectedState; }
    bool isConnected() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    // True once "quit" went out on the current connection: the server is about to close it.
    bool quitSent() const { return quitSent_; }

    void connectTo(const QString& host, quint16 port);
    void abort();
    // Ends a running wait at once (as a time-out does, without its notice) and closes the
    // connection.
    void cancel();
    // Sends the text unchanged and reports it.
    void send(const QString& text);
    void clearBuffer() { buffer_.clear(); }

    // Waits for one reply: single-line until a line end has arrived, multi-line until the
    // terminating "." line (or a first line whose code announces no list). The reply, or nullopt
    // when the time ran out, the reply grew past the bound, or the connection failed: then the
    // socket is closed and "Timeout" is reported.
    std::optional<QString> waitReply(bool multiLine, int timeoutMs);

  signals:
    void dataSent(const QString& text, int length);

  private:
    void readIncoming();
    void connectionLost();
    void expire();
    bool replyComplete() const;

    QTcpSocket socket_;
    QByteArray buffer_;  // line ends made CR LF
    bool waiting_ = false;
    bool timedOut_ = false;
    bool multiLine_ = false;
    bool lastWasCr_ = false;
    bool quitSent_ = false;
};

}  // namespace marlo
