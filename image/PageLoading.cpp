#include "image/PageLoading.h"

#include <algorithm>
#include <cstring>

#include "base/Messages.h"
#include "platform/File.h"

namespace lumipage::page_loading {

bool prepareRaster(const File& file, PageRaster& raster, Messages& messages) {
    if (!PageRaster::checkSize(file.path(), raster.width, raster.height, messages)) {
        raster.resetToBlank();
        return false;
    }
    // Pages of one file usually share a size: the buffer is kept and cleared.
    if (!raster.allocatePage()) {
        messages.message(kNoMemory);
        return false;
    }
    return true;
}

bool readCoded(const File& file, int64_t offset, int64_t end, size_t limit, std::vector<uint8_t>& out,
               Messages& messages) {
    // The page's bytes must all be there; only the decoder's need is capped.
    if (offset < 0 || offset >= end || end > file.size()) {
        messages.message(kReadError);
        return false;
    }
    const size_t want = size_t(std::min<int64_t>(end - offset, int64_t(limit)));
    out.resize(want);
    if (!file.readAt(offset, out)) {
        messages.message(kReadError);
        return false;
    }
    return true;
}

size_t codedLimit(const PageRaster& raster) {
    // A row never needs more than a byte per pixel plus its EOL, tag and fill.
    return (size_t(raster.bytesPerRow) * 8 + 16) * size_t(std::max(raster.height, 1)) + PageRaster::kSpareBytes;
}

}  // namespace lumipage::page_loading
