#pragma once
#include "image/CDIB.h"
#include "image/FitScaler.h"
#include "view/PrintLayout.h"

namespace lumipage {

class PageRaster;

// The 1-bit bitmap a sheet is printed from: black ink on white paper
// whatever the screen's colours (index 0 white, 1 black), kept from sheet to
// sheet while its size stays the same.
class PrintBitmap {
public:
    // Fills the bitmap with the shape's region of the page as shown.
    bool fill(const PageRaster& shown, const print::BitmapShape& shape);
    const CDIB& bitmap() const { return bitmap_; }
    void release();

private:
    bool prepare(ViewSize size);
    void copyRows(const PageRaster& shown, const ViewRect& region, int firstRow);
    bool turnLeft(const PageRaster& shown, const ViewRect& region);

    CDIB bitmap_;
    bool made_ = false;
    FitScaler scaler_;
};

}  // namespace lumipage
