#include "image/PageLoading.h"

#include <algorithm>
#include <cstring>

#include "platform/File.h"

namespace lumipage::page_loading {

ReadError prepareRaster(PageRaster& raster) {
    if (!PageRaster::fits(raster.width, raster.height)) {
        raster.resetToBlank();
        return ReadError::TooLarge;
    }
    // Pages of one file usually share a size: the buffer is kept and cleared.
    return raster.allocatePage() ? ReadError::None : ReadError::OutOfMemory;
}

ReadError readCoded(const File& file, int64_t offset, int64_t end, size_t limit, std::vector<uint8_t>& out) {
    // The page's bytes must all be there; only the decoder's need is capped.
    if (offset < 0 || offset >= end || end > file.size()) return ReadError::DataRead;
    const size_t want = size_t(std::min<int64_t>(end - offset, int64_t(limit)));
    out.resize(want);
    return file.readAt(offset, out) ? ReadError::None : ReadError::DataRead;
}

size_t codedLimit(const PageRaster& raster) {
    // A row never needs more than a byte per pixel plus its EOL, tag and fill.
    return (size_t(raster.bytesPerRow) * 8 + 16) * size_t(std::max(raster.height, 1)) + PageRaster::kSpareBytes;
}

}  // namespace lumipage::page_loading
