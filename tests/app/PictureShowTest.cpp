#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include "app/PictureShow.h"
#include "base/texts/PictureTexts.h"
#include "tests/player/EngineFixture.h"
#include "viewers/DisplayPic.h"

namespace marlo::test {
namespace {

// The real viewer behind the engine, over a picture list with a one-second pause that repeats
// all, so the slideshow goes on through every entry.
class PictureShowTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        session->chooser.setKind(MediaKind::Pictures);
        set(option::kSlideshowPause);
        set(option::kRepeatAll);
        settings.slideshowPause = 1;
        engine.setRoutes(nullptr, nullptr, &show);
        QDir().mkpath(media(""));
    }

    // A picture item; `colour` invalid writes bytes that are no picture.
    void addPicture(const QString& title, QColor colour, QSize size = {64, 48}) {
        const QString path = media(title);
        if (colour.isValid()) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(colour);
            ASSERT_TRUE(image.save(path));
        } else {
            writeFile(path, QByteArray("\xff\xd8\xff\xe0 not really a JPEG", 22));
        }
        session->store.putItemRecord({MediaKind::Pictures, title, path, {}, {}});
        ASSERT_TRUE(session->store.commit());
        session->playback.append(title);
    }

    // Plays the list until `count` pictures were on view (shown or their message), with the
    // milliseconds since the start at which each came.
    void playUntil(int count) {
        QElapsedTimer clock;
        clock.start();
        engine.beginPlayback();
        DisplayPic* viewer = show.viewer();
        ASSERT_NE(viewer, nullptr);
        auto record = [&, viewer](const QString& path) {
            seen.append(QFileInfo(path).fileName());
            at.append(clock.elapsed());
            label.append(viewer->findChild<QLabel*>("Image1")->text());
            visible.append(viewer->isVisible());
            placed.append(viewer->geometry());
        };
        QObject::connect(viewer, &DisplayPic::pictureShown, viewer, record);
        QObject::connect(viewer, &DisplayPic::pictureFailed, viewer, record);
        // The next picture is decoded ahead, so a tick shows it at once.
        QObject::connect(viewer, &DisplayPic::slideshowTick, viewer,
                         [&, viewer] { shownAtTick.append(!viewer->waiting()); });
        ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() >= count; }, 8000));
    }

    int parked = 0;
    QList<int> keys;
    PictureShow show{engine, *session, settings, [this] { ++parked; },
                     [this](int code) {
                         keys.append(code);
                         engine.remoteKey(code);
                     }};
    QStringList seen;
    QList<qint64> at;
    QStringList label;
    QList<bool> visible;
    QList<QRect> placed;
    QList<bool> shownAtTick;
};

TEST_F(PictureShowTest, SlideshowShowsAPictureEachPauseAndEnterEndsIt) {
    addPicture("a.png", Qt::red);
    addPicture("b.png", Qt::green);
    addPicture("c.png", Qt::blue);
    playUntil(4);
    ASSERT_GE(seen.size(), 4);

    EXPECT_EQ(seen, QStringList({"a.png", "b.png", "c.png", "a.png"}));
    for (int i = 1; i < at.size(); ++i) {
        const qint64 pause = at[i] - at[i - 1];
        EXPECT_GE(pause, 940) << i;
        EXPECT_LE(pause, 1600) << i;
    }
    EXPECT_EQ(shownAtTick, QList<bool>({true, true, true}));
    EXPECT_EQ(parked, 4);
    DisplayPic& viewer = *show.viewer();
    EXPECT_EQ(viewer.slideshowTimer().interval(), 1000);
    EXPECT_EQ(viewer.size(), QSize(64, 48));
    EXPECT_EQ(display.posit(), "Pic # 1");

    // Space is the main window's Play/Pause: the slideshow holds.
    QTest::keyClick(&viewer, Qt::Key_Space);
    EXPECT_EQ(keys, QList<int>({32}));
    EXPECT_TRUE(engine.state().paused);
    EXPECT_FALSE(viewer.slideshowTimer().isActive());
    QTest::keyClick(&viewer, Qt::Key_Space);
    EXPECT_TRUE(viewer.slideshowTimer().isActive());

    // Stop leaves the picture on view without full screen and without slideshow; Enter then
    // closes it although no item plays any more.
    set(option::kPicturesFullscreen);
    engine.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer.waiting(); }, 3000));
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_FALSE(viewer.layout().fullScreen);
    EXPECT_FALSE(viewer.slideshowTimer().isActive());

    QTest::keyClick(&viewer, Qt::Key_Return);
    EXPECT_FALSE(engine.state().playing);
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_FALSE(viewer.slideshowTimer().isActive());
    EXPECT_EQ(keys.size(), 2);
}

// The picture Stop leaves on view belongs to no item; a list of another kind taking over, or
// the collection editor opening, must still close it.
TEST_F(PictureShowTest, APictureLeftOnViewClosesWhenAnotherKindTakesOver) {
    addPicture("a.png", Qt::red);
    addPicture("b.png", Qt::green);
    playUntil(1);
    engine.stop();
    DisplayPic& viewer = *show.viewer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer.waiting(); }, 3000));
    ASSERT_TRUE(viewer.isVisible());

    session->chooser.setKind(MediaKind::Audio);
    session->playback.clear();
    engine.takeOverPlaybackList();
    EXPECT_FALSE(viewer.isVisible());

    // Back to pictures: loading the first shows it; the editor's stop then closes it.
    session->chooser.setKind(MediaKind::Pictures);
    session->playback.append("a.png");
    engine.takeOverPlaybackList();
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer.isVisible(); }, 3000));
    engine.stopAndCloseViewer();
    EXPECT_FALSE(viewer.isVisible());
}

// Without a repeat option the show still goes through the list, and ends after the last.
TEST_F(PictureShowTest, WithoutRepeatTheShowRunsThroughTheListOnceAndCloses) {
    set(option::kRepeatAll, false);
    addPicture("a.png", Qt::red);
    addPicture("b.png", Qt::green);
    playUntil(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !show.viewer()->isVisible(); }, 4000));
    EXPECT_EQ(seen, QStringList({"a.png", "b.png"}));
    EXPECT_FALSE(engine.state().playing);
}

// Each picture's window is placed on the screen anew: centred, and one larger than the screen
// fills it and shows the picture's middle; the picture before does not move it off.
TEST_F(PictureShowTest, EachPictureIsCentredOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    addPicture("big.png", Qt::red, screen.size() * 2);
    addPicture("small.png", Qt::green);
    addPicture("big again.png", Qt::blue, screen.size() * 2);
    playUntil(3);
    ASSERT_GE(placed.size(), 3);
    EXPECT_EQ(placed[0], screen);
    EXPECT_EQ(placed[1], QRect(screen.center() - QPoint(31, 23), QSize(64, 48)));
    EXPECT_EQ(placed[2], screen);
    EXPECT_EQ(show.viewer()->layout().image.topLeft(),
              QPoint(-screen.width() / 2, -screen.height() / 2));
}

TEST_F(PictureShowTest, APictureThatCannotBeDecodedShowsWhyAndTheShowGoesOn) {
    addPicture("a.png", Qt::red);
    addPicture("broken.jpg", QColor());
    addPicture("c.png", Qt::blue);
    playUntil(3);
    ASSERT_GE(seen.size(), 3);

    EXPECT_EQ(seen, QStringList({"a.png", "broken.jpg", "c.png"}));
    EXPECT_EQ(label[1], Catalogue::text(texts::kPictureUnreadable).arg("broken.jpg"));
    EXPECT_EQ(visible, QList<bool>({true, true, true}));
    EXPECT_GE(at[2] - at[1], 940);
}

}  // namespace
}  // namespace marlo::test
