#include "tests/support/XSession.h"

#include <QElapsedTimer>
#include <QRect>
#include <QRegularExpression>
#include <QThread>

namespace marlo::test {

XSession::XSession() {
    // -displayfd lets the server pick a free display and tell us which.
    xvfb_.setProgram(QStringLiteral("Xvfb"));
    xvfb_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                        QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
    xvfb_.start();
    if (!xvfb_.waitForStarted(5000)) {
        return;
    }
    QElapsedTimer timer;
    timer.start();
    QByteArray out;
    while (timer.elapsed() < 10000 && !out.contains('\n')) {
        xvfb_.waitForReadyRead(200);
        out += xvfb_.readAllStandardOutput();
    }
    const QString number = QString::fromLatin1(out).trimmed();
    if (!number.isEmpty()) {
        display_ = QLatin1Char(':') + number;
    }
}

XSession::~XSession() {
    xvfb_.terminate();
    if (!xvfb_.waitForFinished(3000)) {
        xvfb_.kill();
        xvfb_.waitForFinished(3000);
    }
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

QString XSession::xdotool(const QStringList& args, int timeoutMs) const {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
    }
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QString XSession::waitForWindow(const QString& namePattern, int timeoutMs) const {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        const QString found = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                       QStringLiteral("--name"), namePattern});
        if (!found.isEmpty()) {
            return found.split(QLatin1Char('\n')).first();
        }
        QThread::msleep(100);
    }
    return {};
}

QRect XSession::geometry(const QString& window) const {
    const QString out =
        xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    auto field = [&](const char* name) {
        QRegularExpression re(QStringLiteral("%1=(-?\\d+)").arg(QLatin1String(name)));
        return re.match(out).captured(1).toInt();
    };
    return {field("X"), field("Y"), field("WIDTH"), field("HEIGHT")};
}

void XSession::focus(const QString& window) const {
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
}

void XSession::click(int x, int y) const {
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(x),
             QString::number(y), QStringLiteral("click"), QStringLiteral("1")});
}

void XSession::key(const QString& window, const QString& keys) const {
    focus(window);
    xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys});
}

}  // namespace marlo::test
