#pragma once
#include <cstdint>
#include <vector>

#include "view/DisplayGeometry.h"

namespace lumipage {

class CDIB;
class PageRaster;

// Reduces a 1-bit page raster into the display bitmap of a zoom level: each
// display pixel becomes the number of ink pixels of its block of the page.
// Whole source bytes are read through byte tables and summed into packed
// display rows; the smallest levels keep 16-bit sums per pixel and shift
// them into bytes. The working rows are kept between renders.
class PageRenderer {
public:
    // Fills the first displayRowBytes of every row of `bitmap`, which must
    // have been made for `geometry` (format and size). False when the
    // bitmap or the page does not match the geometry.
    bool render(const PageRaster& page, const DisplayGeometry& geometry, CDIB& bitmap);

private:
    struct Rows {
        int first;  // first page row of the display row
        int count;  // page rows it covers, never past the last one
    };
    static Rows rowsOf(const DisplayGeometry& g, int displayRow);

    void reduceRow(const PageRaster& page, const DisplayGeometry& g, int displayRow);
    void sumWholeBytes(const PageRaster& page, const DisplayGeometry& g, Rows rows);
    void addRow(const uint8_t* row, int bytesPerRow, const DisplayGeometry& g);
    void addOneAndAHalfRows(const PageRaster& page, const DisplayGeometry& g, int displayRow);

    std::vector<uint8_t> displayRow_;  // the display row being summed, with slack for whole chunks
    std::vector<uint16_t> sums_;       // 16-bit sums of the smallest levels
};

}  // namespace lumipage
