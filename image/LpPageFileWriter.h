#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/PageEncoder.h"
#include "image/PageRaster.h"
#include "image/WriteError.h"

namespace lumipage {

class File;

// Writes a page file (.MH, .BW): begin with the planned number of pages and
// the target page geometry, append each page, then finish, which writes the
// header and offset table again with the real page count.
class LpPageFileWriter {
public:
    static constexpr int kMaxAppended = 1042;

    // The header bytes as they stand for the given geometry, coding, title
    // (code page 932 bytes, cut to 55) and page count.
    static std::vector<uint8_t> headerBytes(int sizeClass, std::string_view titleCp932, const PageRaster& target,
                                            int pageCount);
    // The size class of the offset table for a planned number of pages.
    static int sizeClassFor(int plannedPages);

    // `target` gives dpi, width, height and coding (Bit or TaggedMH) of every page.
    WriteResult begin(File& file, int plannedPages, const PageRaster& target, std::string_view titleCp932);
    // Refused beyond the planned count or a full table; the page must have the target's geometry.
    WriteResult append(File& file, const PageRaster& page);
    WriteResult finish(File& file);
    int pagesWritten() const { return appended_; }

private:
    WriteResult writeHead(File& file, int pageCount);

    int sizeClass_ = 0;
    int planned_ = 0;
    int appended_ = 0;
    int32_t coding_ = 0;
    int32_t dpi_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::string title_;
    std::vector<uint32_t> offsets_;
    PageEncoder encoder_;
    std::vector<uint8_t> coded_;
};

}  // namespace lumipage
