#include "view/DisplayGeometry.h"

#include <algorithm>

#include "image/PageRaster.h"
#include "view/ZoomLevels.h"

namespace lumipage {

namespace {

int64_t ceilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

}  // namespace

DisplayGeometry DisplayGeometry::forPage(const PageRaster& page, int level) {
    DisplayGeometry g;
    g.level = std::clamp(level, 0, zoom::kLevels - 1);
    const ZoomLevel& z = zoom::kTable[size_t(g.level)];
    const int64_t d = z.divisor;
    g.divisor = z.divisor;
    g.bitsPerPixel = z.bitsPerPixel;
    g.colours = z.colours;
    g.shift = z.shift;
    g.pageWidth = std::max(page.width, 0);
    g.pageHeight = std::max(page.height, 0);
    g.pageBytesPerRow = int(page.bytesPerRow);
    g.pageDpi = page.dpi;

    // The small levels take whole source bytes per display pixel; the others
    // stop at the last pixel whose block lies inside the row's bytes.
    const int64_t bpr = g.pageBytesPerRow;
    const int64_t width = d < zoom::kFirstByteSpan ? std::min(ceilDiv(g.pageWidth * int64_t{10}, d), bpr * 80 / d)
                                                   : ceilDiv(bpr, d / 80);
    g.displayWidth = int(width);
    g.displayHeight = int(ceilDiv(g.pageHeight * int64_t{10}, d));
    const int pixelsPerByte = 8 / g.bitsPerPixel;
    g.displayRowBytes = int(ceilDiv(width, pixelsPerByte));
    return g;
}

}  // namespace lumipage
