// The video window over the real engine and libmpv, with videos made by ffmpeg.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include "app/VideoWindowRoute.h"
#include "platform/WindowPlacement.h"
#include "tests/player/EngineFixture.h"
#include "viewers/VideoGeometry.h"
#include "viewers/VideoPlayer.h"

namespace marlo::test {
namespace {

// A clip from one of ffmpeg's generated sources (moving test pattern, plain colour, or a tone
// without a picture).
bool makeClip(const QString& path, const QString& source, double seconds) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return QProcess::execute(QStringLiteral("ffmpeg"),
                             {"-loglevel", "error", "-y", "-f", "lavfi", "-i", source, "-t",
                              QString::number(seconds), path}) == 0;
}

bool blackImage(const QImage& image) {
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            if (qGray(image.pixel(x, y)) > 24) {
                return false;
            }
        }
    }
    return true;
}

class VideoWindow : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        session->chooser.setKind(MediaKind::Video);
        engine.setRoutes(nullptr, &route, nullptr);
        mainWindow.resize(300, 120);
        mainWindow.move(100, 100);
        mainWindow.show();
    }
    void TearDown() override {
        engine.stop();
        EngineFixture::TearDown();
    }
    void addClip(const QString& title, const QString& source, double seconds,
                 const QString& file = {}) {
        const QString path = media(file.isEmpty() ? title + ".avi" : file);
        ASSERT_TRUE(makeClip(path, source, seconds))
            << "ffmpeg could not make " << path.toStdString();
        session->store.putItemRecord({MediaKind::Video, title, path, "", ""});
        ASSERT_TRUE(session->store.commit());
        session->playback.append(title);
    }
    VideoPlayer* window() const { return route.window(); }
    QImage grab() const { return window()->videoPlay().grab().toImage(); }
    bool waitPlaying() {
        return QTest::qWaitFor([this] { return window() && window()->isVisible(); }, 5000);
    }

    QWidget mainWindow;
    QList<int> keys;
    VideoWindowRoute route{engine, settings, prompts, mainWindow, [this](int code) {
                               keys << code;
                               engine.remoteKey(code);
                           }};
};

constexpr const char* kPattern = "testsrc=size=320x240:rate=25";

TEST_F(VideoWindow, SizeFollowsTheOptionsAndTheMainWindowParks) {
    addClip("Pattern", kPattern, 3);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const struct {
        const char* what;
        std::initializer_list<int> options;
        int zoom;
        QSize window;
    } cases[] = {
        {"normal", {}, 0, {320, 240}},
        {"doubled", {option::kVideoDoubleSize}, 0, {640, 480}},
        {"user zoom 50", {option::kVideoUserZoom}, 50, {160, 120}},
        {"full screen", {option::kVideoFullscreen}, 0, screen.size()},
        {"streaming control, doubled",
         {option::kStreamingOnly, option::kVideoDoubleSize},
         0,
         {640, 480}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        settings = Settings();
        for (int number : c.options) {
            set(number);
        }
        settings.videoZoom = static_cast<int16_t>(c.zoom);
        mainWindow.move(100, 100);
        engine.play();
        ASSERT_TRUE(waitPlaying());
        EXPECT_EQ(window()->size(), c.window);
        const bool full = settings.isSet(option::kVideoFullscreen);
        EXPECT_EQ(window()->pos(), full ? screen.topLeft() : centreOnScreen(c.window, screen));
        EXPECT_EQ(window()->cursor().shape(), full ? Qt::BlankCursor : Qt::ArrowCursor);
        EXPECT_EQ(mainWindow.pos(),
                  videogeometry::parkedTopRight(mainWindow.frameGeometry().size(), screen));
        EXPECT_EQ(display.dauer(), "00:03 min:sec");
        engine.stop();
        EXPECT_FALSE(window()->isVisible());
    }
}

// A zoom of 0 with option 4 is asked for; no answer stops the item, an answer is kept.
TEST_F(VideoWindow, MissingUserZoomIsAskedFor) {
    addClip("Pattern", kPattern, 2);
    set(option::kVideoUserZoom);
    prompts.inputs = {QString(), QStringLiteral("50")};
    engine.play();
    EXPECT_FALSE(engine.state().playing);
    EXPECT_TRUE(window() == nullptr || !window()->isVisible());
    engine.play();
    ASSERT_TRUE(waitPlaying());
    EXPECT_EQ(settings.videoZoom, 50);
    EXPECT_EQ(window()->size(), QSize(160, 120));
}

TEST_F(VideoWindow, FramesChangeAndSpacePausesAndResumes) {
    addClip("Pattern", kPattern, 10);
    engine.play();
    ASSERT_TRUE(waitPlaying());
    QTest::qWait(500);
    const QImage first = grab();
    QTest::qWait(300);
    const QImage second = grab();
    EXPECT_FALSE(blackImage(first));
    EXPECT_NE(first, second) << "the picture does not move";
    EXPECT_TRUE(QTest::qWaitFor([this] { return display.posit() == "00:02 min:sec"; }, 3000))
        << "positions are not shown";

    QTest::keyRelease(window(), Qt::Key_Space);
    EXPECT_EQ(keys, QList<int>{32});
    EXPECT_TRUE(display.paused());  // the pause button shows its paused look (`Pause4`)
    QTest::qWait(200);
    const QImage paused = grab();
    QTest::qWait(300);
    EXPECT_EQ(grab(), paused) << "still moving while paused";

    QTest::keyRelease(window(), Qt::Key_Space);
    EXPECT_FALSE(display.paused());
    EXPECT_TRUE(engine.state().playing);
    QTest::qWait(300);
    EXPECT_NE(grab(), paused) << "not moving again after resuming";
}

// With "Repeat all" the end of a video moves the list on by one entry, not two.
TEST_F(VideoWindow, EndOfItemMovesTheListOnOnce) {
    set(option::kRepeatAll);
    addClip("A", "color=c=red:size=160x120:rate=25", 1);
    addClip("B", "color=c=green:size=160x120:rate=25", 3);
    addClip("C", "color=c=blue:size=160x120:rate=25", 3);
    engine.play();
    ASSERT_TRUE(waitPlaying());
    ASSERT_TRUE(QTest::qWaitFor([this] { return index() != 0; }, 5000));
    EXPECT_EQ(index(), 1);
    QTest::qWait(800);
    EXPECT_EQ(index(), 1);
    EXPECT_TRUE(engine.state().playing);
    const QColor shown = grab().pixelColor(80, 60);
    EXPECT_GT(shown.green(), 80) << "not B's picture";
    EXPECT_LT(shown.red(), 60);
}

// A video in mid-list that nothing follows ends playback and takes its window along; Escape
// stops a playing video the same way.
TEST_F(VideoWindow, AVideoNothingFollowsClosesItsWindowAndEscapeStopsOne) {
    addClip("A", "color=c=red:size=160x120:rate=25", 1);
    addClip("B", "color=c=green:size=160x120:rate=25", 1);
    engine.play();
    ASSERT_TRUE(waitPlaying());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !engine.state().playing; }, 5000));
    EXPECT_EQ(index(), 0);
    EXPECT_FALSE(window()->isVisible());

    engine.play();
    ASSERT_TRUE(waitPlaying());
    QTest::keyRelease(window(), Qt::Key_Escape);
    EXPECT_FALSE(engine.state().playing);
    EXPECT_FALSE(window()->isVisible());
}

// Closing the window by hand (Alt+F4) ends the video rather than leaving it playing unseen.
TEST_F(VideoWindow, ClosingTheWindowStopsTheVideo) {
    addClip("Pattern", kPattern, 5);
    engine.play();
    ASSERT_TRUE(waitPlaying());
    window()->close();
    EXPECT_FALSE(engine.state().playing);
    EXPECT_FALSE(window()->isVisible());
    EXPECT_EQ(window()->videoPlay().state(), VideoView::State::Stopped);
}

// A video file with sound only plays in a small black window, not one of no size, and ends.
TEST_F(VideoWindow, SoundOnlyVideoPlaysInASmallWindow) {
    addClip("Tone", "sine=frequency=440:sample_rate=44100", 1, "tone.mkv");
    engine.play();
    ASSERT_TRUE(waitPlaying());
    EXPECT_EQ(window()->size(), videogeometry::kNoPicture);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !engine.state().playing; }, 5000));
}

}  // namespace
}  // namespace marlo::test
