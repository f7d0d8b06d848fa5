#include <gtest/gtest.h>

#include "base/Settings.h"
#include "viewers/VideoGeometry.h"

namespace marlo {
namespace {

Settings withOptions(std::initializer_list<int> options, int zoom = 0) {
    Settings settings;
    for (int number : options) {
        settings.setOption(number, 1);
    }
    settings.videoZoom = static_cast<int16_t>(zoom);
    return settings;
}

TEST(VideoGeometry, PictureSizesFollowTheVideoOptions) {
    using namespace option;
    const QSize screen(1024, 768);
    const struct {
        const char* what;
        QSize video;
        Settings settings;
        QSize device, streaming;
    } cases[] = {
        {"normal", {320, 240}, withOptions({}), {320, 240}, {320, 240}},
        {"doubled", {320, 240}, withOptions({kVideoDoubleSize}), {640, 480}, {640, 480}},
        // The streaming control knows normal and double size only.
        {"user zoom 50", {320, 240}, withOptions({kVideoUserZoom}, 50), {160, 120}, {320, 240}},
        {"full screen stretches", {320, 240}, withOptions({kVideoFullscreen}), screen, screen},
        {"aspect, wide",
         {640, 360},
         withOptions({kVideoFullscreen, kAspectRatio}),
         {1024, 576},
         {1024, 576}},
        {"aspect, upright",
         {480, 640},
         withOptions({kVideoFullscreen, kAspectRatio}),
         {576, 768},
         {576, 768}},
        // Fit by the longer side alone would make this 1024 x 896, off the screen.
        {"aspect, between the screen's and square",
         {800, 700},
         withOptions({kVideoFullscreen, kAspectRatio}),
         {878, 768},
         {878, 768}},
        // Larger than the screen: shrunk to fit with its proportions kept.
        {"doubled beyond the screen",
         {640, 480},
         withOptions({kVideoDoubleSize}),
         {1024, 768},
         {1024, 768}},
        {"HD at normal size", {1920, 1080}, withOptions({}), {1024, 576}, {1024, 576}},
        {"HD at zoom 50", {1920, 1080}, withOptions({kVideoUserZoom}, 50), {960, 540}, {1024, 576}},
        {"no picture, normal", {}, withOptions({}), {320, 240}, {320, 240}},
        {"no picture, zoom 50", {}, withOptions({kVideoUserZoom}, 50), {160, 120}, {320, 240}},
        {"no picture, aspect", {}, withOptions({kVideoFullscreen, kAspectRatio}), screen, screen},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(videogeometry::videoPlaySize(c.video, screen, c.settings), c.device);
        EXPECT_EQ(videogeometry::streamingSize(c.video, screen, c.settings), c.streaming);
    }
}

TEST(VideoGeometry, MainWindowParksAtTheTopRight) {
    // 100 twips from the top and the right edge: 7 pixels.
    EXPECT_EQ(videogeometry::parkedTopRight({300, 120}, {0, 0, 1024, 768}), QPoint(717, 7));
    EXPECT_EQ(videogeometry::parkedTopRight({300, 120}, {1024, 0, 1280, 1024}), QPoint(1997, 7));
}

}  // namespace
}  // namespace marlo
