#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRegion>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

#include "tests/support/AudioAnalysis.h"
#include "tests/support/SessionBus.h"
#include "tests/support/SkinPictures.h"
#include "tests/support/SoundServer.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < timeoutMs) {
        QThread::msleep(100);
    }
    return condition();
}

// The real program as a native Wayland client of a headless weston with a socket and runtime
// folder of its own. Headless weston has no seat, so nothing can press a button there: the
// program is closed over its media player interface, which closes as the Close button does,
// and the outline's input region is read from what the program tells the compositor.
class WaylandE2e : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty()) {
            GTEST_SKIP() << "weston is not installed (Debian package weston): no Wayland test";
        }
        ASSERT_TRUE(sound.ok()) << "PulseAudio did not start";
        ASSERT_TRUE(bus.ok()) << "no dbus-daemon";
        runtime = dir.path() + "/run";
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        socket = QStringLiteral("marlo-test-%1").arg(QCoreApplication::applicationPid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        weston.setProcessEnvironment(env);
        weston.setProcessChannelMode(QProcess::MergedChannels);
        // --debug offers the screenshooter; pixman renders, so there is something to shoot.
        weston.start(
            QStringLiteral("weston"),
            {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--use-pixman"),
             QStringLiteral("--socket=") + socket, QStringLiteral("--width=1024"),
             QStringLiteral("--height=768"), QStringLiteral("--no-config"),
             QStringLiteral("--idle-time=0"), QStringLiteral("--debug")});
        ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(runtime + "/" + socket); }, 10000))
            << weston.readAll().toStdString();

        program = dir.path() + "/Marlo/";
        const QString built = QFileInfo(QStringLiteral(MARLO_EXECUTABLE)).absolutePath();
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), built, program});
        QDir().mkpath(program + "Data");
    }

    void TearDown() override {
        for (QProcess* p : {&marlo, &weston}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(3000)) {
                    p->kill();
                    p->waitForFinished(3000);
                }
            }
        }
    }

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        sound.addTo(env);
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), socket);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.path() + "/xdg");
        env.insert(QStringLiteral("BROWSER"), QStringLiteral("true"));
        return env;
    }

    void start(const QStringList& args, const QProcessEnvironment& env) {
        marlo.setProcessEnvironment(env);
        marlo.setWorkingDirectory(dir.path());
        marlo.start(program + "marlo", args);
        ASSERT_TRUE(marlo.waitForStarted(5000));
    }

    // The compositor's whole output, as weston's screenshooter saves it.
    QImage screenshot() const {
        const QString folder = dir.path() + "/shots";
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        QProcess shooter;
        shooter.setProcessEnvironment(environment());
        shooter.setWorkingDirectory(folder);
        shooter.start(QStringLiteral("weston-screenshooter"), QStringList());
        shooter.waitForFinished(10000);
        const QStringList shots = QDir(folder).entryList({QStringLiteral("*.png")});
        return shots.isEmpty() ? QImage() : QImage(folder + "/" + shots.first());
    }

    // The bounding box of the pixels of one colour.
    static QRect areaOf(const QImage& shot, QRgb colour) {
        QRect box;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                if (shot.pixel(x, y) == colour) {
                    box |= QRect(x, y, 1, 1);
                }
            }
        }
        return box;
    }

    // playerctl on the program's bus; its output trimmed.
    QString playerctl(const QString& command) const {
        QProcess ctl;
        ctl.setProcessEnvironment(environment());
        ctl.start(QStringLiteral("playerctl"),
                  {QStringLiteral("-p"), QStringLiteral("marlo"), command});
        ctl.waitForFinished(5000);
        return QString::fromUtf8(ctl.readAllStandardOutput()).trimmed();
    }

    test::SoundServer sound;
    test::SessionBus bus;
    QTemporaryDir dir;
    QString runtime;
    QString socket;
    QString program;
    QProcess weston;
    QProcess marlo;
};

TEST_F(WaylandE2e, TheMainWindowShowsPlaysAndCloses) {
    test::writeFile(program + "Set.cfg",
                    "0\r\n1\r\n3\r\n6\r\n1\r\n150\r\n1500\r\n1500\r\n2|4\r\n10\r\n0\r\n0\r\n"
                    "1\r\n0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n80\r\nStandard\r\n\r\nFalse\r\n");
    test::writeFile(program + "SkinName.ini", "Vantel's Design\r\nStandard\r\n");
    const QString wav = dir.path() + "/tone.wav";
    test::writeSineWav(wav, 440, 20000);
    const QString recording = dir.path() + "/rec.wav";
    QProcess recorder;
    recorder.setProcessEnvironment(environment());
    recorder.start(QStringLiteral("parecord"), {QStringLiteral("--device=test_sink.monitor"),
                                                QStringLiteral("--file-format=wav"), recording});
    ASSERT_TRUE(recorder.waitForStarted(5000));

    start({wav}, environment());
    // The default skin's dark display, drawn by the program and shown by the compositor.
    const QRgb display = qRgb(40, 44, 52);
    QImage shot;
    ASSERT_TRUE(waitFor([&] { return areaOf(shot = screenshot(), display).width() > 100; }, 15000))
        << "no main window on weston";

    playerctl("play");
    ASSERT_TRUE(waitFor([&] { return playerctl("status") == "Playing"; }, 10000));
    QThread::msleep(1500);
    recorder.terminate();
    recorder.waitForFinished(3000);
    bool heard = false;
    for (const test::AudioSlice& s : test::analyseWav(recording, 0.1)) {
        heard = heard || (s.rms > 0.05 && std::abs(s.frequency - 440) < 20);
    }
    EXPECT_TRUE(heard) << "the tone was not heard";

    // What the Close button does; nothing can press it on a compositor without a seat.
    QDBusConnection::connectToBus(bus.address(), "caller")
        .call(QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.marlo",
                                             "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2",
                                             "Quit"));
    ASSERT_TRUE(marlo.waitForFinished(15000)) << "the program did not close";
    EXPECT_EQ(marlo.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(marlo.exitCode(), 0) << marlo.readAllStandardError().right(6000).toStdString();
}

// The input region the program last gave one of its surfaces, from its protocol log.
QRegion inputRegion(const QByteArray& log) {
    static const QRegularExpression create(
        QStringLiteral("create_region\\(new id wl_region@(\\d+)"));
    static const QRegularExpression add(
        QStringLiteral("wl_region@(\\d+)\\.add\\((-?\\d+), (-?\\d+), (\\d+), (\\d+)\\)"));
    static const QRegularExpression set(QStringLiteral("set_input_region\\(wl_region@(\\d+)\\)"));
    QMap<QString, QRegion> regions;
    QRegion last;
    for (const QByteArray& bytes : log.split('\n')) {
        const QString line = QString::fromUtf8(bytes);
        if (const auto m = create.match(line); m.hasMatch()) {
            regions[m.captured(1)] = QRegion();
        } else if (const auto m = add.match(line); m.hasMatch()) {
            regions[m.captured(1)] += QRect(m.captured(2).toInt(), m.captured(3).toInt(),
                                            m.captured(4).toInt(), m.captured(5).toInt());
        } else if (const auto m = set.match(line); m.hasMatch()) {
            last = regions.value(m.captured(1));
        }
    }
    return last;
}

// A pentagon: its top corners are cut off.
TEST_F(WaylandE2e, ADesignSkinsOutlineIsSeeThroughAndTakesInputOnlyInside) {
    const test::DesignSkin design = test::writeDesignSkin(
        dir.path() + "/players",
        "NumberOfWindowShapePoints=5\r\nP1x=100\r\nP1y=0\r\nP2x=200\r\nP2y=40\r\n"
        "P3x=200\r\nP3y=100\r\nP4x=0\r\nP4y=100\r\nP5x=0\r\nP5y=40\r\n");
    test::writeFile(program + "Set.cfg",
                    "0\r\n0\r\n-1\r\n-1\r\n0\r\n0\r\n1500\r\n1500\r\n0|-1\r\n12\r\n0\r\n0\r\n"
                    "1\r\n0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\nOcean\r\n\r\nTrue\r\n");
    test::writeFile(program + "SkinName.ini", "Ocean\r\n");
    test::writeFile(program + "Skins.ini",
                    "[Ocean]\r\nDesignPath=" + design.designPath.toUtf8() + "\r\n");
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("WAYLAND_DEBUG"), QStringLiteral("client"));
    marlo.setStandardErrorFile(dir.path() + "/wayland.log");
    start({}, env);

    QImage shot;
    QRect window;
    ASSERT_TRUE(waitFor(
        [&] {
            window = areaOf(shot = screenshot(), design.background.rgb());
            // The apex of the pentagon may be less than a pixel wide.
            return window.width() == design.window.width() && window.bottom() - window.top() >= 95;
        },
        15000))
        << "no skinned window on weston";
    // Outside the outline the desktop shows through: neither the skin nor an opaque fill.
    const QColor desktop = shot.pixelColor(window.topLeft() - QPoint(20, 20));
    for (const QPoint outside : {QPoint(3, 3), QPoint(196, 3)}) {
        const QColor seen = shot.pixelColor(window.topLeft() + outside);
        const int apart = std::abs(seen.red() - desktop.red()) +
                          std::abs(seen.green() - desktop.green()) +
                          std::abs(seen.blue() - desktop.blue());
        EXPECT_LT(apart, 60) << outside.x() << "," << outside.y() << " shows "
                             << seen.name().toStdString() << ", the desktop "
                             << desktop.name().toStdString();
    }
    EXPECT_EQ(shot.pixel(window.topLeft() + QPoint(100, 50)), design.background.rgb());

    // The compositor sends presses only inside the input region: the outline.
    const QRegion input = inputRegion(test::readFile(dir.path() + "/wayland.log"));
    EXPECT_TRUE(input.contains(QPoint(100, 50)));
    EXPECT_TRUE(input.contains(QPoint(3, 60)));
    EXPECT_FALSE(input.contains(QPoint(3, 3)));
    EXPECT_FALSE(input.contains(QPoint(196, 3)));
}

}  // namespace
}  // namespace marlo
