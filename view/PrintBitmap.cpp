#include "view/PrintBitmap.h"

#include <algorithm>
#include <cstring>

#include "image/PageRaster.h"

namespace lumipage {

bool PrintBitmap::prepare(ViewSize size) {
    if (size.cx <= 0 || size.cy <= 0) return false;
    if (!made_ || bitmap_.width() != size.cx || bitmap_.height() != size.cy) {
        // Top-down rows, so row 0 is the page's top in memory too.
        made_ = bitmap_.create(size.cx, -size.cy, 1, 0);
        if (!made_) return false;
    }
    bitmap_.setPaletteEntry(0, CDIB::RgbQuad{255, 255, 255, 0});
    bitmap_.setPaletteEntry(1, CDIB::RgbQuad{0, 0, 0, 0});
    bitmap_.fill(0);
    return true;
}

void PrintBitmap::release() {
    bitmap_ = CDIB();
    made_ = false;
}

// Rows of the region, bytes from left / 8, into the bitmap from `firstRow`
// on: as many rows and bytes as both hold.
void PrintBitmap::copyRows(const PageRaster& shown, const ViewRect& region, int firstRow) {
    const size_t left = size_t(std::max(region.left, 0)) / 8;
    if (left >= shown.bytesPerRow) return;
    const size_t bytes = std::min<size_t>(bitmap_.stride(), shown.bytesPerRow - left);
    const int top = std::max(region.top, 0);
    const int rows = std::min({region.bottom, shown.height}) - top;
    for (int r = 0; r < rows && firstRow + r < bitmap_.height(); ++r)
        std::memcpy(bitmap_.rowAddress(firstRow + r), shown.row(top + r) + left, bytes);
}

// The region turned a quarter turn to the left: its top-right corner becomes
// the bitmap's top-left. The bitmap is as high as the region's width raised
// to whole bytes; the rows for the bits past the region's right edge stay white.
bool PrintBitmap::turnLeft(const PageRaster& shown, const ViewRect& region) {
    PageRaster part;
    const int width = std::min(region.right, shown.width) - region.left;
    const int height = std::min(region.bottom, shown.height) - region.top;
    if (width <= 0 || height <= 0 || !part.create(width, height, shown.dpi)) return false;
    const size_t left = size_t(region.left) / 8;
    const size_t bytes = std::min<size_t>(part.bytesPerRow, shown.bytesPerRow - left);
    for (int r = 0; r < height; ++r) std::memcpy(part.row(r), shown.row(region.top + r) + left, bytes);
    part.clearPadding();
    PageRaster turned;
    if (!PageRaster::quarterTurnCounterClockwise(part, turned)) return false;
    const int firstRow = bitmap_.height() - turned.height;
    const size_t rowBytes = std::min<size_t>(bitmap_.stride(), turned.bytesPerRow);
    for (int r = 0; r < turned.height && firstRow + r < bitmap_.height(); ++r)
        if (firstRow + r >= 0) std::memcpy(bitmap_.rowAddress(firstRow + r), turned.row(r), rowBytes);
    return true;
}

bool PrintBitmap::fill(const PageRaster& shown, const print::BitmapShape& shape) {
    if (!shown.hasBits() || !prepare(shape.size)) return false;
    if (shape.copied) {
        copyRows(shown, shape.region, 0);
        return true;
    }
    if (shape.turned) return turnLeft(shown, shape.region);
    const ViewRect& r = shape.region;
    return scaler_.fitIntoBitmap(shown, PageRect{r.left, r.top, std::min(r.right, shown.width), r.bottom}, bitmap_,
                                 std::nullopt);
}

}  // namespace lumipage
