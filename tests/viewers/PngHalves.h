#pragma once

#include <png.h>

#include <QFile>
#include <QString>
#include <cstdio>
#include <vector>

namespace marlo::test {

// Writes a PNG row by row, so the picture never exists whole: its left half red, its right half
// blue; `interlaced` writes it in Adam7 passes.
inline void writePngHalves(const QString& path, int width, int height, bool interlaced) {
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (file == nullptr) {
        return;
    }
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

}  // namespace marlo::test
