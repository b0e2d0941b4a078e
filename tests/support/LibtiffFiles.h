#pragma once
#include <string>
#include <vector>

#include "image/PageRaster.h"

namespace lumipage::test {

// How libtiff is to store one page (TIFF 6.0 field values).
struct LibtiffPage {
    const PageRaster* image = nullptr;  // 1 = ink
    int compression = 4;                // 1, 2 (CCITT RLE), 3 or 4
    bool twoDimensional = false;        // compression 3: T4Options bit 0
    bool leastSignificantBitFirst = false;  // FillOrder 2
    bool blackIsZero = false;           // PhotometricInterpretation 1
    int rowsPerStrip = 0;               // 0: one strip
    float xResolution = 200, yResolution = 200;
    int subfileType = -1;               // NewSubfileType, -1: none
    int pageNumber = -1;                // PageNumber, -1: none
};

// Writes the pages, one directory each, with libtiff.
bool writeTiffWithLibtiff(const std::string& path, const std::vector<LibtiffPage>& pages, bool bigEndian = false);

// Decodes directory `directory` (0-based) with libtiff into a raster of 1 = ink.
bool readTiffWithLibtiff(const std::string& path, int directory, PageRaster& page);

}  // namespace lumipage::test
