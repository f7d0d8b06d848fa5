#include <gtest/gtest.h>

#include <Qt>

#include "base/Settings.h"
#include "viewers/PictureLayout.h"

namespace marlo {
namespace {

const QSize kScreen(1024, 768);

TEST(PictureLayout, FitsZoomsOrKeepsTheOwnSizeAndDragsAndKeys) {
    struct Case {
        const char* what;
        QSize picture;
        PictureOptions options;
        QRect image;
        QSize window;
        double factor;
    };
    const Case cases[] = {
        // Full screen, wider than high: factor 1024/800, the picture fills the screen.
        {"800x600 full screen", {800, 600}, {true, 0}, {0, 0, 1024, 768}, kScreen, 1.28},
        // Higher than wide: 768/800, centred horizontally.
        {"600x800 full screen", {600, 800}, {true, 0}, {224, 0, 576, 768}, kScreen, 0.96},
        // Wider than high but fitted by the height: the width's factor would make it 896 high.
        {"800x700 full screen", {800, 700}, {true, 0}, {73, 0, 878, 768}, kScreen, 768.0 / 700},
        {"zoom 50", {800, 600}, {false, 50}, {0, 0, 400, 300}, {400, 300}, -1},
        {"own size", {800, 600}, {false, 0}, {0, 0, 800, 600}, {800, 600}, -1},
        // Larger than the screen: a window of the screen's size shows the picture's middle.
        {"4000x3000 own size", {4000, 3000}, {false, 0}, {-1488, -1116, 4000, 3000}, kScreen, -1},
        {"2000x500 own size", {2000, 500}, {false, 0}, {-488, 0, 2000, 500}, {1024, 500}, -1},
        // Full screen wins over zoom.
        {"full screen and zoom", {600, 800}, {true, 50}, {224, 0, 576, 768}, kScreen, 0.96},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PictureLayout layout = layoutPicture(c.picture, kScreen, c.options);
        EXPECT_EQ(layout.image, c.image);
        EXPECT_EQ(layout.window, c.window);
        EXPECT_NEAR(layout.factor, c.factor, 1e-9);
        EXPECT_EQ(layout.fullScreen, c.options.fullScreen);
        EXPECT_EQ(layout.windowTwips(), c.window * 15);
    }

    // The main window parks at the top right: a 4000-twip window on a 1024-pixel screen.
    EXPECT_EQ(parkedPositionTwips(1024 * 15, 4000), QPoint(1024 * 15 - 4000 - 100, 100));

    // Dragging by 300 twips to the right moves the window by 300 twips; release ends it.
    PictureDrag drag;
    drag.press({1500, 900}, {3000, 2000});
    drag.press({0, 0}, {0, 0});  // a second press while dragging changes nothing
    EXPECT_EQ(drag.move({1800, 900}), QPoint(3300, 2000));
    // The picture moved with the window, so the pointer is back at its press point in it.
    EXPECT_EQ(drag.move({1500, 960}), QPoint(3300, 2060));
    drag.release();
    EXPECT_FALSE(drag.move({2000, 900}).has_value());

    // Enter and Escape end the show; Space, Page Up and Page Down go to the main window.
    const struct {
        int key;
        bool ends;
        int code;
    } keys[] = {{Qt::Key_Return, true, 0},   {Qt::Key_Enter, true, 0},
                {Qt::Key_Escape, true, 0},   {Qt::Key_Space, false, 32},
                {Qt::Key_PageUp, false, 33}, {Qt::Key_PageDown, false, 34},
                {Qt::Key_A, false, 0}};
    for (const auto& k : keys) {
        EXPECT_EQ(viewerKey(k.key).endsShow, k.ends) << k.key;
        EXPECT_EQ(viewerKey(k.key).remoteCode, k.code) << k.key;
    }
}

TEST(PictureLayout, OptionsAndPauseComeFromTheSettings) {
    Settings settings;
    EXPECT_EQ(pictureOptions(settings), (PictureOptions{false, 0}));
    EXPECT_EQ(slideshowIntervalMs(settings), 2000);
    settings.pictureZoom = 50;
    settings.slideshowPause = 3;
    EXPECT_EQ(pictureOptions(settings).zoomPercent, 0);  // zoom only with option 18
    EXPECT_EQ(slideshowIntervalMs(settings), 2000);      // the pause only with option 16
    settings.setOption(option::kPictureZoom, 1);
    settings.setOption(option::kPicturesFullscreen, 1);
    settings.setOption(option::kSlideshowPause, 1);
    EXPECT_EQ(pictureOptions(settings), (PictureOptions{true, 50}));
    EXPECT_EQ(slideshowIntervalMs(settings), 3000);
    settings.pictureZoom = 0;
    settings.slideshowPause = 0;
    EXPECT_EQ(pictureOptions(settings).zoomPercent, 0);
    EXPECT_EQ(slideshowIntervalMs(settings), 1000);
}

}  // namespace
}  // namespace marlo
