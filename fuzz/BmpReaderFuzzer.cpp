// The bitmap reader and the page it makes, from memory; every few inputs
// also through a file, as a page is opened.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/FuzzInput.h"
#include "image/BmpFile.h"
#include "image/CDIB.h"
#include "image/PageRaster.h"

using namespace lumipage;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > (1 << 20)) return 0;
    const uint8_t options = data[0];
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    CDIB header;
    if (!header.read(bytes, CDIB::Content::HeaderOnly)) return 0;
    // Keep the fuzzer fast: only bitmaps of a sensible size are read whole.
    if (int64_t(header.width()) * header.height() > 4000 * 4000) return 0;
    if (options & 0x80) {
        fuzz::MemoryFile memory(bytes.data(), bytes.size());
        fuzz::SilentMessages messages;
        CDIB kept;
        PageRaster raster;
        BmpFile::countPages(memory.path());
        BmpFile::loadPage(memory.path(), kept, raster, messages);
        return 0;
    }
    CDIB bitmap;
    if (!bitmap.read(bytes)) return 0;
    PageRaster raster;
    BmpFile::pageFromBitmap(bitmap, raster);
    CDIB back;
    BmpFile::bitmapFromPage(raster, back);
    bitmap.copyBlock(back, options & 7, 1, bitmap.width(), 4, -1, (options >> 3) & 7, options & 8 ? 0 : -1);
    return 0;
}
