#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "image/PageEncoder.h"
#include "image/PageRaster.h"
#include "image/WriteError.h"

namespace lumipage {

class File;

// Writes bilevel pages as little-endian TIFF 6.0 files with one strip per
// page: a single page after a fixed 186-byte header, or a multi-page file of
// 190-byte IFD blocks each followed by its page's data. The caller opens the
// file (created empty) and says failures; the writer never reads it back.
class TiffWriter {
public:
    static constexpr size_t kSinglePageHeaderSize = 186;
    static constexpr size_t kPageBlockSize = 190;
    static constexpr int kMaxPages = 10000;

    // The coding a TIFF coding setting asks for: 10 to 14 as they are, any other value 14 (T.6).
    static int32_t codingForSetting(int setting);

    // Writes `page` coded by the TIFF coding setting as the whole file.
    WriteResult writeSinglePage(File& file, const PageRaster& page, int codingSetting);

    // Starts a multi-page file of `plannedPages` pages: writes the file header.
    WriteResult beginMultiPage(File& file, int plannedPages);
    // Appends one page; refused after kMaxPages or the planned count. A page
    // that cannot be coded or written is not counted, and the next page is
    // written in its place.
    WriteResult appendPage(File& file, const PageRaster& page, int codingSetting);
    int pagesWritten() const { return pagesWritten_; }
    // Ends a multi-page file that got fewer pages than planned (a page that
    // failed, a cancelled conversion): the last block's next-IFD pointer,
    // which points where the next page would have gone, becomes 0.
    WriteResult finishMultiPage(File& file);

private:
    // Codes the page into buffer_ (raw rows are not copied); empty on failure.
    std::span<const uint8_t> codePage(const PageToEncode& page);

    PageEncoder encoder_;
    std::vector<uint8_t> buffer_;
    int plannedPages_ = 0;
    int pagesWritten_ = 0;
    int64_t nextBlock_ = 0;  // where the next page's IFD block goes
    int64_t lastBlock_ = -1; // the last page's IFD block, -1 before the first
    int64_t lastNextPointer_ = 0;  // where in that block its next-IFD pointer lies
};

}  // namespace lumipage
