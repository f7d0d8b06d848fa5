#pragma once

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/support/SoundServer.h"
#include "tests/support/XSession.h"

namespace marlo::test {

// The real program, copied into a fresh program folder, under its own X server and sound server.
class ProgramFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << "Xvfb did not start";
        ASSERT_TRUE(sound.ok()) << "PulseAudio did not start";
        program = dir.path() + "/Marlo/";
        const QString built = QFileInfo(QStringLiteral(MARLO_EXECUTABLE)).absolutePath();
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), built, program});
        ASSERT_TRUE(QFileInfo(program + "marlo").isExecutable());
    }

    void TearDown() override {
        if (marlo.state() != QProcess::NotRunning) {
            marlo.kill();
            marlo.waitForFinished(3000);
        }
    }

    // What the program runs with: this X server and sound server, a home of its own, and no
    // desktop editor for the read-me.
    QProcessEnvironment environment() const {
        QProcessEnvironment env = x.environment();
        sound.addTo(env);
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.path() + "/xdg");
        env.insert(QStringLiteral("BROWSER"), QStringLiteral("true"));
        return env;
    }

    void start(const QProcessEnvironment& env) {
        marlo.setProcessEnvironment(env);
        marlo.setProgram(program + "marlo");
        marlo.setWorkingDirectory(dir.path());
        marlo.start();
        ASSERT_TRUE(marlo.waitForStarted(5000));
    }
    void start() { start(environment()); }

    XSession x;
    SoundServer sound;
    QTemporaryDir dir;
    QString program;
    QProcess marlo;
};

}  // namespace marlo::test
