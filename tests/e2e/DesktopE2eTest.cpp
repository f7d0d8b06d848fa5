#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QUrl>
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

    QString playerctl(const QStringList& args) const;

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

// playerctl against the running program; its output trimmed.
QString DesktopE2e::playerctl(const QStringList& args) const {
    QProcess ctl;
    ctl.setProcessEnvironment(busEnvironment(bus.address()));
    ctl.start(QStringLiteral("playerctl"),
              QStringList{QStringLiteral("-p"), QStringLiteral("marlo")} + args);
    ctl.waitForFinished(5000);
    return QString::fromUtf8(ctl.readAllStandardOutput()).trimmed();
}

TEST_F(DesktopE2e, MediaPlayerInterfaceShowsAndDrivesThePlayer) {
    test::writeSineWav(media + "first.wav", 440, 6000);
    test::writeSineWav(media + "second.wav", 880, 6000);
    marlo.setArguments({media + "first.wav", media + "second.wav"});
    start(busEnvironment(bus.address()));
    ASSERT_FALSE(x.waitForWindow(QStringLiteral("^Marlo$")).isEmpty());
    // Loaded, not playing: one of the two.
    ASSERT_TRUE(waitFor([&] { return !playerctl({"metadata", "title"}).isEmpty(); }));
    const QString title = playerctl({"metadata", "title"});
    const QString other = title == "First" ? "Second" : "First";
    const QString file = title == "First" ? "first.wav" : "second.wav";
    EXPECT_EQ(playerctl({"status"}), "Stopped");

    QProcess monitor;
    monitor.setProcessEnvironment(busEnvironment(bus.address()));
    monitor.start(QStringLiteral("dbus-monitor"),
                  {QStringLiteral("type='signal',member='PropertiesChanged',path='/org/mpris/"
                                  "MediaPlayer2'")});
    ASSERT_TRUE(monitor.waitForStarted(3000));
    QThread::msleep(300);

    playerctl({"play"});
    ASSERT_TRUE(waitFor([&] { return playerctl({"status"}) == "Playing"; }));
    EXPECT_EQ(playerctl({"metadata", "mpris:length"}), "6000000");
    EXPECT_EQ(playerctl({"metadata", "xesam:url"}).toStdString(),
              QUrl::fromLocalFile(media + file).toString().toStdString());
    const QString firstTrack = playerctl({"metadata", "mpris:trackid"});
    EXPECT_TRUE(firstTrack.startsWith("'/org/marlo/Marlo/Track/")) << firstTrack.toStdString();

    playerctl({"position", "3"});
    EXPECT_TRUE(waitFor([&] { return playerctl({"position"}).toDouble() >= 3.0; }))
        << playerctl({"position"}).toStdString();
    playerctl({"pause"});
    EXPECT_TRUE(waitFor([&] { return playerctl({"status"}) == "Paused"; }));

    // From the first entry on, or back from the last.
    const char* away = title == "First" ? "next" : "previous";
    const char* back = title == "First" ? "previous" : "next";
    playerctl({away});
    EXPECT_TRUE(waitFor([&] { return playerctl({"metadata", "title"}) == other; }));
    EXPECT_NE(playerctl({"metadata", "mpris:trackid"}), firstTrack);
    playerctl({back});
    EXPECT_TRUE(waitFor([&] { return playerctl({"metadata", "title"}) == title; }));

    QThread::msleep(300);
    monitor.terminate();
    monitor.waitForFinished(3000);
    const QByteArray seen = monitor.readAllStandardOutput();
    EXPECT_TRUE(seen.contains("string \"Metadata\"")) << seen.toStdString();
    EXPECT_TRUE(seen.contains("string \"Paused\""));

    // Callers that mean no good get errors, and the player goes on as it was.
    QDBusConnection caller = QDBusConnection::connectToBus(bus.address(), "caller");
    const auto call = [&](const QString& method, const QVariantList& args) {
        QDBusMessage m = QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.marlo",
                                                        "/org/mpris/MediaPlayer2",
                                                        "org.mpris.MediaPlayer2.Player", method);
        m.setArguments(args);
        return caller.call(m, QDBus::Block, 3000).type();
    };
    const QString track = playerctl({"metadata", "mpris:trackid"}).remove('\'');
    EXPECT_EQ(call("SetPosition", {QVariant::fromValue(QDBusObjectPath("/org/marlo/Marlo/Track/0")),
                                   qlonglong(1000000)}),
              QDBusMessage::ErrorMessage);
    EXPECT_EQ(call("SetPosition", {QVariant::fromValue(QDBusObjectPath(track)), qlonglong(-1)}),
              QDBusMessage::ErrorMessage);
    EXPECT_EQ(call("OpenUri", {QStringLiteral("http://example.org/a.mp3")}),
              QDBusMessage::ErrorMessage);
    EXPECT_EQ(call("OpenUri", {QString(1 << 20, 'x')}), QDBusMessage::ErrorMessage);
    EXPECT_EQ(call("Seek", {QStringLiteral("far")}), QDBusMessage::ErrorMessage);
    EXPECT_EQ(playerctl({"metadata", "title"}), title);
    EXPECT_EQ(autoCollection(), "First\r\nSecond\r\n");

    // Quit closes as the Close button does.
    caller.call(QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.marlo",
                                               "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2",
                                               "Quit"));
    ASSERT_TRUE(marlo.waitForFinished(10000));
    EXPECT_EQ(marlo.exitCode(), 0);
}

// What the command line names goes through the drop, which says what it cannot take.
TEST_F(DesktopE2e, AMissingPathOrATextFileOnTheCommandLineGetsTheDropsMessage) {
    marlo.setArguments({media + "gone.wav"});
    start(busEnvironment(bus.address()));
    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
    ASSERT_FALSE(main.isEmpty());
    QString message = x.waitForWindow(QStringLiteral("^Drag & Drop$"));
    ASSERT_FALSE(message.isEmpty()) << "no message for a missing file";
    x.key(message, QStringLiteral("Return"));
    ASSERT_TRUE(waitFor([&] { return x.waitForWindow("^Drag & Drop$", 300).isEmpty(); }));

    test::writeFile(media + "notes.txt", "not music");
    QProcess second;
    second.setProcessEnvironment(busEnvironment(bus.address()));
    second.start(program + "marlo", {media + "notes.txt"});
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_EQ(second.exitCode(), 0);
    message = x.waitForWindow(QStringLiteral("^Drag & Drop$"));
    ASSERT_FALSE(message.isEmpty()) << "no message for a text file";
    x.key(message, QStringLiteral("Return"));
    EXPECT_EQ(marlo.state(), QProcess::Running);
    EXPECT_FALSE(autoCollection().contains("Notes"));
    EXPECT_FALSE(autoCollection().contains("Gone"));
}

TEST_F(DesktopE2e, WithoutASessionBusASecondStartIsAPlayerOfItsOwn) {
    start(busEnvironment(bus.address()));
    ASSERT_FALSE(x.waitForWindow(QStringLiteral("^Marlo$")).isEmpty());
    QProcess second;
    second.setProcessEnvironment(
        busEnvironment(QStringLiteral("unix:path=") + dir.path() + "/no-bus"));
    second.start(program + "marlo", {media + "second.wav"});
    ASSERT_TRUE(second.waitForStarted(5000));
    const QString own = x.xdotool(
        {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
         QStringLiteral("--pid"), QString::number(second.processId()), QStringLiteral("--name"),
         QStringLiteral("^Marlo$")},
        15000);
    EXPECT_FALSE(own.isEmpty()) << "the second start shows no window of its own";
    EXPECT_EQ(second.state(), QProcess::Running);
    second.kill();
    second.waitForFinished(3000);
}

}  // namespace
}  // namespace marlo
