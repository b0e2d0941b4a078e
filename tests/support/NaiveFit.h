#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "image/FitLayout.h"
#include "image/PageRaster.h"

namespace lumipage::test {

// For each source pixel of a ratio's group, the first and last output pixel
// it covers, read from the ratio's written column by a plain parser of its
// own (1:1 gives one pixel covering pixel 0).
std::vector<std::pair<int, int>> naiveCovers(const fit::RatioColumn& column);

// The table a ratio should have, evaluated pixel by pixel from its covers.
std::vector<uint16_t> naiveTable(const fit::RatioColumn& column);

// The fit of `page` laid out by `layout`, computed one output pixel at a
// time straight from the covering rule and the turn's coordinates, into a
// white raster of the layout's destination size.
PageRaster naiveFit(const PageRaster& page, const FitLayout& layout);

bool pixel(const PageRaster& page, int32_t x, int32_t y);
void setPixel(PageRaster& page, int32_t x, int32_t y);

}  // namespace lumipage::test
