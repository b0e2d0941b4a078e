#include "image/PaperRecordWriter.h"

#include <cstring>

#include "image/PaperRecord.h"
#include "platform/File.h"

namespace lumipage {

namespace {

void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace

std::vector<uint8_t> PaperRecordWriter::header(const PageRaster& page, int32_t coding, uint32_t dataBytes) {
    std::vector<uint8_t> h(PaperRecord::kHeaderSize + PaperRecord::kImageBlockSize, 0);
    std::memcpy(h.data(), PaperRecord::kMagic.data(), PaperRecord::kMagic.size());
    put32(&h[24], PaperRecord::kHeaderSize);
    put32(&h[28], 1);
    uint8_t* block = &h[PaperRecord::kHeaderSize];
    put32(block, PaperRecord::kImageBlockSize);
    put32(block + 4, uint32_t(coding));
    put32(block + 8, 0);  // every row is coded: a record never doubles rows
    put32(block + 12, uint32_t(page.dpi));
    put32(block + 16, uint32_t(page.width));
    put32(block + 20, uint32_t(page.height));
    put32(block + 24, dataBytes);
    return h;
}

int32_t PaperRecordWriter::code(const PageRaster& page, std::vector<uint8_t>& coded) {
    const size_t raw = size_t(page.bytesPerRow) * size_t(page.height);
    // Rows are stored whole: a page is never written with doubled rows.
    const PageToEncode t6 = PageToEncode::of(page).withCoding(int32_t(PageCoding::TiffG4));
    const size_t t6Room = size_t(page.bytesPerRow + 1) * size_t(page.height) + 10 * size_t(page.bytesPerRow);
    buffer_.resize(std::max(t6Room, PageEncoder::bufferSize(t6)));
    size_t n = encoder_.encodePage(buffer_, t6, PageEncoder::StopIfLarger::Yes);
    if (n > 0 && n <= raw / kRawShareDivisor) {
        coded.assign(buffer_.begin(), buffer_.begin() + ptrdiff_t(n));
        return int32_t(PageCoding::TiffG4);
    }
    const PageToEncode tagged = PageToEncode::of(page).withCoding(int32_t(PageCoding::TaggedMH));
    buffer_.resize(PageEncoder::bufferSize(tagged));
    n = encoder_.encodePage(buffer_, tagged);
    if (n == 0) return 0;
    coded.assign(buffer_.begin(), buffer_.begin() + ptrdiff_t(n));
    return int32_t(PageCoding::TaggedMH);
}

bool PaperRecordWriter::append(File& file, const PageRaster& page, int64_t& offset) {
    std::vector<uint8_t> coded;
    const int32_t coding = code(page, coded);
    if (coding == 0) return false;
    offset = file.size();
    if (offset < 0) return false;
    std::vector<uint8_t> record = header(page, coding, uint32_t(coded.size()));
    record.insert(record.end(), coded.begin(), coded.end());
    return file.writeAt(offset, record);
}

}  // namespace lumipage
