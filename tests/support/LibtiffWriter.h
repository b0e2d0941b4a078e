#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/PageRaster.h"

namespace lumipage::test {

// libtiff as an independent TIFF coder and reader (test dependency only).

// A one-strip TIFF of the page coded by libtiff (compression 1 to 4, T4Options
// for compression 3), built in memory. Empty on failure.
std::vector<uint8_t> libtiffEncode(const PageRaster& page, int compression, uint32_t t4Options = 0);

// Reads page `directory` (0-based) of a TIFF file with libtiff into `page`,
// ink as 1. False when libtiff cannot read it or reports an error.
bool libtiffReadPage(const std::string& path, int directory, PageRaster& page);

// The number of directories libtiff finds, -1 when it cannot open the file.
int libtiffPageCount(const std::string& path);

}  // namespace lumipage::test
