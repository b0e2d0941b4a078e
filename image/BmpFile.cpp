#include "image/BmpFile.h"

#include <array>
#include <bit>
#include <cstring>

#include "base/Messages.h"
#include "image/CDIB.h"
#include "image/PageRaster.h"
#include "platform/File.h"

namespace lumipage {

namespace {

constexpr const char* kSaveFailed = "Failed to save DIB file";

// For a byte of two 4-bit pixels, the two page bits: ink where the index is below 8.
constexpr std::array<uint8_t, 256> kNibbleInk = [] {
    std::array<uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v) t[size_t(v)] = uint8_t((v < 0x80 ? 2 : 0) | ((v & 0x0F) < 8 ? 1 : 0));
    return t;
}();
static_assert(kNibbleInk[0x00] == 3 && kNibbleInk[0x8F] == 0 && kNibbleInk[0x78] == 2 && kNibbleInk[0x97] == 1);

// Eight 8-bit pixels (the first in the lowest byte of the word) to one page
// byte, the first pixel in the top bit: ink where the index is below 128.
// The top bit of every pixel is gathered by one multiplication.
constexpr uint8_t inkOfEightIndices(uint64_t pixels) {
    const uint64_t tops = (pixels >> 7) & 0x0101010101010101ull;
    return uint8_t(~((tops * 0x8040201008040201ull) >> 56));
}
static_assert(inkOfEightIndices(0) == 0xFF && inkOfEightIndices(~0ull) == 0x00);
static_assert(inkOfEightIndices(0x80) == 0x7F && inkOfEightIndices(0x8000000000000000ull) == 0xFE);

uint64_t loadLittleEndian64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    return v;
}

void convertRow1(const uint8_t* from, uint8_t* to, size_t count, bool invert) {
    std::memcpy(to, from, count);
    if (invert) PageRaster::invertBytes(to, count);
}

void convertRow4(const uint8_t* from, uint8_t* to, size_t count) {
    // The bitmap's row is 4 x count bytes long (both are the width rounded up to 8 pixels).
    for (size_t i = 0; i < count; ++i, from += 4)
        to[i] = uint8_t(kNibbleInk[from[0]] << 6 | kNibbleInk[from[1]] << 4 | kNibbleInk[from[2]] << 2 |
                        kNibbleInk[from[3]]);
}

void convertRow8(const uint8_t* from, uint8_t* to, int32_t width) {
    const size_t whole = size_t(width) / 8;
    for (size_t i = 0; i < whole; ++i, from += 8) to[i] = inkOfEightIndices(loadLittleEndian64(from));
    if (const size_t rest = size_t(width) % 8) {
        uint8_t tail[8];
        std::memset(tail, 0xFF, sizeof tail);  // paper beyond the last pixel
        std::memcpy(tail, from, rest);
        to[whole] = inkOfEightIndices(loadLittleEndian64(tail));
    }
}

}  // namespace

bool BmpFile::pageFromBitmap(const CDIB& bitmap, PageRaster& raster) {
    raster.coding = int32_t(PageCoding::Bit);
    raster.lineDoubling = 0;
    raster.dpi = int32_t((int64_t(bitmap.pixelsPerMetreX()) * 254 + 5000) / 10000);
    raster.rowDpi = 0;
    raster.setSize(bitmap.width(), bitmap.height());
    if (!raster.allocatePage()) return false;
    // The first colour being the darker one means 0 bits are ink.
    const bool invert = bitmap.palette()[0].green < bitmap.palette()[1].green;
    for (int32_t r = 0; r < raster.height; ++r) {
        const uint8_t* from = bitmap.rowAddress(r);
        if (!from) break;
        switch (bitmap.bitsPerPixel()) {
            case 1: convertRow1(from, raster.row(r), raster.bytesPerRow, invert); break;
            case 4: convertRow4(from, raster.row(r), raster.bytesPerRow); break;
            default: convertRow8(from, raster.row(r), raster.width); break;
        }
    }
    raster.clearPadding();
    return true;
}

bool BmpFile::loadPage(const std::string& path, CDIB& bitmap, PageRaster& raster, Messages& messages) {
    return sayReadError(messages, loadPage(path, bitmap, raster), path);
}

ReadError BmpFile::loadPage(const std::string& path, CDIB& bitmap, PageRaster& raster) {
    // The header first, so that an oversized bitmap is refused before its
    // pixels are allocated.
    CDIB read;
    if (!read.open(path, CDIB::Content::HeaderOnly)) return ReadError::CannotOpenBitmap;
    if (!PageRaster::fits(read.width(), read.height())) return ReadError::TooLarge;
    if (!read.open(path, CDIB::Content::Everything)) return ReadError::CannotOpenBitmap;
    if (!pageFromBitmap(read, raster)) return ReadError::OutOfMemory;
    bitmap = std::move(read);
    return ReadError::None;
}

bool BmpFile::bitmapFromPage(const PageRaster& raster, CDIB& bitmap) {
    if (!raster.hasBits()) return false;
    const int32_t pixelsPerMetre = int32_t((int64_t(raster.dpi) * 10000 + 127) / 254);
    if (!bitmap.create(raster.width, raster.height, 1, pixelsPerMetre)) return false;
    bitmap.setPaletteEntry(0, {0, 0, 0, 0});
    bitmap.setPaletteEntry(1, {255, 255, 255, 0});
    for (int32_t r = 0; r < raster.height; ++r) {
        uint8_t* to = bitmap.rowAddress(r);
        std::memcpy(to, raster.row(r), raster.bytesPerRow);
        PageRaster::invertBytes(to, raster.bytesPerRow);
    }
    return true;
}

bool BmpFile::savePage(const std::string& path, const PageRaster& raster, const CDIB* kept, Messages& messages) {
    CDIB made;
    if (!kept) {
        if (!bitmapFromPage(raster, made)) {
            messages.message(kSaveFailed);
            return false;
        }
        kept = &made;
    }
    File file;
    if (!file.open(path, File::Mode::Create) || !kept->write(file)) {
        messages.message(kSaveFailed);
        return false;
    }
    return true;
}

int BmpFile::countPages(const std::string& path) {
    CDIB bitmap;
    return bitmap.open(path, CDIB::Content::HeaderOnly) ? 1 : 0;
}

}  // namespace lumipage
