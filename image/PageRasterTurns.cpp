// The raster's turns, mirroring and flipping. Everything works a byte or an
// 8 x 8 block at a time through the 256-entry tables; no loop visits single
// pixels.
#include <algorithm>
#include <cstring>
#include <utility>

#include "image/BitTables.h"
#include "image/PageRaster.h"

namespace lumipage {

namespace {

// Reverses the bytes of a row, mirroring each byte, into `out` (may equal `in`).
void reverseRow(const uint8_t* in, uint8_t* out, size_t count) {
    if (in == out) {
        uint8_t* a = out;
        uint8_t* b = out + count - 1;
        for (; a < b; ++a, --b) {
            const uint8_t t = bits::kReversed[*a];
            *a = bits::kReversed[*b];
            *b = t;
        }
        if (a == b) *a = bits::kReversed[*a];
    } else {
        for (size_t i = 0; i < count; ++i) out[i] = bits::kReversed[in[count - 1 - i]];
    }
}

}  // namespace

bool PageRaster::prepareDestination(PageRaster& destination, size_t bytes) {
    if (destination.hasBits() && destination.imageSize == bytes && destination.capacity() >= bytes) {
        std::memset(destination.bits(), 0, bytes);
        return true;
    }
    return destination.allocate(bytes);
}

// A quarter turn swaps the sides; the destination's rows are as many bytes
// as the source's height needs, for source-width rows rounded up to 8.
bool PageRaster::prepareQuarterTurn(const PageRaster& source, PageRaster& destination) {
    if (!source.hasBits()) return false;
    const size_t dstBpr = size_t(source.height + 7) / 8;
    if (!prepareDestination(destination, dstBpr * source.bytesPerRow * 8)) return false;
    // Rows become columns: the resolutions change places.
    destination.dpi = source.rowResolution();
    destination.rowDpi = source.rowDpi > 0 ? source.dpi : 0;
    destination.setSize(source.height, source.width);
    return true;
}

// After a row has been reversed, the padding bits that were at its right end
// stand at its left: move the row back so the image starts at the first bit.
void PageRaster::alignRowsAfterReversal() {
    const int used = width % 8;
    if (used == 0) return;
    uint8_t* r = buffer_.get();
    for (int32_t y = 0; y < height; ++y, r += bytesPerRow) shiftRowLeft(r, bytesPerRow, 8 - used);
}

bool PageRaster::halfTurnInPlace() {
    if (!buffer_) return false;
    const size_t count = std::min<size_t>(size_t(height) * bytesPerRow, capacity_);
    if (count == 0) return true;
    reverseRow(buffer_.get(), buffer_.get(), count);
    alignRowsAfterReversal();
    return true;
}

bool PageRaster::copy(const PageRaster& source, PageRaster& destination) {
    if (!source.hasBits()) return false;
    const size_t bytes = std::max<size_t>(source.imageSize, 1);
    if (!prepareDestination(destination, bytes)) return false;
    destination.coding = source.coding;
    destination.lineDoubling = source.lineDoubling;
    destination.dpi = source.dpi;
    destination.rowDpi = source.rowDpi;
    destination.setSize(source.width, source.height);
    std::memcpy(destination.bits(), source.bits(), std::min<size_t>(source.imageSize, source.capacity()));
    return true;
}

bool PageRaster::halfTurn(const PageRaster& source, PageRaster& destination) {
    if (!source.hasBits()) return false;
    if (!prepareDestination(destination, source.imageSize)) return false;
    destination.dpi = source.dpi;
    destination.rowDpi = source.rowDpi;
    destination.setSize(source.width, source.height);
    for (int32_t r = 0; r < source.height; ++r)
        reverseRow(source.row(source.height - 1 - r), destination.row(r), source.bytesPerRow);
    destination.alignRowsAfterReversal();
    return true;
}

bool PageRaster::mirrorLeftRight() {
    if (!buffer_) return false;
    for (int32_t r = 0; r < height; ++r) reverseRow(row(r), row(r), bytesPerRow);
    alignRowsAfterReversal();
    return true;
}

bool PageRaster::flipTopBottom() {
    if (!buffer_) return false;
    for (int32_t r = 0; r < height / 2; ++r) std::swap_ranges(row(r), row(r) + bytesPerRow, row(height - 1 - r));
    return true;
}

// Source pixel (x, y) goes to (y, width - 1 - x). Each 8 x 8 block (one byte
// column of 8 rows) is transposed by spreading each row's byte over a 64-bit
// word: byte k of the result is the destination row for source bit k.
bool PageRaster::quarterTurnCounterClockwise(const PageRaster& source, PageRaster& destination) {
    if (!prepareQuarterTurn(source, destination)) return false;
    const uint32_t srcBpr = source.bytesPerRow;
    const uint32_t dstBpr = destination.bytesPerRow;

    // The first destination rows would come from the padding bits of the
    // source's last byte; they are dropped.
    const int pad = source.width % 8 ? 8 - source.width % 8 : 0;
    const int32_t bands = int32_t(dstBpr);
    for (uint32_t c = 0; c < srcBpr; ++c) {
        const int32_t base = int32_t(srcBpr - 1 - c) * 8 - pad;
        for (int32_t b = 0; b < bands; ++b) {
            const uint8_t* s = source.bits() + size_t(b) * 8 * srcBpr + c;
            uint64_t acc = 0;
            for (int j = 0; j < 8; ++j) acc |= bits::kSpreadLsbFirst[s[size_t(j) * srcBpr]] >> j;
            for (int k = 0; k < 8; ++k) {
                const int32_t y = base + k;
                if (y >= 0) destination.row(y)[b] = uint8_t(acc >> (8 * k));
            }
        }
    }
    destination.clearPadding();
    return true;
}

// Source pixel (x, y) goes to (height - 1 - y, x). Bands of 8 source rows are
// taken from the bottom; the bottom row lands in the top bit. With the height
// rounded up to 8 the first destination columns are white rounding rows, so
// every row is moved left afterwards.
bool PageRaster::quarterTurnClockwise(const PageRaster& source, PageRaster& destination) {
    if (!prepareQuarterTurn(source, destination)) return false;
    const uint32_t srcBpr = source.bytesPerRow;
    const uint32_t dstBpr = destination.bytesPerRow;

    const int32_t bands = int32_t(dstBpr);
    for (uint32_t c = 0; c < srcBpr; ++c) {
        uint8_t* d = destination.bits() + size_t(c) * 8 * dstBpr;
        for (int32_t b = 0; b < bands; ++b) {
            const uint8_t* s = source.bits() + size_t(b) * 8 * srcBpr + c;
            uint64_t acc = 0;
            for (int j = 0; j < 8; ++j) acc |= bits::kSpreadMsbFirst[s[size_t(j) * srcBpr]] >> (7 - j);
            const size_t column = size_t(bands - 1 - b);
            for (int k = 0; k < 8; ++k) d[size_t(k) * dstBpr + column] = uint8_t(acc >> (8 * k));
        }
    }
    const int used = source.height % 8;
    if (used != 0) {
        uint8_t* r = destination.bits();
        for (uint32_t y = 0; y < srcBpr * 8; ++y, r += dstBpr) shiftRowLeft(r, dstBpr, 8 - used);
    }
    destination.clearPadding();
    return true;
}

}  // namespace lumipage
