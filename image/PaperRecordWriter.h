#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "image/PageEncoder.h"
#include "image/PageRaster.h"

namespace lumipage {

class File;

// Appends pages to a book as paper records (the layout is in PaperRecord.h).
// A page is stored as T.6 when that takes at most a fifth of its raw size,
// otherwise as TaggedMH rows, which never grow much beyond the raw rows.
class PaperRecordWriter {
public:
    static constexpr int kRawShareDivisor = 5;

    // The 72 bytes in front of the coded data.
    static std::vector<uint8_t> header(const PageRaster& page, int32_t coding, uint32_t dataBytes);

    // Codes the page into `coded` and returns its coding (0 on failure).
    int32_t code(const PageRaster& page, std::vector<uint8_t>& coded);

    // Appends the page's record at the end of the file; `offset` gets where it starts.
    bool append(File& file, const PageRaster& page, int64_t& offset);

private:
    PageEncoder encoder_;
    std::vector<uint8_t> buffer_;
};

}  // namespace lumipage
