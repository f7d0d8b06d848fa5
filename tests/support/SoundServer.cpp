#include "tests/support/SoundServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

namespace marlo::test {

SoundServer::SoundServer() {
    QFile::setPermissions(runtime_.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    env.insert(QStringLiteral("HOME"), runtime_.path());
    server_.setProcessEnvironment(env);
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_.start(QStringLiteral("pulseaudio"),
                  {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                   QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--log-level=error"),
                   QStringLiteral("--load=module-native-protocol-unix"),
                   QStringLiteral("--load=module-null-sink sink_name=test_sink rate=44100 "
                                  "channels=2")});
    if (!server_.waitForStarted(5000)) {
        return;
    }
    // The socket appears once the server listens.
    const QString socket = runtime_.path() + QStringLiteral("/pulse/native");
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000 && !QFile::exists(socket)) {
        QThread::msleep(20);
    }
    ok_ = QFile::exists(socket);
}

SoundServer::~SoundServer() {
    server_.terminate();
    if (!server_.waitForFinished(3000)) {
        server_.kill();
        server_.waitForFinished(3000);
    }
}

void SoundServer::addTo(QProcessEnvironment& env) const {
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    env.insert(QStringLiteral("PULSE_SERVER"),
               QStringLiteral("unix:") + runtime_.path() + QStringLiteral("/pulse/native"));
}

}  // namespace marlo::test
