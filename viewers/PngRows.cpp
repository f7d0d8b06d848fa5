#include "viewers/PngRows.h"

#include <png.h>

#include <QFile>
#include <cstdio>
#include <vector>

namespace marlo {

namespace {

constexpr int kChannels = 4;  // every file is read as 8-bit RGBA

[[noreturn]] void onError(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, 1);
}
void onWarning(png_structp /*png*/, png_const_charp /*message*/) {}

struct PngReader {
    FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;

    explicit PngReader(const QString& path) {
        file = std::fopen(QFile::encodeName(path).constData(), "rb");
        if (file == nullptr) {
            return;
        }
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
        if (png != nullptr) {
            info = png_create_info_struct(png);
        }
        if (info != nullptr) {
            png_init_io(png, file);
        }
    }
    ~PngReader() {
        if (png != nullptr) {
            png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
        }
        if (file != nullptr) {
            std::fclose(file);
        }
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
    bool ok() const { return info != nullptr; }
};

// libpng reports errors by jumping back into the function that armed it, so the two steps
// below hold nothing that would need a destructor.
bool readHeader(png_structp png, png_infop info, QSize* size, bool* interlaced) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int colour = 0;
    int interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colour, &interlace, nullptr, nullptr);
    *interlaced = interlace != PNG_INTERLACE_NONE;
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    // A PNG's sides fit in 31 bits.
    *size = QSize(static_cast<int>(width), static_cast<int>(height));
    return png_get_rowbytes(png, info) == static_cast<png_size_t>(width) * kChannels;
}

struct Gathering {
    png_byte* row;
    const int* column;       // target column of each source column
    const int* columnCount;  // source columns per target column
    quint64* sums;           // per target column and channel, of the rows gathered so far
    uchar* bits;
    qsizetype bytesPerLine;
};

void flushRow(const Gathering& g, int targetRow, int width, int rows) {
    uchar* out = g.bits + targetRow * g.bytesPerLine;
    for (int x = 0; x < width; ++x) {
        const quint64 count = static_cast<quint64>(g.columnCount[x]) * rows;
        for (int c = 0; c < kChannels; ++c) {
            quint64& sum = g.sums[x * kChannels + c];
            *out++ = static_cast<uchar>((sum + count / 2) / count);
            sum = 0;
        }
    }
}

bool gatherRows(png_structp png, const QRect& source, QSize target, const Gathering& g) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    int targetRow = 0;
    int rows = 0;
    for (int y = 0; y <= source.bottom(); ++y) {
        png_read_row(png, g.row, nullptr);
        if (y < source.top()) {
            continue;
        }
        const int to = static_cast<int>(static_cast<qint64>(y - source.top()) * target.height() /
                                        source.height());
        if (to != targetRow) {
            flushRow(g, targetRow, target.width(), rows);
            targetRow = to;
            rows = 0;
        }
        const png_byte* pixel = g.row + static_cast<qsizetype>(source.left()) * kChannels;
        for (int x = 0; x < source.width(); ++x, pixel += kChannels) {
            quint64* sum = g.sums + g.column[x] * kChannels;
            for (int c = 0; c < kChannels; ++c) {
                sum[c] += pixel[c];
            }
        }
        ++rows;
    }
    flushRow(g, targetRow, target.width(), rows);
    return true;
}

}  // namespace

PngPart readPngPart(const QString& path, const QRect& source, QSize target) {
    PngPart part;
    PngReader reader(path);
    QSize size;
    if (!reader.ok() || !readHeader(reader.png, reader.info, &size, &part.interlaced) ||
        part.interlaced) {
        return part;
    }
    const QRect inside = source.intersected(QRect(QPoint(0, 0), size));
    target = target.boundedTo(inside.size());
    if (inside.isEmpty() || target.isEmpty()) {
        return part;
    }
    QImage image(target, QImage::Format_RGBA8888);
    if (image.isNull()) {
        return part;
    }
    std::vector<png_byte> row(static_cast<size_t>(size.width()) * kChannels);
    std::vector<int> column(static_cast<size_t>(inside.width()));
    std::vector<int> columnCount(static_cast<size_t>(target.width()), 0);
    for (int x = 0; x < inside.width(); ++x) {
        column[x] = static_cast<int>(static_cast<qint64>(x) * target.width() / inside.width());
        ++columnCount[column[x]];
    }
    std::vector<quint64> sums(static_cast<size_t>(target.width()) * kChannels, 0);
    const Gathering gathering{row.data(),  column.data(), columnCount.data(),
                              sums.data(), image.bits(),  image.bytesPerLine()};
    if (!gatherRows(reader.png, inside, target, gathering)) {
        return part;
    }
    part.image = std::move(image);
    return part;
}

}  // namespace marlo
