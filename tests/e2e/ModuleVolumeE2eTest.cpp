#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <iostream>

#include "app/VolumeBar.h"
#include "library/ItemStore.h"
#include "platform/Prompts.h"
#include "platform/Twips.h"
#include "skins/SkinRegister.h"
#include "tests/e2e/ProgramFixture.h"
#include "tests/support/AudioAnalysis.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

// What a stretch of the recording held: its loudest sample and how much of it sounded.
struct Heard {
    double peak = 0;           // 0..1 of full scale
    double soundSeconds = 0;   // slices of 50 ms with sound in them
    double silentSeconds = 0;  // slices without any
};

// The program as a user who added one tracker module has it, in the Standard skin: the module
// plays as the program tags modules, through the module library, and "Repeat all" keeps it on.
class ModuleVolumeE2e : public test::ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        const QString song = dir.path() + "/song.xm";
        ASSERT_TRUE(QFile::copy(test::testdata("modules/libxmp_read_event_ft2.xm"), song));
        QDir().mkpath(program + "Data");
        UnattendedPrompts unattended;
        SkinRegister(program, unattended).writeDefaults();
        test::ScriptedPrompts prompts;
        ItemStore store(program + "Data/Marlo.zip", prompts);
        store.putItemRecord({MediaKind::Audio, "Song", song, "Tracker", "mod"});
        ASSERT_TRUE(store.commit());
        test::writeFile(program + "Data/Audio.dat", "Mix\r\n");
        test::writeFile(program + "Data/aMix.dat", "Song\r\n");
        test::writeFile(
            program + "Set.cfg",
            "0\r\n0\r\n-1\r\n6\r\n0\r\n0\r\n1500\r\n1500\r\n0|0\r\n12\r\n1\r\n0\r\n1\r\n"
            "0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\nStandard\r\n\r\nTrue\r\n");
        test::writeFile(program + "SkinName.ini", "Vantel's Design\r\nStandard\r\n");
    }

    // Records what the sound server plays for a while.
    Heard hear(double seconds) {
        const QString path = dir.path() + QStringLiteral("/heard%1.wav").arg(++recordings_);
        QProcess recorder;
        recorder.setProcessEnvironment(environment());
        recorder.start(QStringLiteral("parecord"), {QStringLiteral("--device=test_sink.monitor"),
                                                    QStringLiteral("--file-format=wav"), path});
        EXPECT_TRUE(recorder.waitForStarted(5000));
        QThread::msleep(static_cast<unsigned long>(seconds * 1000));
        recorder.terminate();
        recorder.waitForFinished(5000);
        Heard heard;
        const QByteArray wav = test::readFile(path);
        const auto format = test::wavFormat(wav);
        if (!format) {
            ADD_FAILURE() << "nothing was recorded";
            return heard;
        }
        const auto* samples = reinterpret_cast<const qint16*>(wav.constData() + format->dataStart);
        const qsizetype count = (wav.size() - format->dataStart) / 2;
        for (qsizetype i = 0; i < count; ++i) {
            heard.peak = std::max(heard.peak, std::abs(samples[i]) / 32768.0);
        }
        for (const test::AudioSlice& slice : test::analyseWav(path, 0.05)) {
            (slice.rms > 0.005 ? heard.soundSeconds : heard.silentSeconds) += 0.05;
        }
        return heard;
    }

    // The screen now, and where on it the main window lies.
    QImage screen() {
        QProcess import;
        import.setProcessEnvironment(x.environment());
        import.start(QStringLiteral("import"),
                     {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
        import.waitForFinished(15000);
        return QImage::fromData(import.readAllStandardOutput(), "PNG")
            .convertToFormat(QImage::Format_RGB32);
    }

    // Where the thumb of `VScroll1` is seen: the middle of the pixels of its face, as a share
    // of the bar's height from its top; -1 when no thumb shows. Keeps the shot for a person.
    double thumbOnScreen(const char* shotName) {
        const QImage shot = screen();
        const QString folder = QStringLiteral(MARLO_PROGRAM_DIR) + "/../screenshots";
        QDir().mkpath(folder);
        shot.copy(window).save(folder + "/" + shotName + ".png");
        double sum = 0;
        int rows = 0;
        for (int y = bar.top(); y <= bar.bottom(); ++y) {
            if (shot.pixel(bar.center().x(), y) == VolumeBar::kThumbColour) {
                sum += y;
                ++rows;
            }
        }
        return rows == 0 ? -1.0 : (sum / rows - bar.top()) / bar.height();
    }

    void drag(int fromY, int toY) {
        const QString cx = QString::number(bar.center().x());
        x.xdotool({"mousemove", "--sync",
                   cx,          QString::number(fromY),
                   "mousedown", "1",
                   "sleep",     "0.2",
                   "mousemove", "--sync",
                   cx,          QString::number((fromY + toY) / 2),
                   "sleep",     "0.2",
                   "mousemove", "--sync",
                   cx,          QString::number(toY),
                   "sleep",     "0.2",
                   "mouseup",   "1"});
    }
    void wheel(int button, int notches) {
        x.xdotool({"mousemove", "--sync", QString::number(bar.center().x()),
                   QString::number(bar.center().y()), "click", "--repeat", QString::number(notches),
                   "--delay", "40", QString::number(button)});
        QThread::msleep(300);
    }

    QRect window;  // the main window on the screen
    QRect bar;     // `VScroll1` on the screen
    int recordings_ = 0;
};

// The bar shows the level with 1000 at the top; dragging, the wheel, its arrows and the arrow
// keys move it the way they point, and the module's sound follows without ever clipping. The
// song has rests of up to 0.6 s: every two seconds of it hold some sound.
TEST_F(ModuleVolumeE2e, TheBarShowsAndSetsTheLevelTheModuleIsHeardAt) {
    start();
    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
    ASSERT_FALSE(main.isEmpty());
    window = x.geometry(main);
    // Where the Standard skin places the bar: left 5030, top 170, 200 by 1220 twips.
    bar = QRect(window.x() + twipsToPixels(5030), window.y() + twipsToPixels(170),
                twipsToPixels(200), twipsToPixels(1220));
    QThread::msleep(500);

    // At the start level of 100 the module plays at its own level, its thumb low on the bar.
    const double atStart = thumbOnScreen("module-volume-100");
    const Heard own = hear(3.0);
    std::cout << "level 100: thumb at " << atStart << ", peak " << own.peak << ", "
              << own.soundSeconds << " s of sound" << std::endl;
    ASSERT_GT(atStart, 0.5) << "no thumb low on the bar";
    EXPECT_GE(own.soundSeconds, 0.4) << "the module was not heard";
    EXPECT_LT(own.peak, 0.5);

    // The thumb dragged to the top: the loudest level, and still no sample at full scale.
    drag(bar.top() + static_cast<int>(atStart * bar.height()), bar.top() - 20);
    const double top = thumbOnScreen("module-volume-1000");
    const Heard loudest = hear(2.0);
    std::cout << "level 1000: thumb at " << top << ", peak " << loudest.peak << std::endl;
    ASSERT_GE(top, 0);
    EXPECT_LT(top, 0.3);
    EXPECT_GT(loudest.peak, 0.8) << "the top of the bar is not louder";
    EXPECT_LE(loudest.peak, 0.892) << "the top of the bar clips";

    // The wheel turned down, far enough: the thumb at the bottom, the module silent.
    wheel(5, 40);
    const double bottom = thumbOnScreen("module-volume-0");
    EXPECT_GT(bottom, atStart);
    EXPECT_EQ(hear(2.0).soundSeconds, 0.0) << "sound at level 0";
    // From here on the thumb is read as a level, between the ends just seen.
    const auto level = [&](const char* shot) {
        return 1000 * (bottom - thumbOnScreen(shot)) / (bottom - top);
    };
    EXPECT_NEAR(1000 * (bottom - atStart) / (bottom - top), 100, 30);

    // The up arrow, ten times: back to 100, heard again at the module's own level.
    x.xdotool({"mousemove", "--sync", QString::number(bar.center().x()),
               QString::number(bar.top() + 3), "click", "--repeat", "10", "--delay", "60", "1"});
    QThread::msleep(300);
    EXPECT_NEAR(level("module-volume-arrow"), 100, 30);
    const Heard back = hear(2.0);
    EXPECT_GT(back.soundSeconds, 0.0);
    EXPECT_LT(back.peak, 0.5);

    // The click gave the bar the focus: the Up key raises it, and so does the wheel turned up.
    x.xdotool({"key", "--repeat", "10", "--delay", "40", "Up"});
    QThread::msleep(300);
    EXPECT_NEAR(level("module-volume-keys"), 200, 30);
    wheel(4, 5);
    EXPECT_NEAR(level("module-volume-wheel-up"), 350, 30);

    x.key(main, QStringLiteral("alt+F4"));
    EXPECT_TRUE(marlo.waitForFinished(15000));
}

}  // namespace
}  // namespace marlo
