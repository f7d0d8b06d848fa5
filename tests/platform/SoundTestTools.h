#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QThread>
#include <functional>

#include "tests/support/SoundServer.h"

// Tools of the tests that play through a private sound server.
namespace marlo::soundtest {

// Qt connects to the sound server once per process, so each of these tests runs its body in a
// fresh copy of this program with only that test selected. Returns true in the parent, which
// has then checked the child's outcome.
inline bool ranInFreshProcess() {
    if (qEnvironmentVariableIsSet("MARLO_SOUND_TEST_CHILD")) {
        return false;
    }
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MARLO_SOUND_TEST_CHILD"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=%1.%2")
                     .arg(QString::fromLatin1(test->test_suite_name()),
                          QString::fromLatin1(test->name()))});
    const bool finished = child.waitForFinished(60000);
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_TRUE(finished) << output.toStdString();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
    return true;
}

// Runs the event loop until `done` holds or the limit passes; returns whether it held.
inline bool processEventsUntil(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

inline void useSoundServerAt(const QString& runtimeDir, const QString& server) {
    qputenv("XDG_RUNTIME_DIR", runtimeDir.toLocal8Bit());
    qputenv("PULSE_SERVER", server.toLocal8Bit());
}

inline double recordedRmsAmplitude(const QString& wav) {
    QProcess sox;
    sox.setProcessChannelMode(QProcess::MergedChannels);
    sox.start(QStringLiteral("sox"), {wav, QStringLiteral("-n"), QStringLiteral("stat")});
    sox.waitForFinished(10000);
    const QString report = QString::fromLocal8Bit(sox.readAll());
    for (const QString& line : report.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("RMS     amplitude:"))) {
            return line.section(QLatin1Char(':'), 1).trimmed().toDouble();
        }
    }
    ADD_FAILURE() << "sox said: " << report.toStdString();
    return 0.0;
}

// Points this process at `server` and returns the environment a child needs to reach it.
inline QProcessEnvironment useOwnSoundServer(const test::SoundServer& server) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    server.addTo(env);
    useSoundServerAt(env.value(QStringLiteral("XDG_RUNTIME_DIR")),
                     env.value(QStringLiteral("PULSE_SERVER")));
    return env;
}

// Records what the server plays into the WAV file `wav`. A short recording latency makes the
// null sink render in short blocks: a sink running far ahead replays the start of a stream that
// resumes after a silence over what it had rendered already, and its monitor, having passed on
// that silence, leaves the start out of the recording. 0 leaves the sink at its own latency
// (two seconds), as a player alone on it finds it.
inline bool startRecording(QProcess& recorder, const QProcessEnvironment& env, const QString& wav,
                           int latencyMs = 20) {
    recorder.setProcessEnvironment(env);
    QStringList arguments = {QStringLiteral("--device=test_sink.monitor"),
                             QStringLiteral("--file-format=wav"), wav};
    if (latencyMs > 0) {
        arguments.prepend(QStringLiteral("--latency-msec=%1").arg(latencyMs));
    }
    recorder.start(QStringLiteral("parecord"), arguments);
    return recorder.waitForStarted(5000);
}

}  // namespace marlo::soundtest
