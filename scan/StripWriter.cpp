#include "scan/StripWriter.h"

#include <algorithm>
#include <cstring>

namespace lumipage {

namespace {

// Two 4-bit pixels per byte become two bits: a pixel is black when the high
// bit of its nibble is clear.
constexpr std::array<uint8_t, 256> makeNibbleTable() {
    std::array<uint8_t, 256> table{};
    for (int b = 0; b < 256; ++b) table[size_t(b)] = uint8_t(((b & 0x80) ? 0 : 2) | ((b & 0x08) ? 0 : 1));
    return table;
}
constexpr auto kNibblePairs = makeNibbleTable();
static_assert(kNibblePairs[0x00] == 3 && kNibblePairs[0xff] == 0 && kNibblePairs[0x7f] == 2 && kNibblePairs[0xf7] == 1);

uint8_t lastByteMask(uint32_t pixels) {
    const uint32_t used = pixels % 8;
    return used == 0 ? 0xff : uint8_t(0xff << (8 - used));
}

}  // namespace

StripWriter::StripWriter(PageRaster& page, std::vector<uint8_t>& gray, int bitsPerPixel, int threshold,
                         bool xeroxTwain)
    : page_(page), gray_(gray), bitsPerPixel_(bitsPerPixel), threshold_(threshold), xeroxTwain_(xeroxTwain) {
    if (bitsPerPixel_ == 8) gray_.assign(size_t(page_.width) * size_t(page_.height), 255);
    else gray_.clear();
    converted_.resize(page_.bytesPerRow + 1);
}

void StripWriter::convertRow(const uint8_t* in, uint32_t pixels, int bitsPerPixel, int threshold, uint8_t* out) {
    const uint32_t bytes = (pixels + 7) / 8;
    if (bitsPerPixel == 1) {
        for (uint32_t i = 0; i < bytes; ++i) out[i] = uint8_t(~in[i]);
    } else if (bitsPerPixel == 4) {
        for (uint32_t i = 0; i < bytes; ++i) {
            const uint32_t first = i * 4;  // source byte of this output byte's first pixel pair
            const uint32_t pairs = std::min<uint32_t>(4, (pixels - i * 8 + 1) / 2);
            uint8_t value = 0;
            for (uint32_t p = 0; p < pairs; ++p) value |= uint8_t(kNibblePairs[in[first + p]] << (6 - 2 * p));
            out[i] = value;
        }
    } else {
        const uint32_t whole = pixels / 8;
        for (uint32_t i = 0; i < whole; ++i) {
            const uint8_t* p = in + size_t(i) * 8;
            out[i] = uint8_t((p[0] < threshold) << 7 | (p[1] < threshold) << 6 | (p[2] < threshold) << 5 |
                             (p[3] < threshold) << 4 | (p[4] < threshold) << 3 | (p[5] < threshold) << 2 |
                             (p[6] < threshold) << 1 | (p[7] < threshold));
        }
        if (whole < bytes) {
            uint8_t value = 0;
            for (uint32_t x = whole * 8; x < pixels; ++x) value |= uint8_t((in[x] < threshold) << (7 - x % 8));
            out[whole] = value;
        }
    }
    if (bytes > 0) out[bytes - 1] &= lastByteMask(pixels);
}

void StripWriter::rethreshold(const std::vector<uint8_t>& gray, int threshold, PageRaster& page) {
    const size_t width = size_t(page.width);
    if (!page.hasBits() || gray.size() < width * size_t(page.height)) return;
    for (int32_t y = 0; y < page.height; ++y) convertRow(gray.data() + width * size_t(y), uint32_t(width), 8, threshold, page.row(y));
}

int32_t StripWriter::firstRow(const StripLayout& strip) const {
    if (strip.yOffset == kDontCare) return rowsStored_;
    if (!xeroxTwain_) return int32_t(std::min<uint32_t>(strip.yOffset, uint32_t(PageRaster::kMaxSide)));
    // Some sources number every strip from 0; a strip then continues the page.
    const bool beyond = strip.yOffset > uint32_t(rowsStored_);
    const bool shifted = strip.xOffset != 0 && strip.xOffset != kDontCare;
    if (beyond || shifted) return int32_t(std::min<uint32_t>(strip.yOffset, uint32_t(PageRaster::kMaxSide)));
    return rowsStored_;
}

bool StripWriter::store(std::span<const uint8_t> buffer, const StripLayout& strip) {
    if (strip.rows == 0 || strip.rows == kDontCare) return true;
    const uint64_t bitsPerRow = uint64_t(strip.bytesPerRow) * 8;
    uint64_t columns = (strip.columns == 0 || strip.columns == kDontCare) ? bitsPerRow / uint32_t(bitsPerPixel_)
                                                                          : strip.columns;
    if (columns * uint32_t(bitsPerPixel_) > bitsPerRow) return false;
    const uint64_t need = uint64_t(strip.rows) * strip.bytesPerRow;
    const uint64_t written = strip.bytesWritten == kDontCare ? need : strip.bytesWritten;
    if (need > buffer.size() || need > written) return false;

    const uint32_t column = strip.xOffset == kDontCare ? 0 : strip.xOffset;
    if (column >= uint32_t(page_.width)) return true;
    const uint32_t pixels = uint32_t(std::min<uint64_t>(columns, uint32_t(page_.width) - column));
    const int32_t top = firstRow(strip);
    for (uint32_t r = 0; r < strip.rows; ++r) {
        const int64_t row = int64_t(top) + r;
        if (row >= page_.height) break;  // rows beyond the raster are ignored
        storeRow(buffer.data() + size_t(r) * strip.bytesPerRow, pixels, column, int32_t(row));
    }
    rowsStored_ = int32_t(std::min<int64_t>(std::max<int64_t>(rowsStored_, int64_t(top) + strip.rows), page_.height));
    return true;
}

void StripWriter::storeRow(const uint8_t* in, uint32_t pixels, uint32_t column, int32_t row) {
    // A strip of no bytes per row has no buffer at all to copy from.
    if (pixels == 0) return;
    convertRow(in, pixels, bitsPerPixel_, threshold_, converted_.data());
    uint8_t* out = page_.row(row);
    const uint32_t bytes = (pixels + 7) / 8;
    const uint32_t shift = column % 8;
    uint8_t* target = out + column / 8;
    const uint8_t* rowEnd = out + page_.bytesPerRow;
    if (shift == 0) {
        std::memcpy(target, converted_.data(), bytes);
    } else {
        for (uint32_t i = 0; i < bytes; ++i) {
            target[i] |= uint8_t(converted_[i] >> shift);
            if (target + i + 1 < rowEnd) target[i + 1] |= uint8_t(converted_[i] << (8 - shift));
        }
    }
    out[page_.bytesPerRow - 1] &= lastByteMask(uint32_t(page_.width));
    if (bitsPerPixel_ == 8) std::memcpy(gray_.data() + size_t(row) * size_t(page_.width) + column, in, pixels);
}

}  // namespace lumipage
