#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "image/PageRaster.h"

namespace lumipage {

// Rows of a memory transfer, as a TWAIN source describes one strip.
struct StripLayout {
    uint32_t bytesPerRow = 0;
    uint32_t columns = 0;  // pixels per row; 0 or the don't-care value: as many as the bytes hold
    uint32_t rows = 0;
    uint32_t xOffset = 0;  // first column of the strip
    uint32_t yOffset = 0;  // first row of the strip
    uint32_t bytesWritten = 0;
};

// Converts the strips of one transferred page to the page raster's one bit
// per pixel (1 = black) and stores them at their place: 1-bit data is the
// source's "0 is black" and is inverted; 4-bit pixels are black when their
// high bit is clear; 8-bit pixels are black below the threshold and are
// also kept in the gray copy (one byte per pixel, rows of the raster's
// width) so that the threshold can be changed afterwards. Nothing is ever
// read beyond the strip buffer or written outside the raster.
class StripWriter {
public:
    static constexpr uint32_t kDontCare = 0xffffffff;

    // `gray` is resized to width x height for 8-bit data, emptied otherwise.
    StripWriter(PageRaster& page, std::vector<uint8_t>& gray, int bitsPerPixel, int threshold,
                bool xeroxTwain);

    // Stores one strip from `buffer`; false when the strip is malformed
    // (rows that do not fit the bytes written or the buffer).
    bool store(std::span<const uint8_t> buffer, const StripLayout& strip);
    int rowsStored() const { return rowsStored_; }

    // Converts one row of `pixels` pixels into `out` ((pixels + 7) / 8 bytes).
    static void convertRow(const uint8_t* in, uint32_t pixels, int bitsPerPixel, int threshold, uint8_t* out);
    // Thresholds the gray copy into the raster again.
    static void rethreshold(const std::vector<uint8_t>& gray, int threshold, PageRaster& page);

private:
    void storeRow(const uint8_t* in, uint32_t pixels, uint32_t column, int32_t row);
    int32_t firstRow(const StripLayout& strip) const;

    PageRaster& page_;
    std::vector<uint8_t>& gray_;
    int bitsPerPixel_;
    int threshold_;
    bool xeroxTwain_;
    int32_t rowsStored_ = 0;
    std::vector<uint8_t> converted_;
};

}  // namespace lumipage
