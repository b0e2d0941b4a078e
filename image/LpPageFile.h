#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/PageRaster.h"
#include "image/ReadError.h"

namespace lumipage {

class File;
class Messages;
class PageDecoder;

// The program's own page file (.MH, .BW, with an optional resolution digit
// such as .MH1): a 176-byte text header, a table of page offsets, then the
// pages as raw rows or TaggedMH rows.
//
//   0     k, the size class of the table (0..15)
//   1     "TITLE:" + title from offset 7 (55 characters, space-filled) CR LF
//   64    "DPI:", "XSIZE:", "YSIZE:", "BYTE:", "CODE:", "PAGE:" lines,
//         16 bytes each, the value right-aligned and ending at byte 14 of the line
//   160   16 zero bytes
//   176   20 + 64 k little-endian offsets; the first page starts at 256 + 256 k
class LpPageFile {
public:
    static constexpr int kHeaderSize = 176;
    static constexpr int kMaxSizeClass = 15;
    static constexpr int tableBytes(int k) { return k * 256 + 80; }
    static constexpr int tableEntries(int k) { return tableBytes(k) / 4; }

    struct Header {
        int sizeClass = 0;
        std::string title;  // UTF-8
        int pageCount = 0;
        std::vector<uint32_t> pageOffsets;  // absolute offset of each page's data, 0 = none
        // What the header says of every page: each page is read on these
        // terms, whatever an earlier page of the file left in the raster.
        int32_t coding = 0;
        int32_t dpi = 0;
        int32_t width = 0;
        int32_t height = 0;
    };

    // Reads the header and the offset table; sets the raster's coding, dpi and
    // geometry (no buffer). Says "Failed to load file" when the header is
    // unreadable or not a page file.
    static ReadError open(const File& file, Header& header, PageRaster& raster);
    static bool open(const File& file, Header& header, PageRaster& raster, Messages& messages);

    // Page 1..pageCount into the raster, in the header's geometry: size
    // check, allocation, then raw rows or decoded TaggedMH rows.
    static ReadError loadPage(const File& file, const Header& header, int page, PageRaster& raster,
                              PageDecoder& decoder);
    // The same, saying what went wrong through `messages` (nothing for a page outside the file).
    static bool loadPage(const File& file, const Header& header, int page, PageRaster& raster, PageDecoder& decoder,
                         Messages& messages);

    // For the page list: the number after "PAGE:" in the first 256 bytes,
    // 1 when there is none, 0 when the file is shorter than 256 bytes.
    static int countPages(const std::string& path);

    // The title in a page file's header; empty when there is none or the
    // file is not a page file.
    static std::string readTitle(const std::string& path);

    // Parses the header bytes (kHeaderSize) into the raster's fields; false
    // when it is not a page file header.
    static bool parseHeader(const uint8_t* bytes, Header& header, PageRaster& raster);
};

}  // namespace lumipage
