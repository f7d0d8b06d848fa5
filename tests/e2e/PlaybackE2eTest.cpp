#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "library/ItemStore.h"
#include "tests/e2e/ProgramFixture.h"
#include "tests/support/AudioAnalysis.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

// A user's library as the collection editor leaves it: the collection "Mix" of four audio items
// (the archive list sorts them, so the titles give the play order),
// remembered in "Set.cfg" with "Repeat all" and "Autoplay" on, so the program starts playing it.
class PlaybackE2e : public test::ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        const QString media = dir.path() + "/media/";
        QDir().mkpath(media);
        QDir().mkpath(program + "Data");

        test::writeSineWav(media + "a440.wav", 440, 3000);
        test::writeSineWav(media + "b880.wav", 880, 3000);
        ASSERT_EQ(
            QProcess::execute(QStringLiteral("sox"), {media + "b880.wav", media + "b880.mp3"}), 0);
        // A song of 15 s: Page Down skips it long before it ends by itself.
        QFile::copy(test::testdata("modules/libxmp_read_event_ft2.xm"), media + "song.xm");
        QFile::copy(test::testdata("midi/test-all-gm-sounds.mid"), media + "gm.mid");

        test::ScriptedPrompts prompts;
        ItemStore store(program + "Data/Marlo.zip", prompts);
        const MediaItem items[] = {
            {MediaKind::Audio, "A Tone", media + "a440.wav", "Generator", ""},
            {MediaKind::Audio, "B Tone", media + "b880.mp3", "Generator", "mp3"},
            {MediaKind::Audio, "C Song", media + "song.xm", "", "xm"},
            {MediaKind::Audio, "D Sounds", media + "gm.mid", "", ""},
        };
        for (const MediaItem& item : items) {
            store.putItemRecord(item);
        }
        ASSERT_TRUE(store.commit());
        test::writeFile(program + "Data/Audio.dat", "Mix\r\n");
        test::writeFile(program + "Data/aMix.dat", "D Sounds\r\nB Tone\r\nA Tone\r\nC Song\r\n");
        // Repeat all (line 4 = 6), collection 0 of audio, Autoplay (line 11), position bar.
        test::writeFile(
            program + "Set.cfg",
            "0\r\n0\r\n-1\r\n6\r\n0\r\n0\r\n1500\r\n1500\r\n0|0\r\n12\r\n1\r\n0\r\n1\r\n"
            "0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\nStandard\r\n\r\nTrue\r\n");
        test::writeFile(program + "SkinName.ini", "Vantel's Design\r\nStandard\r\n");
    }

    void TearDown() override {
        if (recorder.state() != QProcess::NotRunning) {
            recorder.kill();
            recorder.waitForFinished(3000);
        }
        ProgramFixture::TearDown();
    }

    QProcess recorder;
};

// First slice at or after `from` seconds matching the condition for `seconds` in a row; -1 if none.
template <typename Condition>
double findRun(const QList<test::AudioSlice>& slices, double from, double seconds, Condition ok) {
    double runStart = -1;
    for (const test::AudioSlice& s : slices) {
        if (s.startSeconds < from) {
            continue;
        }
        if (!ok(s)) {
            runStart = -1;
            continue;
        }
        if (runStart < 0) {
            runStart = s.startSeconds;
        }
        if (s.startSeconds + 0.25 - runStart >= seconds) {
            return runStart;
        }
    }
    return -1;
}

TEST_F(PlaybackE2e, PlaysTheListInOrderSkipsPausesAndResumes) {
    const QString recording = dir.path() + "/rec.wav";
    recorder.setProcessEnvironment(environment());
    recorder.start(QStringLiteral("parecord"), {QStringLiteral("--device=test_sink.monitor"),
                                                QStringLiteral("--file-format=wav"), recording});
    ASSERT_TRUE(recorder.waitForStarted(5000));

    start();
    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
    ASSERT_FALSE(main.isEmpty());

    // Two tones of 3 s each, then the module: skipped after a while with Page Down.
    QThread::msleep(8500);
    x.key(main, QStringLiteral("Next"));
    // The MIDI file plays; Space pauses it for two seconds and resumes it.
    QThread::msleep(3000);
    x.key(main, QStringLiteral("space"));
    QThread::msleep(2000);
    x.key(main, QStringLiteral("space"));
    QThread::msleep(2500);
    x.key(main, QStringLiteral("alt+F4"));
    ASSERT_TRUE(marlo.waitForFinished(15000));
    recorder.terminate();
    recorder.waitForFinished(5000);

    const auto slices = test::analyseWav(recording, 0.25);
    ASSERT_GT(slices.size(), 40) << "the recording is too short";
    // What was heard, for the failure messages: start, loudness and pitch of each slice.
    QString heard;
    for (const test::AudioSlice& s : slices) {
        heard += QStringLiteral("%1s:%2/%3Hz ")
                     .arg(s.startSeconds)
                     .arg(s.rms, 0, 'f', 3)
                     .arg(static_cast<int>(s.frequency));
    }
    SCOPED_TRACE(heard.toStdString());
    auto near = [](double hz) {
        return [hz](const test::AudioSlice& s) {
            return s.rms > 0.05 && std::abs(s.frequency - hz) < hz * 0.05;
        };
    };
    auto loud = [](const test::AudioSlice& s) { return s.rms > 0.005; };
    auto silent = [](const test::AudioSlice& s) { return s.rms < 0.001; };

    const double a = findRun(slices, 0, 2.0, near(440));
    ASSERT_GE(a, 0) << "no 440 Hz tone";
    const double b = findRun(slices, a + 2.0, 2.0, near(880));
    ASSERT_GE(b, 0) << "no 880 Hz tone after the first";
    const double module = findRun(slices, b + 2.5, 1.0, loud);
    ASSERT_GE(module, 0) << "no module after the tones";
    const double pause = findRun(slices, module + 2.0, 1.5, silent);
    ASSERT_GE(pause, 0) << "no pause";
    // Sound both before the pause (the MIDI file after the skip) and after it (resumed).
    EXPECT_GE(findRun(slices, module + 1.0, 1.0, loud), 0);
    EXPECT_GE(findRun(slices, pause + 1.5, 1.0, loud), 0) << "no sound after resuming";
}

// A desktop without a sound server: the list still starts, the window still answers, nothing
// hangs while the player finds there is nowhere to play to.
TEST_F(PlaybackE2e, WithoutASoundServerItStartsAndCloses) {
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + dir.path() + "/no-server");
    start(env);
    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"), 10000);
    ASSERT_FALSE(main.isEmpty()) << "the main window did not appear";
    QThread::msleep(1500);
    EXPECT_EQ(marlo.state(), QProcess::Running);
    x.key(main, QStringLiteral("alt+F4"));
    ASSERT_TRUE(marlo.waitForFinished(10000)) << "the window did not answer Alt+F4";
    EXPECT_EQ(marlo.exitCode(), 0);
    // Shut-down wrote the configuration: the program went through its whole way out.
    EXPECT_TRUE(test::readFile(program + "Set.cfg").endsWith("True\r\n"));
}

}  // namespace
}  // namespace marlo
