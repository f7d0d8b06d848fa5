#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <libopenmpt/libopenmpt.hpp>
#include <set>
#include <vector>

#include "platform/media/OpenMptModuleLibrary.h"
#include "platform/media/PcmOutput.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TinyModule.h"

namespace marlo {
namespace {

using test::readFile;
using test::testdata;
using test::writeFile;

constexpr int kRate = PcmOutput::kSampleRate;
// The player polls the status every 150 ms.
constexpr int kPollFrames = kRate * 150 / 1000;

struct Fixture {
    const char* file;
    const char* name;
    int xmpLength;  // order list length as xmp reports it, end marker included
    bool audible;   // libopenmpt renders sound within the first ten seconds
};

// Names and lengths as SOURCES.txt records them from xmp.
const Fixture kFixtures[] = {
    {"libxmp_Bidi-Loops.it", "Chans should be in tune", 2, true},
    {"libxmp_PatternJump.mod", "Jump Commands", 2, true},
    {"libxmp_data_test.it", "test", 3, false},
    {"libxmp_flt_am_envelope.mod", "am env speed", 1, false},
    {"libxmp_format_it_schism.it", "", 2, true},
    {"libxmp_ft2_kxx.xm", "Kxx misc, xx>speed", 3, true},
    {"libxmp_pattern_jump_st3_break.s3m", "Bxx + Cxx order", 6, true},
    {"libxmp_pattern_loop_octalyser.mod", "PATTERN LOOP (OCT)", 1, true},
    {"libxmp_pattern_loop_st321.s3m", "Pattern Loop (ST 3.03b+)", 8, true},
    {"libxmp_play_it_extreme_filter.it", "", 2, true},
    {"libxmp_read_event_ft2.xm", "read_event_ft2", 12, true},
    {"libxmp_stereo.it", "Stereo Samples", 3, true},
    {"libxmp_stereo.s3m", "Stereo Samples", 2, true},
    {"libxmp_stereo.xm", "Stereo Samples", 2, true},
    {"libxmp_test.it", "test", 3, true},
    {"openmpt_test.mod", "MOD_Test___________X", 4, true},
    {"openmpt_test.s3m", "S3M_Test__________________X", 6, true},
    {"openmpt_test.xm", "Test Module", 2, false},  // digital silence in every replayer
};

QString module(const char* file) {
    return testdata(QStringLiteral("modules/") + file);
}

// A library set up in the player's start order, rendering only when the test pulls.
std::unique_ptr<OpenMptModuleLibrary> makeLibrary(int amplification = 100, int filter = 3) {
    auto lib = std::make_unique<OpenMptModuleLibrary>(OpenMptModuleLibrary::Output::None);
    lib->startup();
    lib->init();
    lib->startBackgroundPlay(100);
    lib->openChannels(100);
    lib->setAmplification(amplification);
    lib->setOption(ModuleLibrary::kOptionFilterMode, filter);
    return lib;
}

std::vector<qint16> renderFrames(OpenMptModuleLibrary& lib, int frames) {
    std::vector<qint16> pcm(std::size_t(frames) * 2);
    pcm.resize(std::size_t(lib.render(pcm.data(), frames)) * 2);
    return pcm;
}

double rms(const std::vector<qint16>& pcm) {
    double sum = 0;
    for (qint16 s : pcm) {
        sum += double(s) * s;
    }
    return pcm.empty() ? 0.0 : std::sqrt(sum / double(pcm.size()));
}

// Plays `frames` of a module from its start at the given settings.
std::vector<qint16> renderStart(const QString& path, int frames, int amplification, int filter) {
    auto lib = makeLibrary(amplification, filter);
    const int handle = lib->loadModule(path);
    EXPECT_NE(handle, 0);
    EXPECT_NE(lib->playModule(handle, true), 0);
    return renderFrames(*lib, frames);
}

TEST(ModuleLibraryTest, EveryFixtureLoadsRendersAndAdvances) {
    for (const Fixture& f : kFixtures) {
        SCOPED_TRACE(f.file);
        auto lib = makeLibrary();
        const int handle = lib->loadModule(module(f.file));
        ASSERT_NE(handle, 0);
        EXPECT_TRUE(lib->lastResult());

        ModuleLibrary::ModuleInfo info;
        ASSERT_TRUE(lib->getModuleInfo(handle, info));
        EXPECT_EQ(info.songName, QString::fromLatin1(f.name));
        // libopenmpt leaves out end and skip markers that xmp counts.
        EXPECT_GE(info.songLength, 1);
        EXPECT_LE(info.songLength, f.xmpLength);

        const int play = lib->playModule(handle, true);
        ASSERT_NE(play, 0);
        double loudest = 0;
        std::set<std::pair<int, int>> seen;      // (order, row) pairs at each poll
        for (int poll = 0; poll < 66; ++poll) {  // 10 s
            const auto pcm = renderFrames(*lib, kPollFrames);
            ASSERT_EQ(pcm.size(), std::size_t(kPollFrames) * 2);
            loudest = std::max(loudest, rms(pcm));
            ModuleLibrary::PlayStatus status;
            ASSERT_TRUE(lib->getPlayStatus(play, status));
            EXPECT_GE(status.position, 0);
            EXPECT_LT(status.position, info.songLength);
            seen.insert({status.position, status.row});
        }
        if (f.audible) {
            EXPECT_GT(loudest, 30.0);
        }
        // Rows move on, or a song shorter than this has come round again. The S3M unit test
        // holds its first row for longer than a test should wait (1231 s song).
        if (QLatin1String(f.file) != QLatin1String("openmpt_test.s3m")) {
            EXPECT_TRUE(seen.size() > 1 || lib->completedPasses() > 0);
        }
    }
}

// The fixture with its restart position changed: bytes 66..67 of an XM header.
QString withXmRestart(const QTemporaryDir& dir, const char* file, int restart) {
    QByteArray bytes = readFile(module(file));
    bytes[66] = char(restart);
    bytes[67] = 0;
    return writeFile(dir.filePath(QString::fromLatin1(file)), bytes);
}

// What plain looping in libopenmpt does with this module: the lowest order it reaches after it
// has first left order 0, over two and a half passes.
int lowestOrderAfterLeavingZeroWhenLibopenmptLoops(const QString& path) {
    const QByteArray bytes = readFile(path);
    openmpt::module m(bytes.constData(), std::size_t(bytes.size()));
    m.set_repeat_count(-1);
    std::vector<qint16> pcm(2 * 1024);
    const double limit = 2.5 * m.get_duration_seconds();
    bool left = false;
    int lowest = 1 << 30;
    for (double t = 0; t < limit; t += 1024.0 / kRate) {
        m.read_interleaved_stereo(kRate, 1024, pcm.data());
        left = left || m.get_current_order() > 0;
        if (left) {
            lowest = std::min(lowest, m.get_current_order());
        }
    }
    return lowest;
}

TEST(ModuleLibraryTest, EndShowsAsPositionZeroWhateverTheRestartPosition) {
    QTemporaryDir dir;
    const QString restartAt1 = module("openmpt_test.xm");  // restart position 1 as shipped
    const QString restartAt5 = withXmRestart(dir, "libxmp_read_event_ft2.xm", 5);
    for (const QString& path : {restartAt1, restartAt5}) {
        SCOPED_TRACE(path.toStdString());
        // Only meaningful if libopenmpt's own loop would never show order 0 again.
        ASSERT_GT(lowestOrderAfterLeavingZeroWhenLibopenmptLoops(path), 0);

        const QByteArray bytes = readFile(path);
        const double duration =
            openmpt::module(bytes.constData(), std::size_t(bytes.size())).get_duration_seconds();

        auto lib = makeLibrary();
        const int play = lib->playModule(lib->loadModule(path), true);
        ASSERT_NE(play, 0);
        // The player's module timer: a flag once the position is above 0, the end when it is 0
        // again.
        bool above = false;
        int endPoll = -1;
        int poll = 0;
        for (; poll < int(3 * duration * 1000 / 150) && endPoll < 0; ++poll) {
            renderFrames(*lib, kPollFrames);
            ModuleLibrary::PlayStatus status;
            ASSERT_TRUE(lib->getPlayStatus(play, status));
            above = above || status.position > 0;
            if (status.position == 0 && above) {
                endPoll = poll;
            }
        }
        ASSERT_GE(endPoll, 0) << "end never noticed";
        EXPECT_EQ(lib->completedPasses(), 1);
        // Noticed at the first poll after the song's length, not earlier.
        EXPECT_NEAR((endPoll + 1) * 0.150, duration, 0.151);

        // It plays on from the start: the position rises above 0 again.
        bool again = false;
        for (int i = 0; i < int(duration * 1000 / 150) + 2 && !again; ++i) {
            renderFrames(*lib, kPollFrames);
            ModuleLibrary::PlayStatus status;
            ASSERT_TRUE(lib->getPlayStatus(play, status));
            again = status.position > 0;
        }
        EXPECT_TRUE(again);
    }
}

// A song of one order never leaves position 0, however short: the status says when its end was
// heard, once per pass, and only then.
TEST(ModuleLibraryTest, EndsOfSongsThatNeverLeaveOrderZeroAreReported) {
    QTemporaryDir dir;
    const QString oneRow = writeFile(dir.filePath("row.mod"), test::tinyModule(1));
    const QString oneOrder = module("libxmp_pattern_loop_octalyser.mod");
    for (const QString& path : {oneRow, oneOrder}) {
        SCOPED_TRACE(path.toStdString());
        auto lib = makeLibrary();
        const int play = lib->playModule(lib->loadModule(path), true);
        ASSERT_NE(play, 0);
        int ends = 0;
        int polls = 0;
        for (; lib->completedPasses() < 3 && polls < 60 * 1000 / 150; ++polls) {
            renderFrames(*lib, kPollFrames);
            ModuleLibrary::PlayStatus status;
            ASSERT_TRUE(lib->getPlayStatus(play, status));
            EXPECT_EQ(status.position, 0);
            ends += status.endHeard ? 1 : 0;
        }
        ASSERT_EQ(lib->completedPasses(), 3) << "the song never ended";
        // The last pass may still be in the output's way; every earlier one was reported once.
        EXPECT_GE(ends, 2);
        EXPECT_LE(ends, 3);
    }
}

TEST(ModuleLibraryTest, WithoutLoopTheSongStopsAtItsEndAtPositionZero) {
    auto lib = makeLibrary();
    const int play = lib->playModule(lib->loadModule(module("openmpt_test.mod")), false);
    ASSERT_NE(play, 0);
    int total = 0;
    for (int got = 1; got > 0 && total < 60 * kRate;) {
        got = int(renderFrames(*lib, 4096).size() / 2);
        total += got;
    }
    EXPECT_NEAR(total / double(kRate), 2.04, 0.05);  // libopenmpt's length of this song
    ModuleLibrary::PlayStatus status;
    ASSERT_TRUE(lib->getPlayStatus(play, status));
    EXPECT_EQ(status.position, 0);
    EXPECT_TRUE(renderFrames(*lib, 1024).empty());
}

TEST(ModuleLibraryTest, BadFilesGiveNoHandle) {
    QTemporaryDir dir;
    const QByteArray mod = readFile(module("openmpt_test.mod"));
    const QByteArray xm = readFile(module("libxmp_read_event_ft2.xm"));
    QByteArray noise(8192, 0);
    std::srand(7);
    for (char& c : noise) {
        c = char(std::rand());
    }
    const QString bad[] = {
        dir.filePath("missing.mod"), writeFile(dir.filePath("empty.mod"), {}),
        writeFile(dir.filePath("header-cut.mod"), mod.left(600)),  // inside the sample table
        // No sample survives; a file cut later in its sample data plays what is there.
        writeFile(dir.filePath("samples-cut.xm"), xm.left(xm.size() / 5)),
        writeFile(dir.filePath("noise.it"), noise),
        writeFile(dir.filePath("text.s3m"), QByteArray("not a module\n").repeated(100)),
        dir.path(),  // a folder
    };
    auto lib = makeLibrary();
    for (const QString& path : bad) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(lib->loadModule(path), 0);
        EXPECT_FALSE(lib->lastResult());
    }
    // Handles that were never given out.
    ModuleLibrary::ModuleInfo info;
    EXPECT_FALSE(lib->getModuleInfo(0, info));
    EXPECT_EQ(lib->playModule(0, true), 0);
    EXPECT_EQ(lib->playModule(42, true), 0);
    ModuleLibrary::PlayStatus status;
    EXPECT_FALSE(lib->getPlayStatus(0, status));
    // Still usable afterwards.
    EXPECT_NE(lib->loadModule(module("openmpt_test.mod")), 0);
    EXPECT_TRUE(lib->lastResult());
}

TEST(ModuleLibraryTest, AmplificationScalesTheModulesOwnLevel) {
    const QString path = module("libxmp_read_event_ft2.xm");
    const int frames = 3 * kRate;
    const double own = rms(renderStart(path, frames, 100, 3));
    const double half = rms(renderStart(path, frames, 50, 3));
    const double silent = rms(renderStart(path, frames, 0, 3));
    ASSERT_GT(own, 100.0);
    EXPECT_NEAR(half / own, 0.5, 0.05);
    EXPECT_EQ(silent, 0.0);
    EXPECT_GT(rms(renderStart(path, frames, 300, 3)) / own, 2.0);
    // Ten times the song's own level is far past full scale: louder still, never clipped, held
    // at -1 dBFS.
    const std::vector<qint16> top = renderStart(path, frames, 1000, 3);
    EXPECT_GT(rms(top) / own, 2.0);
    const auto [low, high] = std::minmax_element(top.begin(), top.end());
    EXPECT_LE(std::max(-int(*low), int(*high)), int(0.892 * 32767));

    // A change while playing applies at once.
    auto lib = makeLibrary();
    ASSERT_NE(lib->playModule(lib->loadModule(path), true), 0);
    renderFrames(*lib, kRate);
    EXPECT_TRUE(lib->setAmplification(0));
    EXPECT_EQ(rms(renderFrames(*lib, kRate)), 0.0);
    EXPECT_FALSE(lib->setAmplification(1001));
}

TEST(ModuleLibraryTest, FilterModesAreAcceptedAndEachChangesTheSound) {
    auto lib = makeLibrary();
    for (int mode = 0; mode <= 3; ++mode) {
        EXPECT_TRUE(lib->setOption(ModuleLibrary::kOptionFilterMode, mode)) << mode;
    }
    EXPECT_FALSE(lib->setOption(ModuleLibrary::kOptionFilterMode, 4));
    EXPECT_FALSE(lib->setOption(ModuleLibrary::kOptionFilterMode, -1));
    EXPECT_FALSE(lib->setOption(3, 0));

    const QString path = module("libxmp_read_event_ft2.xm");
    std::vector<std::vector<qint16>> renders;
    for (int mode = 0; mode <= 2; ++mode) {
        renders.push_back(renderStart(path, 2 * kRate, 100, mode));
        EXPECT_GT(rms(renders.back()), 100.0);
    }
    EXPECT_NE(renders[0], renders[1]);
    EXPECT_NE(renders[1], renders[2]);
}

TEST(ModuleLibraryTest, PositionJumpsAndTeardownInAnyOrder) {
    auto lib = makeLibrary();
    const int handle = lib->loadModule(module("libxmp_read_event_ft2.xm"));
    const int play = lib->playModule(handle, true);
    ASSERT_NE(play, 0);
    renderFrames(*lib, kPollFrames);
    EXPECT_TRUE(lib->setPosition(play, 7));
    renderFrames(*lib, kPollFrames);
    ModuleLibrary::PlayStatus status;
    ASSERT_TRUE(lib->getPlayStatus(play, status));
    EXPECT_EQ(status.position, 7);
    renderFrames(*lib, kRate);
    ASSERT_TRUE(lib->getPlayStatus(play, status));
    EXPECT_GE(status.position, 7);
    EXPECT_FALSE(lib->setPosition(play, 12));
    EXPECT_FALSE(lib->setPosition(play, -1));
    EXPECT_FALSE(lib->setPosition(play + 1, 0));

    // Freeing the playing module stops it; everything after is harmless.
    EXPECT_TRUE(lib->freeModule(handle));
    EXPECT_FALSE(lib->getPlayStatus(play, status));
    EXPECT_TRUE(renderFrames(*lib, 16).empty());
    EXPECT_FALSE(lib->stopModule(play));
    EXPECT_FALSE(lib->freeModule(handle));
    EXPECT_TRUE(lib->close());
    EXPECT_TRUE(lib->close());

    // Close while a module plays, then the usual stop order on stale handles.
    const int again = lib->loadModule(module("openmpt_test.mod"));
    const int play2 = lib->playModule(again, true);
    ASSERT_NE(play2, 0);
    EXPECT_NE(play2, play);
    EXPECT_TRUE(lib->close());
    EXPECT_FALSE(lib->stopModule(play2));
    EXPECT_FALSE(lib->freeModule(again));
    EXPECT_TRUE(renderFrames(*lib, 16).empty());
}

// A repeated item loads the song it just freed again: it plays from its start like a fresh load,
// and a file changed in between is read afresh, never the song kept from before.
TEST(ModuleLibraryTest, LoadingTheFreedSongAgainPlaysItFromTheStartUnlessTheFileChanged) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("song.xm"));
    ASSERT_TRUE(QFile::copy(module("libxmp_read_event_ft2.xm"), path));
    auto lib = makeLibrary();
    const std::vector<qint16> first = renderStart(path, kPollFrames, 100, 3);

    int handle = lib->loadModule(path);
    int play = lib->playModule(handle, true);
    renderFrames(*lib, kRate * 3);
    ModuleLibrary::PlayStatus status;
    ASSERT_TRUE(lib->getPlayStatus(play, status));
    EXPECT_GT(status.position, 0);
    EXPECT_TRUE(lib->stopModule(play));
    EXPECT_TRUE(lib->freeModule(handle));
    EXPECT_TRUE(lib->close());

    handle = lib->loadModule(path);
    play = lib->playModule(handle, true);
    ASSERT_NE(play, 0);
    ASSERT_TRUE(lib->getPlayStatus(play, status));
    EXPECT_EQ(status.position, 0);
    EXPECT_EQ(status.row, 0);
    // The same sound as a fresh load, up to libopenmpt's dither in the lowest bits.
    const std::vector<qint16> again = renderFrames(*lib, kPollFrames);
    ASSERT_EQ(again.size(), first.size());
    int furthest = 0;
    for (std::size_t i = 0; i < again.size(); ++i) {
        furthest = std::max(furthest, std::abs(again[i] - first[i]));
    }
    EXPECT_LE(furthest, 4);
    EXPECT_TRUE(lib->freeModule(handle));

    // Another song under the same name.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::copy(module("openmpt_test.mod"), path));
    handle = lib->loadModule(path);
    ModuleLibrary::ModuleInfo info;
    ASSERT_TRUE(lib->getModuleInfo(handle, info));
    EXPECT_EQ(info.songName, QStringLiteral("MOD_Test___________X"));
}

}  // namespace
}  // namespace marlo
