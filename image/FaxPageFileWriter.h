#pragma once
#include <cstdint>
#include <vector>

#include "image/PageEncoder.h"
#include "image/PageRaster.h"
#include "image/WriteError.h"

namespace lumipage {

class File;

// Writes a .FAX file: the 16-byte header with the fine flag (rows are never
// doubled when writing) and the page as T.4 one-dimensional rows, each after
// an EOL, RTC at the end, every byte least significant bit first.
class FaxPageFileWriter {
public:
    static std::vector<uint8_t> headerBytes();
    // The page must already be a fax page (1728 x 2290); fitting other pages
    // to that size is the caller's step.
    WriteResult write(File& file, const PageRaster& page);

private:
    PageEncoder encoder_;
    std::vector<uint8_t> coded_;
};

}  // namespace lumipage
