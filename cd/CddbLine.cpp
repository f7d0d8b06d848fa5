#include "cd/CddbLine.h"

#include "base/Catalogue.h"
#include "base/EventWait.h"
#include "base/texts/CdTexts.h"
#include "platform/TextCodec.h"

namespace marlo {

CddbLine::CddbLine(QObject* parent) : QObject(parent) {
    connect(&socket_, &QTcpSocket::readyRead, this, &CddbLine::readIncoming);
    connect(&socket_, &QTcpSocket::disconnected, this, &CddbLine::connectionLost);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &CddbLine::connectionLost);
}

void CddbLine::connectTo(const QString& host, quint16 port) {
    quitSent_ = false;
    lastWasCr_ = false;
    socket_.connectToHost(host, port);
}

void CddbLine::abort() {
    socket_.abort();
}

void CddbLine::cancel() {
    if (waiting_) {
        waiting_ = false;
        timedOut_ = true;
    }
    socket_.abort();
}

void CddbLine::send(const QString& text) {
    emit dataSent(text, static_cast<int>(text.size()));
    if (text.startsWith(QLatin1String("quit"))) {
        quitSent_ = true;
    }
    socket_.write(encodeText(text));
}

std::optional<QString> CddbLine::waitReply(bool multiLine, int timeoutMs) {
    buffer_.clear();
    multiLine_ = multiLine;
    waiting_ = true;
    timedOut_ = false;
    if (!waitWhileDispatching([this] { return !waiting_; }, timeoutMs) && waiting_) {
        expire();
    }
    multiLine_ = false;
    if (timedOut_) {
        return std::nullopt;
    }
    // Current servers send UTF-8; older entries are in the Windows code page.
    return decodeText(buffer_);
}

void CddbLine::readIncoming() {
    const QByteArray piece = socket_.readAll();
    if (piece.isEmpty()) {
        return;
    }
    emit dataSent(decodeText(piece), static_cast<int>(piece.size()));
    if (!waiting_) {
        return;
    }
    // Some servers end lines with a bare LF; read them like CR LF, also across pieces.
    for (char c : piece) {
        if (c == '\n' && !lastWasCr_) {
            buffer_.append('\r');
        }
        buffer_.append(c);
        lastWasCr_ = c == '\r';
    }
    if (buffer_.size() > kMaxReplyBytes) {
        expire();
        return;
    }
    if (replyComplete()) {
        waiting_ = false;
    }
}

bool CddbLine::replyComplete() const {
    const qsizetype firstEnd = buffer_.indexOf("\r\n");
    if (firstEnd < 0) {
        return false;
    }
    if (!multiLine_) {
        return true;
    }
    // Only 21x replies carry a list; any other code is the whole reply in one line.
    if (!buffer_.startsWith("21")) {
        return true;
    }
    return buffer_.endsWith("\r\n.\r\n");
}

void CddbLine::connectionLost() {
    if (socket_.bytesAvailable() > 0) {
        readIncoming();
    }
    if (waiting_) {
        // Refused, unreachable or closed in the middle of a reply: no answer will come.
        expire();
    } else if (socket_.state() != QAbstractSocket::UnconnectedState &&
               socket_.error() == QAbstractSocket::RemoteHostClosedError) {
        socket_.close();
    }
}

void CddbLine::expire() {
    waiting_ = false;
    timedOut_ = true;
    socket_.abort();
    emit dataSent(Catalogue::text(texts::cd::kTimeoutNotice), 7);
}

}  // namespace marlo
