#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "image/PageRaster.h"

namespace lumipage::test {

// libtiff as an independent coder for checking our codecs (test-only).
// Pages are written PhotometricInterpretation 0 (WhiteIsZero), so raster
// bits map to TIFF bits unchanged.

// TIFF Compression values.
inline constexpr int kTiffUncompressed = 1;
inline constexpr int kTiffModifiedHuffman = 2;  // CCITT RLE: MH rows without EOL, byte-aligned
inline constexpr int kTiffGroup3 = 3;           // T.4, EOL before every row
inline constexpr int kTiffGroup4 = 4;           // T.6

struct LibtiffOptions {
    int compression = kTiffGroup4;
    bool twoDimensional = false;  // compression 3: T4Options bit 0
    int fillOrder = 1;            // 2: every byte least significant bit first
    int rowsPerStrip = 0;         // 0: the whole page in one strip
};

// Writes the page as a one-page TIFF file; false when libtiff fails.
bool libtiffWriteFile(const std::string& path, const PageRaster& page, const LibtiffOptions& options);

// The page coded by libtiff: the raw data of its single strip, bytes as
// stored in the file (least significant bit first with fillOrder 2).
std::vector<uint8_t> libtiffEncode(const PageRaster& page, int compression, bool twoDimensional = false,
                                   int fillOrder = 1);

// The raw data of every strip of a page of a TIFF file, bytes as stored.
std::vector<std::vector<uint8_t>> libtiffRawStrips(const std::string& path, int directory = 0);

// Reads one page (directory) of a TIFF file with libtiff into a raster with
// ink as 1; a raster without bits when libtiff cannot read it.
PageRaster libtiffReadFile(const std::string& path, int directory = 0);

// Decodes one strip of coded data with libtiff (stored in a TIFF file made
// for the purpose); rows libtiff cannot decode stay as libtiff leaves them.
PageRaster libtiffDecode(std::span<const uint8_t> strip, int width, int height, int compression,
                         bool twoDimensional = false, int fillOrder = 1);

}  // namespace lumipage::test
