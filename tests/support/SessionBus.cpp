#include "tests/support/SessionBus.h"

#include <QElapsedTimer>

namespace marlo::test {

SessionBus::SessionBus() {
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--nosyslog"), QStringLiteral("--print-address=1")});
    if (!daemon_.waitForStarted(5000)) {
        return;
    }
    QElapsedTimer timer;
    timer.start();
    QByteArray out;
    while (timer.elapsed() < 5000 && !out.contains('\n')) {
        daemon_.waitForReadyRead(100);
        out += daemon_.readAllStandardOutput();
    }
    address_ = QString::fromUtf8(out).trimmed();
}

SessionBus::~SessionBus() {
    daemon_.terminate();
    if (!daemon_.waitForFinished(3000)) {
        daemon_.kill();
        daemon_.waitForFinished(3000);
    }
}

}  // namespace marlo::test
