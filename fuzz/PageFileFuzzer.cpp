// The readers of the program's own containers: page files (.MH/.BW), fax
// files and paper records. The first input byte chooses the reader.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzInput.h"
#include "image/FaxPageFile.h"
#include "image/LpPageFile.h"
#include "image/PageDecoder.h"
#include "image/PaperRecord.h"

using namespace lumipage;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > (1 << 20)) return 0;
    const uint8_t choice = data[0] % 3;
    fuzz::MemoryFile memory(data + 1, size - 1);
    File file;
    if (!memory.open(file)) return 0;
    fuzz::SilentMessages messages;
    PageDecoder decoder;
    PageRaster raster;
    switch (choice) {
        case 0: {
            LpPageFile::Header header;
            if (!LpPageFile::open(file, header, raster, messages)) break;
            // Keep the fuzzer fast: only pages of a sensible size are decoded.
            if (int64_t(raster.width) * raster.height > 4000 * 4000) break;
            for (int p = 1; p <= header.pageCount && p <= 4; ++p)
                LpPageFile::loadPage(file, header, p, raster, decoder, messages);
            break;
        }
        case 1:
            if (FaxPageFile::open(file, raster, messages)) FaxPageFile::loadPage(file, raster, decoder, messages);
            break;
        case 2:
            PaperRecord::read(file, 0, PaperRecord::kItemType, raster, decoder, messages);
            break;
    }
    return 0;
}
