#include "image/PaperRecord.h"

#include <algorithm>
#include <vector>

#include "base/Messages.h"
#include "image/PageDecoder.h"
#include "image/PageLoading.h"
#include "platform/File.h"

namespace lumipage {

namespace {

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

bool PaperRecord::read(const File& file, int64_t offset, std::string_view itemType, PageRaster& raster,
                       PageDecoder& decoder, Messages& messages) {
    return sayReadError(messages, read(file, offset, itemType, raster, decoder), file.path());
}

ReadError PaperRecord::read(const File& file, int64_t offset, std::string_view itemType, PageRaster& raster,
                            PageDecoder& decoder) {
    uint8_t head[kHeaderSize];
    uint8_t block[kImageBlockSize];
    const int64_t fileSize = file.size();
    bool ok = itemType == kItemType && offset >= 0 && file.readAt(offset, head) &&
              std::string_view(reinterpret_cast<const char*>(head), kMagicPrefix.size()) == kMagicPrefix;
    // Larger headers and blocks from later writers are skipped over.
    int64_t at = offset;
    if (ok) {
        at += std::max<int64_t>(kHeaderSize, le32(head + 24));
        ok = at < fileSize && file.readAt(at, block);
    }
    if (ok) {
        at += std::max<int64_t>(kImageBlockSize, le32(block));
        ok = at <= fileSize;
    }
    if (!ok) return ReadError::CannotOpen;
    raster.coding = int32_t(le32(block + 4));
    raster.lineDoubling = le32(block + 8);
    raster.dpi = int32_t(le32(block + 12));
    raster.rowDpi = 0;
    const int32_t width = int32_t(le32(block + 16));
    const int32_t height = int32_t(le32(block + 20));
    const uint32_t count = le32(block + 24);
    if (width <= 0 || height <= 0) return ReadError::CannotOpen;
    if (!PageRaster::fits(width, height)) {
        raster.resetToBlank();
        return ReadError::TooLarge;
    }
    raster.setSize(width, height);
    if (const ReadError e = page_loading::prepareRaster(raster); e != ReadError::None) return e;
    std::vector<uint8_t> coded;
    if (count == 0) return ReadError::None;  // an empty page
    const ReadError read =
        page_loading::readCoded(file, at, at + int64_t(count), page_loading::codedLimit(raster), coded);
    if (read != ReadError::None) return read;
    decoder.decodePage(coded, raster, 0, 0);
    return ReadError::None;
}

}  // namespace lumipage
