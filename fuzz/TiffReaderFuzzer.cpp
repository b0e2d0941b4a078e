// The TIFF reader: open (header and directory walk), then the first pages,
// read from memory; every few inputs also by file name for the page count.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/FuzzInput.h"
#include "image/PageRaster.h"
#include "image/TiffPageInfo.h"
#include "image/TiffReader.h"
#include "image/TiffSource.h"

using namespace lumipage;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > (1 << 20)) return 0;
    const uint8_t options = data[0];
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    fuzz::SilentMessages messages;
    if (options & 0x80) {
        fuzz::MemoryFile memory(bytes.data(), bytes.size());
        TiffReader::countPages(memory.path());
    }
    TiffReader reader;
    if (!reader.open(bytes, "fuzz.tif", messages)) return 0;
    TiffSource source;
    source.attach(bytes);
    source.setBigEndian(reader.header().byteOrder == TiffHeader::kBigEndian);
    PageRaster raster;
    const TiffReadOptions readOptions{(options & 1) != 0};
    for (int p = 1; p <= reader.pageCount() && p <= 4; ++p) {
        // Keep the fuzzer fast: only pages of a sensible size are decoded.
        TiffPageInfo info;
        if (reader.pageOffset(p) != 0 &&
            info.read(source, reader.pageOffset(p)) == TiffPageInfo::Status::Supported &&
            info.imageWidth * info.imageLength > 4000 * 4000)
            continue;
        reader.loadPage(p, raster, readOptions, messages);
    }
    return 0;
}
