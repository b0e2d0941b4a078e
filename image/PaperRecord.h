#pragma once
#include <cstdint>
#include <string_view>

#include "image/PageRaster.h"
#include "image/ReadError.h"

namespace lumipage {

class File;
class Messages;
class PageDecoder;

// One page stored inside a book file, at the offset the book's item table
// gives (item type "LPP"):
//
//   0   24  "LumipagePaper 2.1", zero-padded
//   24   4  header size (40)       28  4  1        32  8  0, 0
//   40   4  image block size (32)
//   44  28  coding, lineDoubling, dpi, width, height, n (data bytes), 0
//   72   n  the coded page (TaggedMH or T.6)
class PaperRecord {
public:
    static constexpr int kHeaderSize = 40;
    static constexpr int kImageBlockSize = 32;
    static constexpr std::string_view kMagic = "LumipagePaper 2.1";
    static constexpr std::string_view kMagicPrefix = "LumipagePaper";
    static constexpr std::string_view kItemType = "LPP";

    // Reads and decodes the record at `offset` into the raster. `itemType` is
    // the type text of the book item pointing at it. Failures say the reader's
    // messages ("Failed to load file" for a record that is not a page).
    static ReadError read(const File& file, int64_t offset, std::string_view itemType, PageRaster& raster,
                          PageDecoder& decoder);
    // The same, saying what went wrong through `messages`.
    static bool read(const File& file, int64_t offset, std::string_view itemType, PageRaster& raster,
                     PageDecoder& decoder, Messages& messages);
};

}  // namespace lumipage
