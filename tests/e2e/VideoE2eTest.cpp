// The video window of the real program under Xvfb: its size per option, moving pictures on the
// screen, and Space in the window pausing and resuming them.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <QThread>

#include "library/ItemStore.h"
#include "tests/e2e/ProgramFixture.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

// The program gives a loading file 15 s; the test waits longer, so a slow start on a loaded
// machine is told apart from a window that never comes.
constexpr int kVideoShowsWithinMs = 30000;

class VideoE2e : public test::ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        const QString clip = dir.path() + "/media/pattern.avi";
        QDir().mkpath(dir.path() + "/media");
        ASSERT_EQ(QProcess::execute(QStringLiteral("ffmpeg"),
                                    {"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                     "testsrc=size=320x240:rate=25", "-t", "10", clip}),
                  0);
        QDir().mkpath(program + "Data");
        test::ScriptedPrompts prompts;
        ItemStore store(program + "Data/Marlo.zip", prompts);
        store.putItemRecord({MediaKind::Video, "Pattern", clip, "", ""});
        ASSERT_TRUE(store.commit());
        test::writeFile(program + "Data/Video.dat", "Clips\r\n");
        test::writeFile(program + "Data/vClips.dat", "Pattern\r\n");
        test::writeFile(program + "SkinName.ini", "Vantel's Design\r\nStandard\r\n");
    }

    // Video size line (3), repeat line (4) and video zoom (6); the video collection, Autoplay,
    // English.
    void configure(const char* sizeOption, const char* zoom, const char* repeat = "-1",
                   const char* skin = "Standard") {
        test::writeFile(program + "Set.cfg",
                        QByteArray("0\r\n0\r\n") + sizeOption + "\r\n" + repeat + "\r\n0\r\n" +
                            zoom +
                            "\r\n1500\r\n1500\r\n2|0\r\n12\r\n1\r\n0\r\n1\r\n0\r\n0\r\n0\r\n"
                            "\r\n\r\n\r\n0\r\n0\r\n" +
                            skin + "\r\n\r\nTrue\r\n");
    }

    // Makes the collection these clips of ffmpeg's plain red (it lists them sorted by title).
    void useClips(const QList<std::pair<QString, double>>& clips, const char* size) {
        test::ScriptedPrompts prompts;
        ItemStore store(program + "Data/Marlo.zip", prompts);
        QByteArray list;
        for (const auto& [title, seconds] : clips) {
            const QString clip = dir.path() + "/media/" + title + ".avi";
            ASSERT_EQ(QProcess::execute(QStringLiteral("ffmpeg"),
                                        {"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                         QStringLiteral("color=c=red:rate=25:size=") + size, "-t",
                                         QString::number(seconds), clip}),
                      0);
            store.putItemRecord({MediaKind::Video, title, clip, "", ""});
            list += title.toUtf8() + "\r\n";
        }
        ASSERT_TRUE(store.commit());
        test::writeFile(program + "Data/vClips.dat", list);
    }

    bool videoWindowGoneWithin(int ms) const {
        return QTest::qWaitFor(
            [this] {
                return x
                    .xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                              QStringLiteral("--name"), QStringLiteral("^Video Player$")})
                    .isEmpty();
            },
            ms);
    }

    // What was on the screen and what the program said, for a window that did not show.
    QString diagnosis() {
        const QString windows = x.xdotool(
            {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
             QStringLiteral("."), QStringLiteral("getwindowname"), QStringLiteral("%@")});
        return QStringLiteral("program %1, visible windows [%2], program output: %3")
            .arg(marlo.state() == QProcess::Running
                     ? QStringLiteral("running")
                     : QStringLiteral("ended with %1").arg(marlo.exitCode()))
            .arg(windows.split(QLatin1Char('\n')).join(QStringLiteral("; ")),
                 QString::fromLocal8Bit(marlo.readAllStandardError()).right(2000));
    }

    QImage screenshot(const QRect& area) const {
        QProcess import;
        import.setProcessEnvironment(x.environment());
        import.start(QStringLiteral("import"),
                     {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
        import.waitForFinished(15000);
        return QImage::fromData(import.readAllStandardOutput(), "PNG").copy(area);
    }
};

// The share of pixels of the plain red of the test clips.
double redShare(const QImage& image) {
    int red = 0;
    int all = 0;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2, ++all) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 60 && c.blue() < 60 ? 1 : 0;
        }
    }
    return all > 0 ? static_cast<double>(red) / all : 0.0;
}

bool mostlyBlack(const QImage& image) {
    int lit = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            lit += qGray(image.pixel(x, y)) > 24 ? 1 : 0;
        }
    }
    return lit * 16 < image.width() * image.height() / 4;
}

struct SizeCase {
    const char* what;
    const char* sizeOption;
    const char* zoom;
    QRect window;
};

// One program per option: a case never starts while the previous instance's window and mpv are
// still going away.
class VideoSizeE2e : public VideoE2e, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(VideoSizeE2e, WindowTakesTheSizeOfTheVideoOption) {
    const SizeCase& c = GetParam();
    configure(c.sizeOption, c.zoom);
    start();
    const QString video = x.waitForWindow(QStringLiteral("^Video Player$"), kVideoShowsWithinMs);
    ASSERT_FALSE(video.isEmpty()) << "no video window; " << diagnosis().toStdString();
    QThread::msleep(500);
    EXPECT_EQ(x.geometry(video), c.window);
    EXPECT_FALSE(mostlyBlack(screenshot(c.window))) << "no picture on the screen";
}

INSTANTIATE_TEST_SUITE_P(Options, VideoSizeE2e,
                         ::testing::Values(SizeCase{"normal", "-1", "0", {352, 264, 320, 240}},
                                           SizeCase{"doubled", "3", "0", {192, 144, 640, 480}},
                                           SizeCase{"zoom50", "4", "50", {432, 324, 160, 120}},
                                           SizeCase{"fullscreen", "2", "0", {0, 0, 1024, 768}}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(VideoE2e, PicturesMoveAndSpaceInTheWindowPausesAndResumes) {
    configure("-1", "0");
    start();
    const QString video = x.waitForWindow(QStringLiteral("^Video Player$"), kVideoShowsWithinMs);
    ASSERT_FALSE(video.isEmpty()) << "no video window; " << diagnosis().toStdString();
    QThread::msleep(500);
    const QRect area = x.geometry(video);
    auto moving = [&] {
        const QImage before = screenshot(area);
        QThread::msleep(300);
        return screenshot(area) != before;
    };
    EXPECT_TRUE(moving()) << "the picture stands still while playing";
    x.key(video, QStringLiteral("space"));
    QThread::msleep(300);
    EXPECT_FALSE(moving()) << "Space did not pause";
    x.key(video, QStringLiteral("space"));
    QThread::msleep(300);
    EXPECT_TRUE(moving()) << "Space did not resume";
}

// A video in mid-list that nothing follows takes its window along when it ends (full screen
// it would cover everything); Escape leaves a full-screen video that still plays.
TEST_F(VideoE2e, AVideoNothingFollowsClosesItsWindowAndEscapeLeavesFullScreen) {
    useClips({{"A short one", 1}, {"B long one", 10}}, "320x240");
    configure("2", "0");
    start();
    ASSERT_FALSE(x.waitForWindow(QStringLiteral("^Video Player$"), kVideoShowsWithinMs).isEmpty())
        << diagnosis().toStdString();
    EXPECT_TRUE(videoWindowGoneWithin(8000))
        << "the ended video's window stays; " << diagnosis().toStdString();
    EXPECT_LT(redShare(screenshot({0, 0, 1024, 768})), 0.05);

    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
    x.key(main, QStringLiteral("Next"));  // Page Down: loads the long one
    x.key(main, QStringLiteral("space"));
    const QString video = x.waitForWindow(QStringLiteral("^Video Player$"), kVideoShowsWithinMs);
    ASSERT_FALSE(video.isEmpty()) << diagnosis().toStdString();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return redShare(screenshot({0, 0, 1024, 768})) > 0.5;
        },
        5000))
        << "the video does not fill the screen";
    x.key(video, QStringLiteral("Escape"));
    EXPECT_TRUE(videoWindowGoneWithin(3000)) << "Escape did not end the full-screen video";
}

// With "Repeat all" the next video's window comes up over the parked main window; the main
// window stays on top, so its buttons can still be reached.
TEST_F(VideoE2e, TheParkedMainWindowStaysAboveTheNextVideo) {
    useClips({{"First", 1}, {"Second", 10}}, "480x360");
    configure("3", "0", "6", "Vantel's Design");
    start();
    ASSERT_FALSE(x.waitForWindow(QStringLiteral("^Video Player$"), kVideoShowsWithinMs).isEmpty())
        << diagnosis().toStdString();
    QThread::msleep(3000);  // First has ended, Second plays
    const QRect main = x.geometry(x.waitForWindow(QStringLiteral("^Marlo$")));
    const QRect video = x.geometry(x.waitForWindow(QStringLiteral("^Video Player$")));
    ASSERT_TRUE(main.intersects(video)) << "the test needs the two windows to overlap";
    EXPECT_LT(redShare(screenshot(main.intersected(video))), 0.2)
        << "the video covers the main window";
}

}  // namespace
}  // namespace marlo
