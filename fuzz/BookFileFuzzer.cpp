// Book reading: header check, page words, directory, embedded comment and
// the first pages' paper records.
#include <cstddef>
#include <cstdint>

#include "document/BookFile.h"
#include "fuzz/FuzzInput.h"
#include "image/PageDecoder.h"
#include "image/PaperRecord.h"

using namespace lumipage;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 20)) return 0;
    fuzz::MemoryFile memory(data, size);
    File file;
    if (!memory.open(file)) return 0;
    fuzz::SilentMessages messages;
    const auto header = BookHeader::read(file, messages);
    if (!header) return 0;
    const int pages = int(std::min<uint32_t>(header->pages, 10000));
    book_file::readPageWords(file, *header, pages);
    book_file::readComment(file, *header);
    const auto directory = book_file::readDirectory(file, *header, pages);
    if (!directory) return 0;
    PageDecoder decoder;
    PageRaster raster;
    for (size_t i = 0; i < directory->size() && i < 3; ++i) {
        const BookDirectoryEntry& e = (*directory)[i];
        PaperRecord::read(file, e.offset, e.type, raster, decoder, messages);
    }
    return 0;
}
