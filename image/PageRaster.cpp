#include "image/PageRaster.h"

#include <cstring>
#include <new>

#include "base/Messages.h"
#include "image/ReadError.h"
#include "image/BitTables.h"

namespace lumipage {

namespace {

constexpr int32_t kBlankWidth = 2360;   // A4 at 300 dpi
constexpr int32_t kBlankHeight = 3384;
constexpr int32_t kBlankDpi = 300;

void putLE32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

}  // namespace

void PageRaster::setSize(int32_t w, int32_t h) {
    width = w;
    height = h;
    bytesPerRow = w > 0 ? uint32_t(w + 7) / 8 : 0;
    imageSize = h > 0 ? (uint32_t(h + 7) & ~7u) * bytesPerRow : 0;
}

bool PageRaster::create(int32_t w, int32_t h, int32_t resolution) {
    setSize(w, h);
    dpi = resolution;
    rowDpi = 0;
    return allocatePage();
}

bool PageRaster::allocate(size_t bytes) {
    // A page of about the size of the last one (the next page of a file,
    // the same page again) takes the buffer that one leaves, cleared: fresh
    // memory of a page's size costs far more, as the system maps and zeroes
    // it page by page while the decoder first writes to it.
    if (buffer_ && capacity_ >= bytes && capacity_ - bytes <= capacity_ / 4) {
        std::memset(buffer_.get(), 0, capacity_);
        return true;
    }
    free();
    try {
        buffer_ = std::make_unique<uint8_t[]>(bytes);  // value-initialised: zero-filled
        capacity_ = bytes;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void PageRaster::clear() {
    if (buffer_) std::memset(buffer_.get(), 0, std::min<size_t>(imageSize, capacity_));
}

void PageRaster::free() {
    buffer_.reset();
    capacity_ = 0;
}

void PageRaster::resetToBlank() {
    coding = int32_t(PageCoding::Bit);
    lineDoubling = 0;
    dpi = kBlankDpi;
    rowDpi = 0;
    setSize(kBlankWidth, kBlankHeight);
    allocatePage();
}

void PageRaster::clearPadding() {
    if (!buffer_ || bytesPerRow == 0 || height <= 0) return;
    const size_t used = size_t(height) * bytesPerRow;
    if (used > capacity_) return;
    const uint8_t mask = bits::lastByteMask(width);
    if (mask != 0xFF) {
        uint8_t* last = buffer_.get() + bytesPerRow - 1;
        for (int32_t r = 0; r < height; ++r, last += bytesPerRow) *last &= mask;
    }
    const size_t end = std::min<size_t>(imageSize, capacity_);
    if (end > used) std::memset(buffer_.get() + used, 0, end - used);
}

std::array<uint8_t, 32> PageRaster::storedRecord() const {
    std::array<uint8_t, 32> r{};
    putLE32(&r[0], uint32_t(coding));
    putLE32(&r[4], lineDoubling);
    putLE32(&r[8], uint32_t(dpi));
    putLE32(&r[12], uint32_t(width));
    putLE32(&r[16], uint32_t(height));
    putLE32(&r[20], bytesPerRow);
    putLE32(&r[24], imageSize);
    return r;
}

bool PageRaster::checkSize(const std::string& fileName, int32_t w, int32_t h, Messages& messages) {
    return sayReadError(messages, fits(w, h) ? ReadError::None : ReadError::TooLarge, fileName);
}

void PageRaster::invertBytes(uint8_t* data, size_t count) {
    for (size_t i = 0; i < count; ++i) data[i] = uint8_t(~data[i]);
}

void PageRaster::reverseBitOrder(uint8_t* data, size_t count) {
    for (size_t i = 0; i < count; ++i) data[i] = bits::kReversed[data[i]];
}

void PageRaster::shiftRowLeft(uint8_t* row, size_t count, int n) {
    if (count == 0 || n <= 0 || n > 7) return;
    for (size_t i = 0; i + 1 < count; ++i) row[i] = uint8_t((row[i] << n) | (row[i + 1] >> (8 - n)));
    row[count - 1] = uint8_t(row[count - 1] << n);
}

bool PageRaster::invert() {
    if (!buffer_) return false;
    invertBytes(buffer_.get(), std::min<size_t>(size_t(height) * bytesPerRow, capacity_));
    clearPadding();
    return true;
}

}  // namespace lumipage
