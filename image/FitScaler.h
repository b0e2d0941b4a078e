#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "image/FaxRowSink.h"
#include "image/FitLayout.h"

namespace lumipage {

class CDIB;

class PageRaster;

// Receives the rows a fit produces, from the top down.
class FitRowOutput {
public:
    virtual ~FitRowOutput() = default;
    // Destination row y: `columns` holds the output columns, which belong at
    // the layout's destinationLeft. False stops the fit.
    virtual bool putRow(int32_t y, std::span<const uint8_t> columns) = 0;
};

// The 1-bit rows of a destination image (black = 1, leftmost pixel in the
// top bit). `step` is the distance from one row to the one below it:
// negative for images stored bottom-up.
struct BitmapRows {
    uint8_t* top = nullptr;  // row 0, the top row
    ptrdiff_t step = 0;
    int32_t width = 0;
    int32_t height = 0;

    uint8_t* row(int32_t y) const { return top + ptrdiff_t(y) * step; }
    size_t rowBytes() const { return size_t(width + 7) / 8; }
};

// Fits a rectangle of a page into an image of another size: the largest
// ratio of the fixed list at which it fits, turned a quarter turn when asked,
// centred or placed at an offset, ink winning where pixels merge. Works on
// whole bytes and table lookups; its working buffers are kept between calls,
// so one scaler serves one caller at a time.
class FitScaler {
public:
    static constexpr int32_t kFaxWidth = 1728;
    static constexpr int32_t kFaxHeight = 2290;
    static constexpr size_t kCodedRowBytes = 1080;  // room for one coded fax row

    // Fits into a page raster. A width or height of 0 takes the rectangle's,
    // so that side never forces a reduction; the buffer is allocated (exactly
    // imageSize) when missing or too small, else cleared first.
    bool fitIntoRaster(const PageRaster& source, const std::optional<PageRect>& clip, PageRaster& destination,
                       const std::optional<PagePoint>& offset, bool turn);

    // Fits into the rows of a 1-bit bitmap, cleared first (every row of
    // |step| bytes). The page is turned when exactly one of the rectangle and
    // the bitmap is landscape.
    bool fitIntoBitmapRows(const PageRaster& source, const std::optional<PageRect>& clip, const BitmapRows& target,
                           const std::optional<PagePoint>& offset);
    // Fits into a 1-bit bitmap (printing and print preview), whatever its row order.
    bool fitIntoBitmap(const PageRaster& source, const std::optional<PageRect>& clip, CDIB& bitmap,
                       const std::optional<PagePoint>& offset);

    // Fits into a 1728 x 2290 fax page (turned when the rectangle is
    // landscape) and sends it: each of the 2290 rows is shown as progress,
    // coded as a T.4 one-dimensional row ending in a byte-aligned EOL,
    // bit-reversed and given to the sink, with the sink's drain step between
    // rows and its end-of-page step after the last.
    bool fitIntoFaxPage(const PageRaster& source, const std::optional<PageRect>& clip,
                        const std::optional<PagePoint>& offset, FaxRowProgress& progress, FaxRowSink& sink);
    // The same with another row coder.
    bool fitIntoFaxPage(const PageRaster& source, const std::optional<PageRect>& clip,
                        const std::optional<PagePoint>& offset, FaxRowProgress& progress, FaxRowSink& sink,
                        FaxRowCoder& coder);

    // The engine: produces the rows of a planned fit of `source`.
    bool run(const PageRaster& source, const FitLayout& layout, FitRowOutput& output);

private:
    class SourceRows;

    bool copyRows(SourceRows& rows, const FitLayout& layout, FitRowOutput& output);
    bool scaleRows(SourceRows& rows, const FitLayout& layout, FitRowOutput& output);
    bool reserve(const FitLayout& layout);

    // Turned rows, made 8 at a time: 8 rows of (rectangle height / 8) bytes.
    std::vector<uint8_t> transposed_;
    // The output rows of the current group of l source rows: h rows of the
    // output width. Row k is the OR of the horizontally scaled source rows
    // that cover output row k, which is the vertical table lookup done for
    // 8 columns at a time.
    std::vector<uint8_t> groupRows_;
    std::vector<uint8_t> scaledRow_;  // one source row scaled horizontally
    std::vector<uint8_t> faxRow_;     // one whole fax page row
    std::vector<uint8_t> codedRow_;
};

}  // namespace lumipage
