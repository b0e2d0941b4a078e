#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "image/PageRaster.h"

namespace lumipage {

// Decodes coded page data into a page raster: the program's own TaggedMH
// rows, T.4 one-dimensional rows with EOL (.FAX, TIFF compression 3), TIFF
// compression 2 rows, T.4 two-dimensional rows and T.6 rows, and raw rows.
// Damaged data is not an error: the rows decoded before the damage are kept
// and the rest of the page stays white. The working state (changing-element
// lists) is reused from call to call; one decoder decodes one page at a time.
class PageDecoder {
public:
    PageDecoder();
    ~PageDecoder();
    PageDecoder(const PageDecoder&) = delete;
    PageDecoder& operator=(const PageDecoder&) = delete;

    // The raster's coding, width, height, bytesPerRow and lineDoubling are set
    // and its buffer holds at least imageSize + PageRaster::kSpareBytes bytes,
    // cleared by the caller before the first call of a page. Decodes rows
    // firstRow, firstRow + 1, ... and stops when no coded bytes remain, after
    // the page's last row, when rowBudget rows were decoded (0: no budget) or
    // at a row that fails. Returns the number of rows decoded.
    int decodePage(std::span<const uint8_t> coded, PageRaster& raster, int firstRow = 0, int rowBudget = 0);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lumipage
