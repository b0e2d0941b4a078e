#pragma once
#include <cstdint>
#include <string>

#include "image/PageRaster.h"
#include "image/ReadError.h"

namespace lumipage {

class File;
class Messages;
class PageDecoder;

// A .FAX file: a 16-byte header and one page of T.4 one-dimensional rows,
// each after an EOL, ended by RTC, every byte least significant bit first.
// The page is 1728 x 2290 at 200 dpi; without the fine flag only every second
// row is coded and each is shown twice.
//
//   0 'S'   1 'F'   2 1   8 0x20   9 flags (0x40 fine)   10 flags (bits 0, 1 zero)
class FaxPageFile {
public:
    static constexpr int kHeaderSize = 16;
    static constexpr int kWidth = 1728;
    static constexpr int kHeight = 2290;
    static constexpr int kDpi = 200;
    static constexpr uint8_t kFineFlag = 0x40;

    // Checks the header and sets the raster's coding and geometry (no buffer).
    // Says "Failed to load file" when the header is unreadable or invalid.
    static ReadError open(const File& file, PageRaster& raster);
    static bool open(const File& file, PageRaster& raster, Messages& messages);
    // Decodes the page into the raster set up by open().
    static ReadError loadPage(const File& file, PageRaster& raster, PageDecoder& decoder);
    static bool loadPage(const File& file, PageRaster& raster, PageDecoder& decoder, Messages& messages);
    // False when the 16 bytes are not a fax file header; sets lineDoubling.
    static bool parseHeader(const uint8_t* bytes, PageRaster& raster);
};

}  // namespace lumipage
