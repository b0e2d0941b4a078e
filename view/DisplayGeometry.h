#pragma once
#include <cstdint>

namespace lumipage {

class PageRaster;

// The size and format of the display bitmap built for one page at one zoom
// level, with the page figures the view reports.
struct DisplayGeometry {
    int level = 12;
    int divisor = 10;       // one display pixel spans divisor / 10 page pixels each way
    int displayWidth = 0;
    int displayHeight = 0;
    int displayRowBytes = 0;  // the bytes of each bitmap row the renderer fills
    int pageWidth = 0;
    int pageHeight = 0;
    int pageBytesPerRow = 0;
    int pageDpi = 0;
    int bitsPerPixel = 1;
    int colours = 2;
    int shift = 0;
    bool pageLoaded = false;

    // The geometry of a 1-bit page at a level (0..12).
    static DisplayGeometry forPage(const PageRaster& page, int level);
};

}  // namespace lumipage
