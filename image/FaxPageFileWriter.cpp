#include "image/FaxPageFileWriter.h"

#include "image/FaxPageFile.h"
#include "platform/File.h"

namespace lumipage {

namespace {
constexpr uint8_t kVersion = 1;
constexpr uint8_t kHeaderMark = 0x20;
}  // namespace

std::vector<uint8_t> FaxPageFileWriter::headerBytes() {
    std::vector<uint8_t> h(FaxPageFile::kHeaderSize, 0);
    h[0] = 'S';
    h[1] = 'F';
    h[2] = kVersion;
    h[8] = kHeaderMark;
    h[9] = FaxPageFile::kFineFlag;
    return h;
}

WriteResult FaxPageFileWriter::write(File& file, const PageRaster& page) {
    if (!page.hasBits() || page.width != FaxPageFile::kWidth || page.height != FaxPageFile::kHeight)
        return WriteError::PageNotWritable;
    const PageToEncode fax = PageToEncode::of(page).withCoding(int32_t(PageCoding::FaxG3));
    coded_.resize(PageEncoder::bufferSize(fax));
    const size_t n = encoder_.encodePage(coded_, fax);
    if (n == 0) return WriteError::PageNotWritable;
    return written(file.writeAt(0, headerBytes()) && file.writeAt(FaxPageFile::kHeaderSize, std::span(coded_.data(), n)));
}

}  // namespace lumipage
