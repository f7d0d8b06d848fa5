// CD database reply framing: a loopback server sends the input in pieces (split at 0xFF bytes)
// and hangs up; the line gathers one reply, single- or multi-line as the first byte says.
#include <QTcpServer>
#include <QTcpSocket>

#include "cd/CddbLine.h"
#include "platform/EventWait.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlo;
    if (size == 0) {
        return 0;
    }
    fuzz::ensureApplication();
    static QTcpServer server;
    if (!server.isListening() && !server.listen(QHostAddress::LocalHost)) {
        __builtin_trap();
    }
    const bool multiLine = (data[0] & 1) != 0;
    const QList<QByteArray> pieces = fuzz::bytes(data + 1, size - 1).split('\xff');

    CddbLine line;
    line.connectTo(QStringLiteral("127.0.0.1"), server.serverPort());
    QTcpSocket* peer = nullptr;
    waitWhileDispatching(
        [&] {
            if (peer == nullptr && server.hasPendingConnections()) {
                peer = server.nextPendingConnection();
            }
            return peer != nullptr && line.isConnected();
        },
        5000);
    if (peer == nullptr) {
        __builtin_trap();
    }
    for (const QByteArray& piece : pieces) {
        peer->write(piece);
        peer->flush();
        QCoreApplication::processEvents();
    }
    peer->disconnectFromHost();
    line.waitReply(multiLine, 5000);
    line.abort();
    delete peer;
    return 0;
}
