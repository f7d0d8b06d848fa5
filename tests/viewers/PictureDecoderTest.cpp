#include <gtest/gtest.h>
#include <png.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "tests/support/TestFolders.h"
#include "viewers/PictureDecoder.h"

namespace marlo {
namespace {

// Writes a PNG row by row, so the picture never exists whole: its left half red, its right half
// blue; `interlaced` writes it in Adam7 passes.
void writeHalves(const QString& path, int width, int height, bool interlaced) {
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(width) * 3, 0);
    for (int x = 0; x < width; ++x) {
        row[x * 3 + (x < width / 2 ? 0 : 2)] = 255;
    }
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < height; ++y) {
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kBlue = 0xff0000ff;

// 8000 x 6000 needs 192 MB at full size, beyond Qt's reader: it shows all the same, fitted to
// the screen or with its middle at its own size. One that cannot be read row by row is called
// too large, and a damaged file still damaged.
TEST(PictureDecoder, PicturesBeyondQtsLimitShowOrAreTooLarge) {
    QTemporaryDir dir;
    const QString big = dir.filePath("big.png");
    writeHalves(big, 8000, 6000, false);
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
    writeHalves(interlaced, 8000, 6000, true);
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
