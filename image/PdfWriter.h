#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/PageEncoder.h"
#include "image/WriteError.h"

namespace lumipage {

class File;
class PageRaster;

// Writes bilevel pages as a PDF document: every page one 1-bit image coded
// T.6 (/CCITTFaxDecode with K -1), the page sized so that the image shows
// at its true physical size from the raster's resolution. The objects are
// written in page order as they come; the page tree, the catalogue and the
// cross-reference table follow at the end. The caller opens the file
// (created empty) and says failures.
class PdfWriter {
public:
    // The resolution taken for a page that does not know its own.
    static constexpr int32_t kAssumedDpi = 300;

    WriteResult begin(File& file);
    // Appends one page; false when it cannot be coded or written (the file
    // stays usable: the next page can still be appended).
    WriteResult appendPage(File& file, const PageRaster& page);
    WriteResult finish(File& file);
    int pagesWritten() const { return int(pageObjects_.size()); }

    // Page size in points (1/72 inch) of `pixels` at `dpi`, as written.
    static double points(int32_t pixels, int32_t dpi);

private:
    // The object about to be written starts here: its number, with its offset recorded.
    int startObject();
    bool put(File& file, const std::string& text);
    bool putBytes(File& file, const uint8_t* data, size_t size);
    // Codes the page into buffer_; 0 on failure.
    size_t code(const PageRaster& page);

    PageEncoder encoder_;
    std::vector<uint8_t> buffer_;
    std::vector<int64_t> offsets_;  // of objects 1..n (index 0 is object 1)
    std::vector<int> pageObjects_;
    int64_t position_ = 0;
};

}  // namespace lumipage
