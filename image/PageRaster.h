#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "image/PageCoding.h"

namespace lumipage {

class Messages;

// One page image, one bit per pixel: 1 is ink (black), 0 paper (white); the
// most significant bit of a byte is the leftmost pixel; rows run top-down,
// byte-aligned with no further padding. The unused low bits of each row's
// last byte are kept 0 by every transform.
//
// The record describes the image and the coding it came from or is to be
// written in; it owns its pixel buffer. The stored 32-byte form (paper
// records) is written by storedRecord().
class PageRaster {
public:
    static constexpr int kMaxSide = 16000;
    static constexpr size_t kSpareBytes = 1024;  // room for 8-row blocks and decoders running a little past the end

    int32_t coding = 0;         // a PageCoding value
    uint32_t lineDoubling = 0;  // 1: only every second row is coded (standard-resolution fax)
    int32_t dpi = 0;            // dots per inch across, and down unless rowDpi says otherwise; 0 = unknown
    int32_t rowDpi = 0;         // rows per inch where they differ from dpi (a fax page's rows), 0 = as dpi
    int32_t width = 0;
    int32_t height = 0;
    uint32_t bytesPerRow = 0;  // (width + 7) / 8
    uint32_t imageSize = 0;    // height rounded up to 8 rows, times bytesPerRow

    PageRaster() = default;
    PageRaster(const PageRaster&) = delete;
    PageRaster& operator=(const PageRaster&) = delete;
    PageRaster(PageRaster&&) noexcept = default;
    PageRaster& operator=(PageRaster&&) noexcept = default;

    // Geometry only: sets width, height, bytesPerRow and imageSize.
    void setSize(int32_t w, int32_t h);
    // Sets the geometry and allocates imageSize + spare zero bytes.
    bool create(int32_t w, int32_t h, int32_t resolution);
    // At least `bytes` zero bytes: the buffer kept when it holds them and is
    // not much larger, else replaced; false (and no buffer) when memory runs out.
    bool allocate(size_t bytes);
    // Allocates imageSize + spare bytes for the current geometry, as readers do.
    bool allocatePage() { return allocate(size_t{imageSize} + kSpareBytes); }
    void clear();  // the first imageSize bytes (as far as allocated) become white
    void free();
    // The raster a page that failed to load shows: an empty white A4 page at 300 dpi.
    void resetToBlank();

    uint8_t* bits() { return buffer_.get(); }
    const uint8_t* bits() const { return buffer_.get(); }
    bool hasBits() const { return buffer_ != nullptr; }
    size_t capacity() const { return capacity_; }
    uint8_t* row(int32_t r) { return buffer_.get() + size_t(r) * bytesPerRow; }
    const uint8_t* row(int32_t r) const { return buffer_.get() + size_t(r) * bytesPerRow; }
    bool isLandscape() const { return height < width; }
    // Rows per inch: the page's true height is height / rowResolution() inches.
    int32_t rowResolution() const { return rowDpi > 0 ? rowDpi : dpi; }

    // Zeroes the unused bits of every row's last byte and the rows between
    // height and the 8-row rounding, restoring the raster's invariant after
    // bytes came from a file.
    void clearPadding();

    // The 32-byte little-endian stored form; the pointer field is stored as 0.
    std::array<uint8_t, 32> storedRecord() const;

    // True when both sides are at most 16000.
    static constexpr bool fits(int32_t w, int32_t h) { return w <= kMaxSide && h <= kMaxSide; }
    // The same; otherwise says so, naming the file.
    static bool checkSize(const std::string& fileName, int32_t w, int32_t h, Messages& messages);
    static bool orientationDiffers(const PageRaster& a, const PageRaster& b) {
        return a.isLandscape() != b.isLandscape();
    }

    // Byte operations on plain buffers.
    static void invertBytes(uint8_t* data, size_t count);
    static void reverseBitOrder(uint8_t* data, size_t count);
    // Moves a row n (1..7) bits towards the first byte's top bit, zeros in at the right.
    static void shiftRowLeft(uint8_t* row, size_t count, int n);

    // Whole-raster transforms; false when there is no source buffer or the
    // destination cannot be allocated.
    bool invert();
    bool halfTurnInPlace();
    bool mirrorLeftRight();
    bool flipTopBottom();
    // The whole page, pixels and record, into `destination` (its buffer reused when it fits).
    static bool copy(const PageRaster& source, PageRaster& destination);
    static bool halfTurn(const PageRaster& source, PageRaster& destination);
    // The right edge of the page becomes the top.
    static bool quarterTurnCounterClockwise(const PageRaster& source, PageRaster& destination);
    // The left edge of the page becomes the top.
    static bool quarterTurnClockwise(const PageRaster& source, PageRaster& destination);

private:
    // Gives the destination the size it needs, keeping its buffer when the size is unchanged.
    static bool prepareDestination(PageRaster& destination, size_t bytes);
    static bool prepareQuarterTurn(const PageRaster& source, PageRaster& destination);
    void alignRowsAfterReversal();

    std::unique_ptr<uint8_t[]> buffer_;
    size_t capacity_ = 0;
};

}  // namespace lumipage
