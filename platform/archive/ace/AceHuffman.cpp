#include "platform/archive/ace/AceHuffman.h"

#include <utility>

#include "platform/archive/ace/AceBitReader.h"
#include "platform/archive/ace/AceFailure.h"

namespace marlo::ace {

namespace {

constexpr quint16 kNoSymbol = 0xFFFF;  // table slots no code reaches
constexpr int kWidthCodeMaxWidth = 7;
constexpr int kWidthCodeSymbols = 16;

// Sorts keys descending, moving values along. This is a plain Hoare quicksort with the last
// element as pivot; it is not stable, and the order it leaves equal keys in is part of the
// format, so it must stay exactly this algorithm.
void sortDescending(std::vector<quint8>& keys, std::vector<int>& values, int left, int right) {
    int low = left;
    int high = right;
    const quint8 pivot = keys[right];
    for (;;) {
        while (low < right && keys[low] > pivot) {
            ++low;
        }
        while (high > left && keys[high] < pivot) {
            --high;
        }
        if (low <= high) {
            std::swap(keys[low], keys[high]);
            std::swap(values[low], values[high]);
            ++low;
            --high;
        }
        if (low >= high) {
            break;
        }
    }
    if (left < high) {
        if (left < high - 1) {
            sortDescending(keys, values, left, high);
        } else if (keys[left] < keys[high]) {
            std::swap(keys[left], keys[high]);
            std::swap(values[left], values[high]);
        }
    }
    if (right > low) {
        if (low < right - 1) {
            sortDescending(keys, values, low, right);
        } else if (keys[low] < keys[right]) {
            std::swap(keys[low], keys[right]);
            std::swap(values[low], values[right]);
        }
    }
}

// Builds a lookup table from widths. Among symbols of equal width the table follows the order
// the sort above leaves them in; any other order decodes to different symbols.
bool buildHuffmanTable(int maxWidth, int count, std::vector<quint8>& widths,
                       std::vector<quint16>& table) {
    std::vector<quint8> sorted(widths);
    std::vector<int> symbols(widths.size());
    for (size_t i = 0; i < symbols.size(); ++i) {
        symbols[i] = int(i);
    }
    if (count > 1) {
        sortDescending(sorted, symbols, 0, count - 1);
    }
    size_t used = 0;
    while (used < sorted.size() && sorted[used] != 0) {
        ++used;
    }
    // A code with a single symbol (or none) still costs one bit per symbol.
    if (used < 2) {
        widths[size_t(symbols[0])] = 1;
        used = std::max<size_t>(used, 1);
    }
    const quint32 tableSize = quint32(1) << maxWidth;
    table.assign(tableSize, kNoSymbol);
    quint32 position = 0;
    for (size_t i = used; i-- > 0 && position < tableSize;) {
        if (sorted[i] > maxWidth) {
            return false;
        }
        const quint32 span = quint32(1) << (maxWidth - sorted[i]);
        if (position + span > tableSize) {
            return false;
        }
        for (quint32 j = 0; j < span; ++j) {
            table[position + j] = quint16(symbols[i]);
        }
        position += span;
    }
    return true;
}

}  // namespace

void HuffmanTable::read(BitReader& bits, int maxWidth, int symbolCount) {
    maxWidth_ = maxWidth;
    widths_.assign(size_t(symbolCount) + 1, 0);

    int widthCount = int(bits.read(9)) + 1;
    widthCount = std::min(widthCount, symbolCount + 1);
    const int lowest = int(bits.read(4));
    const int highest = int(bits.read(4));

    std::vector<quint8> widthWidths(kWidthCodeSymbols, 0);
    for (int i = 0; i <= highest; ++i) {
        widthWidths[size_t(i)] = quint8(bits.read(3));
    }
    std::vector<quint16> widthTable;
    require(buildHuffmanTable(kWidthCodeMaxWidth, highest + 1, widthWidths, widthTable));

    // Widths are sent as differences modulo `highest`, with a code for runs of zeros.
    int position = 0;
    while (position < widthCount) {
        const quint16 code = widthTable[bits.peek(kWidthCodeMaxWidth)];
        require(code != kNoSymbol);
        bits.skip(widthWidths[code]);
        if (code < highest) {
            widths_[size_t(position++)] = quint8(code);
        } else {
            int run = int(bits.read(4)) + 4;
            while (run-- > 0 && position < widthCount) {
                widths_[size_t(position++)] = 0;
            }
        }
    }
    if (highest > 0) {
        for (int i = 1; i < widthCount; ++i) {
            widths_[size_t(i)] = quint8((widths_[size_t(i)] + widths_[size_t(i) - 1]) % highest);
        }
    }
    for (int i = 0; i < widthCount; ++i) {
        if (widths_[size_t(i)] > 0) {
            widths_[size_t(i)] = quint8(widths_[size_t(i)] + lowest);
        }
    }
    require(buildHuffmanTable(maxWidth, widthCount, widths_, table_));
}

int HuffmanTable::decode(BitReader& bits) const {
    const quint16 symbol = table_[bits.peek(maxWidth_)];
    // Unfilled table slots only come from incomplete codes, which no packer writes.
    require(symbol != kNoSymbol);
    bits.skip(widths_[symbol]);
    return symbol;
}

}  // namespace marlo::ace
