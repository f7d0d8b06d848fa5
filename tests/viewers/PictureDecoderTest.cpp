#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "tests/support/TestFolders.h"
#include "tests/viewers/PngHalves.h"
#include "viewers/PictureDecoder.h"

namespace marlo {
namespace {

constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kBlue = 0xff0000ff;

// 8000 x 6000 needs 192 MB at full size, beyond Qt's reader: it shows all the same, fitted to
// the screen or with its middle at its own size. One that cannot be read row by row is called
// too large, and a damaged file still damaged.
TEST(PictureDecoder, PicturesBeyondQtsLimitShowOrAreTooLarge) {
    QTemporaryDir dir;
    const QString big = dir.filePath("big.png");
    test::writePngHalves(big, 8000, 6000, false);
    const QSize screen(1024, 768);

    const DecodedPicture fitted = PictureDecoder::decode({big, {true, 0}, screen});
    ASSERT_TRUE(fitted.ok());
    EXPECT_EQ(fitted.image.size(), screen);
    EXPECT_EQ(fitted.image.pixel(511, 400), kRed);
    EXPECT_EQ(fitted.image.pixel(512, 400), kBlue);

    const DecodedPicture middle = PictureDecoder::decode({big, {false, 0}, screen});
    ASSERT_TRUE(middle.ok());
    EXPECT_EQ(middle.layout.image, QRect(-3488, -2616, 8000, 6000));
    EXPECT_EQ(middle.image.size(), screen);
    EXPECT_EQ(middle.image.pixel(511, 10), kRed);
    EXPECT_EQ(middle.image.pixel(512, 760), kBlue);

    const QString interlaced = dir.filePath("interlaced.png");
    test::writePngHalves(interlaced, 8000, 6000, true);
    const DecodedPicture refused = PictureDecoder::decode({interlaced, {true, 0}, screen});
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.tooLarge);
    EXPECT_EQ(refused.original, QSize(8000, 6000));

    const QString damaged = test::writeFile(dir.filePath("damaged.png"), "\x89PNG not really");
    const DecodedPicture broken = PictureDecoder::decode({damaged, {true, 0}, screen});
    EXPECT_FALSE(broken.ok());
    EXPECT_FALSE(broken.tooLarge);
}

}  // namespace
}  // namespace marlo
