#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

#include "tests/e2e/ProgramFixture.h"
#include "tests/support/AudioAnalysis.h"
#include "tests/support/SessionBus.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

// The program on a session bus of its own, with a configuration that asks nothing at start.
class DesktopE2e : public test::ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        ASSERT_TRUE(bus.ok()) << "no dbus-daemon";
        test::writeFile(program + "Set.cfg",
                        "0\r\n1\r\n3\r\n6\r\n1\r\n150\r\n1500\r\n1500\r\n2|4\r\n10\r\n0\r\n0\r\n"
                        "1\r\n0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n80\r\nStandard\r\n\r\nFalse\r\n");
        test::writeFile(program + "SkinName.ini", "Vantel's Design\r\nStandard\r\n");
        QDir().mkpath(program + "Data");
        media = dir.path() + "/media/";
        QDir().mkpath(media);
        test::writeSineWav(media + "first.wav", 440, 500);
        test::writeSineWav(media + "second.wav", 880, 500);
    }

    QProcessEnvironment busEnvironment(const QString& address) const {
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        return env;
    }

    // The titles of the main window's drops so far.
    QByteArray autoCollection() const {
        return test::readFile(program + "Data/aAuto collection.dat");
    }

    bool waitFor(const std::function<bool()>& condition, int timeoutMs = 8000) const {
        QElapsedTimer timer;
        timer.start();
        while (!condition() && timer.elapsed() < timeoutMs) {
            QThread::msleep(100);
        }
        return condition();
    }

    test::SessionBus bus;
    QString media;
};

TEST_F(DesktopE2e, FilesOfTheCommandLineAndOfASecondStartGoToTheRunningPlayer) {
    marlo.setArguments({media + "first.wav"});
    start(busEnvironment(bus.address()));
    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
    ASSERT_FALSE(main.isEmpty());
    EXPECT_TRUE(waitFor([&] { return autoCollection().contains("First"); }))
        << autoCollection().toStdString();

    // Relative to the second start's folder, as a shell gives it.
    QProcess second;
    second.setProcessEnvironment(busEnvironment(bus.address()));
    second.setWorkingDirectory(media);
    QElapsedTimer timer;
    timer.start();
    second.start(program + "marlo", {QStringLiteral("second.wav")});
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(waitFor([&] { return autoCollection().contains("Second"); }))
        << autoCollection().toStdString();
    EXPECT_EQ(marlo.state(), QProcess::Running);

    x.key(main, QStringLiteral("alt+F4"));
    ASSERT_TRUE(marlo.waitForFinished(15000));
    EXPECT_EQ(marlo.exitCode(), 0);
}

TEST_F(DesktopE2e, WithoutASessionBusASecondStartIsAPlayerOfItsOwn) {
    start(busEnvironment(QStringLiteral("unix:path=") + dir.path() + "/no-bus"));
    EXPECT_FALSE(x.waitForWindow(QStringLiteral("^Marlo$")).isEmpty());
}

}  // namespace
}  // namespace marlo
