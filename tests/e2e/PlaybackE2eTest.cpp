#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <functional>
#include <iomanip>
#include <iostream>
#include <optional>

#include "library/ItemStore.h"
#include "tests/e2e/ProgramFixture.h"
#include "tests/support/AudioAnalysis.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

// A MIDI file of one flute note, E5 (659 Hz), held for 30 s: a steady sound, unlike the song.
QByteArray heldFluteNote() {
    const QByteArray track = QByteArray::fromHex(
        "00 C0 49"           // flute
        "00 90 4C 64"        // E5 on
        "81 E1 00 80 4C 40"  // off after 28800 ticks (30 s at the default tempo)
        "00 FF 2F 00");
    return QByteArray::fromHex("4D546864 00000006 0000 0001 01E0 4D54726B 000000") +
           char(track.size()) + track;
}

// A user's library as the collection editor leaves it: the collection "Mix" of five audio items
// (the archive list sorts them, so the titles give the play order) that a recording tells apart,
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

        test::writeSineWav(media + "a440.wav", 440, 2000);
        test::writeSineWav(media + "b880.wav", 880, 20000);
        ASSERT_EQ(
            QProcess::execute(QStringLiteral("sox"), {media + "b880.wav", media + "b880.mp3"}), 0);
        test::writeFile(media + "note.mid", heldFluteNote());
        // A song of 15 s: Page Down skips it long before it ends by itself. Tagged as the
        // program tags modules, it plays through the module library.
        QFile::copy(test::testdata("modules/libxmp_read_event_ft2.xm"), media + "song.xm");
        test::writeSineWav(media + "e1320.wav", 1320, 20000);

        test::ScriptedPrompts prompts;
        ItemStore store(program + "Data/Marlo.zip", prompts);
        const MediaItem items[] = {
            {MediaKind::Audio, "A Tone", media + "a440.wav", "Generator", ""},
            {MediaKind::Audio, "B Tone", media + "b880.mp3", "Generator", "mp3"},
            {MediaKind::Audio, "C Note", media + "note.mid", "", ""},
            {MediaKind::Audio, "D Song", media + "song.xm", "", "mod"},
            {MediaKind::Audio, "E Tone", media + "e1320.wav", "Generator", ""},
        };
        for (const MediaItem& item : items) {
            store.putItemRecord(item);
        }
        ASSERT_TRUE(store.commit());
        test::writeFile(program + "Data/Audio.dat", "Mix\r\n");
        test::writeFile(program + "Data/aMix.dat",
                        "E Tone\r\nC Note\r\nB Tone\r\nA Tone\r\nD Song\r\n");
        // Repeat all (line 4 = 6), collection 0 of audio, Autoplay (line 11), position bar. The
        // language line says English as "-1"; the program writes it back as "True".
        test::writeFile(
            program + "Set.cfg",
            "0\r\n0\r\n-1\r\n6\r\n0\r\n0\r\n1500\r\n1500\r\n0|0\r\n12\r\n1\r\n0\r\n1\r\n"
            "0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\nStandard\r\n\r\n-1\r\n");
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

constexpr double kSlice = 0.05;  // seconds of sound per analysed slice
// A key must change what is heard within this long: what played stops, or pauses, or resumes.
constexpr double kReaction = 0.5;
// The next item, loaded from its file, must be heard within this long.
constexpr double kNextItem = 2.0;

// The sound server's recording while it grows: parecord writes a WAV file, read here as it comes.
class LiveRecording {
  public:
    explicit LiveRecording(const QString& path) : file_(path) {}

    // Reads what was added; the slices cover the whole recording so far.
    const QList<test::AudioSlice>& update() {
        if (!file_.isOpen() && !file_.open(QIODevice::ReadOnly)) {
            return slices_;
        }
        pending_ += file_.readAll();
        if (!format_) {
            format_ = test::wavFormat(pending_);
            if (!format_) {
                return slices_;
            }
            pending_.remove(0, format_->dataStart);
        }
        const qsizetype frameBytes = 2 * format_->channels;
        const qsizetype sliceBytes = qsizetype(kSlice * format_->rate) * frameBytes;
        const qsizetype whole = pending_.size() / sliceBytes * sliceBytes;
        slices_ += test::analysePcm(pending_.constData(), whole / frameBytes, format_->channels,
                                    format_->rate, kSlice, seconds());
        pending_.remove(0, whole);
        return slices_;
    }
    double seconds() const { return slices_.size() * kSlice; }
    const QList<test::AudioSlice>& slices() const { return slices_; }

  private:
    QFile file_;
    QByteArray pending_;
    std::optional<test::WavFormat> format_;
    QList<test::AudioSlice> slices_;
};

using Condition = std::function<bool(const test::AudioSlice&)>;

Condition tone(double hz) {
    return [hz](const test::AudioSlice& s) {
        return s.rms > 0.05 && std::abs(s.frequency - hz) < hz * 0.05;
    };
}
const Condition kLoud = [](const test::AudioSlice& s) { return s.rms > 0.005; };
const Condition kSilent = [](const test::AudioSlice& s) { return s.rms < 0.001; };
Condition isNot(const Condition& c) {
    return [c](const test::AudioSlice& s) { return !c(s); };
}

// Start of the first run of slices, beginning at or after `from` and before `to`, that all match
// for at least `seconds`; -1 if none.
double findRun(const QList<test::AudioSlice>& slices, double from, double seconds,
               const Condition& ok, double to = 1e9) {
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
            if (s.startSeconds >= to) {
                return -1;
            }
            runStart = s.startSeconds;
        }
        if (s.startSeconds + kSlice - runStart >= seconds - 1e-9) {
            return runStart;
        }
    }
    return -1;
}

// Whether every slice from `from` up to `to` matches.
bool allBetween(const QList<test::AudioSlice>& slices, double from, double to,
                const Condition& ok) {
    for (const test::AudioSlice& s : slices) {
        if (s.startSeconds >= from && s.startSeconds + kSlice <= to && !ok(s)) {
            return false;
        }
    }
    return true;
}

// What was heard, for the failure messages: start, loudness and pitch of each slice.
std::string describe(const QList<test::AudioSlice>& slices) {
    QString what;
    for (const test::AudioSlice& s : slices) {
        what += QStringLiteral("%1s:%2/%3Hz ")
                    .arg(s.startSeconds, 0, 'f', 2)
                    .arg(s.rms, 0, 'f', 3)
                    .arg(static_cast<int>(s.frequency));
    }
    return what.toStdString();
}

TEST_F(PlaybackE2e, PlaysTheListInOrderAndEachKeyChangesTheSoundAtOnce) {
    const QString recording = dir.path() + "/rec.wav";
    recorder.setProcessEnvironment(environment());
    // A short recording latency also makes the null sink play in short blocks: what the program
    // sends is heard, and recorded, within a few hundredths of a second.
    recorder.start(QStringLiteral("parecord"), {QStringLiteral("--device=test_sink.monitor"),
                                                QStringLiteral("--latency-msec=20"),
                                                QStringLiteral("--file-format=wav"), recording});
    ASSERT_TRUE(recorder.waitForStarted(5000));
    LiveRecording heard(recording);
    QElapsedTimer clock;
    clock.start();
    while (heard.update().size() < 4 && clock.elapsed() < 5000) {
        QThread::msleep(20);
    }
    ASSERT_GE(heard.slices().size(), 4) << "the recording does not run";

    start();
    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
    ASSERT_FALSE(main.isEmpty());

    // Each key is pressed once the recording shows what it is to change, whenever that comes:
    // the test waits on the sound, not on the clock.
    const auto waitFor = [&heard](double seconds, const Condition& ok, int timeoutMs) {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < timeoutMs) {
            const auto& slices = heard.update();
            if (findRun(slices, heard.seconds() - seconds, seconds, ok) >= 0) {
                return true;
            }
            QThread::msleep(20);
        }
        return false;
    };
    QList<double> keys;  // when each key was pressed, in seconds of the recording
    // The key's time is taken just before it is sent, so the time xdotool takes to start counts
    // against the program: the reactions measured are upper bounds.
    const auto press = [&](const char* key) {
        x.focus(main);
        heard.update();
        keys << heard.seconds();
        std::cout << "key " << keys.size() << " (" << key << ") pressed at " << std::fixed
                  << std::setprecision(2) << keys.last() << " s of the recording" << std::endl;
        x.xdotool(
            {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), QString::fromLatin1(key)});
    };
    ASSERT_TRUE(waitFor(0.5, tone(880), 20000))
        << "the second tone never came" << describe(heard.slices());
    press("Next");  // skips the 880 Hz tone: the held MIDI note
    ASSERT_TRUE(waitFor(0.5, tone(659), 10000))
        << "no MIDI note after Page Down" << describe(heard.slices());
    press("space");  // pauses it
    ASSERT_TRUE(waitFor(1.0, kSilent, 10000)) << "Space did not pause" << describe(heard.slices());
    press("space");  // resumes it
    ASSERT_TRUE(waitFor(0.5, tone(659), 10000))
        << "Space did not resume" << describe(heard.slices());
    press("Next");  // skips the note: the song
    ASSERT_TRUE(waitFor(0.5, isNot(tone(659)), 10000))
        << "Page Down did not end the note" << describe(heard.slices());
    // A second of the song is heard, its rests between, before it is skipped.
    QElapsedTimer songTime;
    songTime.start();
    const auto songHeard = [&] {
        double loud = 0;
        for (const test::AudioSlice& s : heard.update()) {
            loud += s.startSeconds >= keys[3] + kReaction && kLoud(s) ? kSlice : 0;
        }
        return loud >= 1.0 - 1e-9;
    };
    while (!songHeard() && songTime.elapsed() < 10000) {
        QThread::msleep(20);
    }
    ASSERT_TRUE(songHeard()) << "not a second of the song" << describe(heard.slices());
    press("Next");  // skips the song: the 1320 Hz tone
    ASSERT_TRUE(waitFor(0.5, tone(1320), 10000))
        << "Page Down did not reach the last tone" << describe(heard.slices());
    x.key(main, QStringLiteral("alt+F4"));
    ASSERT_TRUE(marlo.waitForFinished(15000));
    recorder.terminate();
    recorder.waitForFinished(5000);
    heard.update();

    const QList<test::AudioSlice>& slices = heard.slices();
    SCOPED_TRACE(describe(slices));
    ASSERT_EQ(keys.size(), 5);
    const auto reaction = [&](int key, double changed) {
        std::cout << "key " << key + 1 << ": sound changed after " << std::fixed
                  << std::setprecision(2) << changed - keys[key] << " s" << std::endl;
        EXPECT_GE(changed, keys[key]) << "key " << key + 1;
        EXPECT_LE(changed - keys[key], kReaction) << "key " << key + 1;
    };

    // The first tone plays to its end and the second follows by itself.
    const double a = findRun(slices, 0, 1.5, tone(440));
    ASSERT_GE(a, 0) << "no 440 Hz tone";
    EXPECT_GE(findRun(slices, a + 1.5, 0.5, tone(880), keys[0]), 0) << "no 880 Hz tone after it";

    // Page Down on the 880 Hz tone ends it at once; the MIDI note follows, and the tone never
    // comes back.
    EXPECT_TRUE(allBetween(slices, keys[0] - 0.5, keys[0], tone(880)));
    const double toneEnded = findRun(slices, keys[0], kSlice, isNot(tone(880)));
    reaction(0, toneEnded);
    EXPECT_EQ(findRun(slices, toneEnded, 0.25, tone(880)), -1) << "the 880 Hz tone came back";
    const double note = findRun(slices, toneEnded, 0.5, tone(659), keys[1]);
    ASSERT_GE(note, 0) << "no MIDI note";
    std::cout << "the MIDI note began " << note - keys[0] << " s after Page Down" << std::endl;
    EXPECT_LE(note - keys[0], kNextItem);

    // Space pauses: silence until the next Space, which brings the note back.
    const double paused = findRun(slices, keys[1], kSlice, kSilent);
    reaction(1, paused);
    EXPECT_TRUE(allBetween(slices, paused, keys[2], kSilent)) << "sound while paused";
    const double resumed = findRun(slices, keys[2], kSlice, tone(659));
    reaction(2, resumed);
    EXPECT_GE(findRun(slices, resumed, 0.5, tone(659), keys[3]), 0) << "the note did not go on";

    // Page Down on the note ends it at once; the song sounds, unlike anything before it.
    EXPECT_TRUE(allBetween(slices, keys[3] - 0.5, keys[3], tone(659)));
    const double noteEnded = findRun(slices, keys[3], kSlice, isNot(tone(659)));
    reaction(3, noteEnded);
    EXPECT_EQ(findRun(slices, noteEnded, 0.25, tone(659)), -1) << "the note came back";
    EXPECT_GE(findRun(slices, noteEnded, kSlice, kLoud, keys[4]), 0) << "no song";

    // Page Down on the song: it stops at once, and the 1320 Hz tone, heard nowhere before,
    // follows. The song has rests, so its end shows as nothing but the tone from then on.
    EXPECT_EQ(findRun(slices, 0, 0.25, tone(1320), keys[4]), -1);
    const double last = findRun(slices, keys[4], 0.5, tone(1320));
    ASSERT_GE(last, 0);
    EXPECT_TRUE(allBetween(slices, keys[4] + kReaction, last - kSlice, isNot(kLoud)))
        << "the song went on after Page Down";
    std::cout << "the last tone began " << last - keys[4] << " s after Page Down" << std::endl;
    EXPECT_LE(last - keys[4], kNextItem);
}

// A desktop without a sound server: the list still starts, the window still answers, nothing
// hangs while the player finds there is nowhere to play to.
TEST_F(PlaybackE2e, WithoutASoundServerItStartsAndCloses) {
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + dir.path() + "/no-server");
    // The set-up wrote the language as "-1": only the program's own shut-down writes "True".
    ASSERT_FALSE(test::readFile(program + "Set.cfg").endsWith("True\r\n"));
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
