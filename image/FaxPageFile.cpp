#include "image/FaxPageFile.h"

#include <vector>

#include "base/Messages.h"
#include "image/PageDecoder.h"
#include "image/PageLoading.h"
#include "platform/File.h"

namespace lumipage {

namespace {
constexpr uint8_t kReservedFlags = 0x03;  // bits of byte 10 that must be clear
}

bool FaxPageFile::parseHeader(const uint8_t* bytes, PageRaster& raster) {
    if (bytes[0] != 'S' || bytes[1] != 'F' || (bytes[10] & kReservedFlags) != 0) return false;
    raster.coding = int32_t(PageCoding::FaxG3);
    raster.lineDoubling = (bytes[9] & kFineFlag) ? 0 : 1;
    raster.dpi = kDpi;
    raster.rowDpi = 0;
    raster.setSize(kWidth, kHeight);
    return true;
}

bool FaxPageFile::open(const File& file, PageRaster& raster, Messages& messages) {
    return sayReadError(messages, open(file, raster), file.path());
}

ReadError FaxPageFile::open(const File& file, PageRaster& raster) {
    uint8_t head[kHeaderSize];
    if (!file.readAt(0, head) || !parseHeader(head, raster)) return ReadError::CannotOpen;
    return ReadError::None;
}

bool FaxPageFile::loadPage(const File& file, PageRaster& raster, PageDecoder& decoder, Messages& messages) {
    return sayReadError(messages, loadPage(file, raster, decoder), file.path());
}

ReadError FaxPageFile::loadPage(const File& file, PageRaster& raster, PageDecoder& decoder) {
    if (const ReadError e = page_loading::prepareRaster(raster); e != ReadError::None) return e;
    std::vector<uint8_t> coded;
    const ReadError read =
        page_loading::readCoded(file, kHeaderSize, file.size(), page_loading::codedLimit(raster), coded);
    if (read != ReadError::None) return read;
    decoder.decodePage(coded, raster, 0, 0);
    return ReadError::None;
}

}  // namespace lumipage
