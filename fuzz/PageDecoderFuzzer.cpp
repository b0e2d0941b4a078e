// Decodes arbitrary data in every coding. The first bytes choose the page:
//   0: coding, 1-2: width, 3-4: height, 5: bit 0 line doubling,
//   6-7: first row, 8: row budget; the rest is the coded data.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

#include "image/PageDecoder.h"

namespace {

constexpr size_t kHeaderSize = 9;
constexpr int kMaxSide = 4000;
constexpr int32_t kCodings[] = {0, 1, 2, 3, 4, 10, 11, 12, 13, 14};

int number(const uint8_t* p) { return p[0] | p[1] << 8; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumipage;
    if (size < kHeaderSize) return 0;
    PageRaster page;
    page.coding = kCodings[data[0] % std::size(kCodings)];
    page.lineDoubling = data[5] & 1;
    const int width = 1 + number(data + 1) % kMaxSide;
    const int height = 1 + number(data + 3) % kMaxSide;
    // Allocated as the readers do: the page's rows rounded to 8, and spare bytes.
    if (!page.create(width, height, 200)) return 0;
    const int firstRow = number(data + 6) % height;
    const int budget = data[8] % 64;
    PageDecoder decoder;
    const int rows = decoder.decodePage(std::span(data + kHeaderSize, size - kHeaderSize), page, firstRow, budget);
    if (rows < 0 || rows > height - firstRow || (budget > 0 && rows > budget)) __builtin_trap();
    // Nothing is written past the page's rows, nor into the padding bits of a row.
    const size_t used = size_t(height) * page.bytesPerRow;
    for (size_t i = used; i < page.capacity(); ++i)
        if (page.bits()[i] != 0) __builtin_trap();
    const uint8_t padding = uint8_t(~(width % 8 == 0 ? 0xFF : 0xFF00 >> (width % 8)));
    for (int y = 0; y < height; ++y)
        if (page.row(y)[page.bytesPerRow - 1] & padding) __builtin_trap();
    return 0;
}
