#include "image/LpPageFileWriter.h"

#include <algorithm>
#include <cstring>

#include "image/LpPageFile.h"
#include "image/PageEncoder.h"
#include "platform/File.h"

namespace lumipage {

namespace {

constexpr int kTitleMax = 55;
constexpr int kSmallFile = 20;  // up to this many pages fit the smallest table

// Writes `value` right-aligned so that its last digit is at `last`, keeping
// only as many of its last digits as the field has room for.
void putNumber(std::vector<uint8_t>& b, size_t first, size_t last, uint64_t value) {
    const std::string digits = std::to_string(value);
    const size_t room = last - first + 1;
    const size_t n = std::min(room, digits.size());
    std::memcpy(&b[last + 1 - n], digits.data() + digits.size() - n, n);
}

void putLine(std::vector<uint8_t>& b, size_t at, const char* tmpl) {
    std::memcpy(&b[at], tmpl, 14);
    b[at + 14] = '\r';
    b[at + 15] = '\n';
}

// Cuts code page 932 text to at most `max` bytes without splitting a
// double-byte character.
std::string_view cutCp932(std::string_view s, size_t max) {
    size_t i = 0;
    while (i < s.size()) {
        const uint8_t c = uint8_t(s[i]);
        const size_t len = ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ? 2 : 1;
        if (i + len > max || i + len > s.size()) break;
        i += len;
    }
    return s.substr(0, i);
}

}  // namespace

int LpPageFileWriter::sizeClassFor(int plannedPages) {
    if (plannedPages <= kSmallFile) return 0;
    return std::min((plannedPages + 43) / 64, LpPageFile::kMaxSizeClass);
}

std::vector<uint8_t> LpPageFileWriter::headerBytes(int sizeClass, std::string_view titleCp932,
                                                   const PageRaster& target, int pageCount) {
    std::vector<uint8_t> b(LpPageFile::kHeaderSize, 0);
    b[0] = uint8_t(sizeClass);
    std::memcpy(&b[1], "TITLE:", 6);
    std::memset(&b[7], ' ', kTitleMax);
    const std::string_view title = cutCp932(titleCp932, kTitleMax);
    std::memcpy(&b[7], title.data(), title.size());
    b[62] = '\r';
    b[63] = '\n';
    putLine(b, 64, "DPI:          ");
    putNumber(b, 73, 77, uint64_t(std::max(target.dpi, 0)));
    putLine(b, 80, "XSIZE:        ");
    putNumber(b, 89, 93, uint64_t(std::max(target.width, 0)));
    putLine(b, 96, "YSIZE:        ");
    putNumber(b, 105, 109, uint64_t(std::max(target.height, 0)));
    putLine(b, 112, "BYTE:         ");
    putNumber(b, 117, 125, uint64_t(target.bytesPerRow) * uint64_t(std::max(target.height, 0)));
    putLine(b, 128, target.coding == int32_t(PageCoding::TaggedMH) ? "CODE:       MH" : "CODE:      BIT");
    putLine(b, 144, "PAGE:        1");
    putNumber(b, 153, 157, uint64_t(std::max(pageCount, 1)));
    return b;
}

WriteResult LpPageFileWriter::writeHead(File& file, int pageCount) {
    PageRaster geometry;
    geometry.coding = coding_;
    geometry.dpi = dpi_;
    geometry.setSize(width_, height_);
    std::vector<uint8_t> head = headerBytes(sizeClass_, title_, geometry, pageCount);
    for (uint32_t offset : offsets_)
        for (int j = 0; j < 4; ++j) head.push_back(uint8_t(offset >> (8 * j)));
    return written(file.writeAt(0, head));
}

WriteResult LpPageFileWriter::begin(File& file, int plannedPages, const PageRaster& target, std::string_view titleCp932) {
    sizeClass_ = sizeClassFor(plannedPages);
    planned_ = plannedPages;
    appended_ = 0;
    coding_ = target.coding == int32_t(PageCoding::TaggedMH) ? target.coding : int32_t(PageCoding::Bit);
    dpi_ = target.dpi;
    width_ = target.width;
    height_ = target.height;
    title_ = std::string(titleCp932);
    offsets_.assign(size_t(LpPageFile::tableEntries(sizeClass_)), 0);
    offsets_[0] = uint32_t(sizeClass_) * 256 + 256;
    if (width_ <= 0 || height_ <= 0) return WriteError::PageNotWritable;
    return writeHead(file, 1);
}

WriteResult LpPageFileWriter::append(File& file, const PageRaster& page) {
    if (appended_ >= kMaxAppended || appended_ >= planned_ || size_t(appended_) >= offsets_.size())
        return WriteError::PageNotWritable;
    if (!page.hasBits() || page.width != width_ || page.height != height_) return WriteError::PageNotWritable;
    const int64_t end = file.size();
    if (end < 0) return WriteError::WriteFailed;
    if (end > int64_t(UINT32_MAX)) return WriteError::PageNotWritable;
    bool ok;
    if (coding_ == int32_t(PageCoding::TaggedMH)) {
        const PageToEncode tagged = PageToEncode::of(page).withCoding(int32_t(PageCoding::TaggedMH));
        coded_.resize(PageEncoder::bufferSize(tagged));
        const size_t n = encoder_.encodePage(coded_, tagged);
        if (n == 0) return WriteError::PageNotWritable;
        ok = file.writeAt(end, std::span(coded_.data(), n));
    } else {
        ok = file.writeAt(end, std::span(page.bits(), size_t(page.bytesPerRow) * size_t(page.height)));
    }
    if (!ok) return WriteError::WriteFailed;
    offsets_[size_t(appended_++)] = uint32_t(end);
    return {};
}

WriteResult LpPageFileWriter::finish(File& file) {
    if (appended_ == 0) return WriteError::NothingWritten;
    return writeHead(file, appended_);
}

}  // namespace lumipage
