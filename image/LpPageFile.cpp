#include "image/LpPageFile.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "base/Messages.h"
#include "image/PageDecoder.h"
#include "image/PageLoading.h"
#include "platform/File.h"
#include "platform/TextCodec.h"

namespace lumipage {

namespace {

constexpr int kLineStart = 64;   // the first of the seven 16-byte value lines
constexpr int kLineCount = 7;
constexpr int kLineSize = 16;
constexpr int kLineEnd = 14;     // a line's value ends before its byte 14
constexpr int kValueColumn = 6;  // where a line's value field starts
constexpr int kTitleStart = 7;
constexpr int kTitleMax = 55;
constexpr int kDefaultDpi = 300;
constexpr int kFirstPageWithoutCount = 256;
constexpr int kCountProbeBytes = 256;

// A decimal number after any leading spaces, read up to the first non-digit;
// at most 9 digits are taken so the value stays in range.
int decimalAt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    int value = 0;
    for (int digits = 0; i < text.size() && digits < 9 && text[i] >= '0' && text[i] <= '9'; ++i, ++digits)
        value = value * 10 + (text[i] - '0');
    return value;
}

bool startsWith(std::string_view line, std::string_view key) { return line.substr(0, key.size()) == key; }

}  // namespace

bool LpPageFile::parseHeader(const uint8_t* bytes, Header& header, PageRaster& raster) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), kHeaderSize);
    header.sizeClass = bytes[0];
    if (header.sizeClass > kMaxSizeClass || text.substr(1, 6) != "TITLE:") return false;

    std::string_view title = text.substr(kTitleStart, kTitleMax);
    title = title.substr(0, std::min(title.find(' '), title.find('\0')));
    header.title = text::fromCp932(title);

    raster.coding = int32_t(PageCoding::Bit);
    raster.lineDoubling = 0;
    raster.dpi = kDefaultDpi;
    raster.rowDpi = 0;
    int width = 0, height = 0;
    header.pageCount = 0;
    for (int i = 0; i < kLineCount; ++i) {
        const std::string_view line = text.substr(kLineStart + i * kLineSize, kLineEnd);
        const std::string_view value = line.substr(kValueColumn);
        if (startsWith(line, "XSIZE:"))
            width = decimalAt(value);
        else if (startsWith(line, "YSIZE:"))
            height = decimalAt(value);
        else if (startsWith(line, "DPI:"))
            raster.dpi = decimalAt(value);
        else if (startsWith(line, "PAGE:"))
            header.pageCount = decimalAt(value);
        else if (startsWith(line, "CODE:"))
            raster.coding = int32_t(line.substr(12, 2) == "MH" ? PageCoding::TaggedMH : PageCoding::Bit);
    }
    raster.setSize(width, height);
    header.coding = raster.coding;
    header.dpi = raster.dpi;
    header.width = width;
    header.height = height;
    return true;
}

bool LpPageFile::open(const File& file, Header& header, PageRaster& raster, Messages& messages) {
    return sayReadError(messages, open(file, header, raster), file.path());
}

ReadError LpPageFile::open(const File& file, Header& header, PageRaster& raster) {
    uint8_t head[kHeaderSize];
    bool ok = file.readAt(0, head) && parseHeader(head, header, raster);
    if (ok) {
        const int entries = tableEntries(header.sizeClass);
        std::vector<uint8_t> table(size_t(tableBytes(header.sizeClass)));
        ok = file.readAt(kHeaderSize, table);
        header.pageOffsets.assign(size_t(entries), 0);
        for (int i = 0; ok && i < entries; ++i) {
            const uint8_t* e = &table[size_t(i) * 4];
            header.pageOffsets[size_t(i)] = uint32_t(e[0]) | uint32_t(e[1]) << 8 | uint32_t(e[2]) << 16 | uint32_t(e[3]) << 24;
        }
    }
    if (!ok) return ReadError::CannotOpen;
    if (header.pageCount == 0) {
        header.pageCount = 1;
        header.pageOffsets[0] = kFirstPageWithoutCount;
    }
    return ReadError::None;
}

bool LpPageFile::loadPage(const File& file, const Header& header, int page, PageRaster& raster, PageDecoder& decoder,
                          Messages& messages) {
    if (page < 1 || page > header.pageCount) return false;  // asked for nothing: nothing to say
    return sayReadError(messages, loadPage(file, header, page, raster, decoder), file.path());
}

ReadError LpPageFile::loadPage(const File& file, const Header& header, int page, PageRaster& raster,
                               PageDecoder& decoder) {
    if (page < 1 || page > header.pageCount) return ReadError::NoSuchPage;
    const size_t index = size_t(page - 1);
    const uint32_t offset = index < header.pageOffsets.size() ? header.pageOffsets[index] : 0;
    if (offset == 0) return ReadError::NoSuchPage;
    raster.coding = header.coding;
    raster.lineDoubling = 0;
    raster.dpi = header.dpi;
    raster.rowDpi = 0;
    raster.setSize(header.width, header.height);
    if (raster.width <= 0 || raster.height <= 0) {
        // A header without a size describes no image: show an empty page.
        raster.resetToBlank();
        return ReadError::None;
    }
    if (const ReadError e = page_loading::prepareRaster(raster); e != ReadError::None) return e;

    const size_t rawSize = size_t(raster.bytesPerRow) * size_t(raster.height);
    if (raster.coding == int32_t(PageCoding::Bit)) {
        if (!file.readAt(offset, std::span(raster.bits(), rawSize))) return ReadError::DataRead;
        raster.clearPadding();
        return ReadError::None;
    }
    // A coded page runs to the next page's start, the last one to the end of the file.
    int64_t end = file.size();
    if (int(index) + 1 < header.pageCount && index + 1 < header.pageOffsets.size() &&
        header.pageOffsets[index + 1] > offset)
        end = header.pageOffsets[index + 1];
    std::vector<uint8_t> coded;
    const ReadError read =
        page_loading::readCoded(file, offset, end, page_loading::codedLimit(raster), coded);
    if (read != ReadError::None) return read;
    decoder.decodePage(coded, raster, 0, 0);
    return ReadError::None;
}

int LpPageFile::countPages(const std::string& path) {
    File file;
    uint8_t head[kCountProbeBytes];
    if (!file.open(path, File::Mode::Read) || !file.readAt(0, head)) return 0;
    const std::string_view text(reinterpret_cast<const char*>(head), sizeof head);
    const size_t at = text.find("PAGE:");
    if (at == std::string_view::npos) return 1;
    return at + 6 < text.size() ? decimalAt(text.substr(at + 6)) : 0;
}

std::string LpPageFile::readTitle(const std::string& path) {
    File file;
    uint8_t head[kHeaderSize];
    Header header;
    PageRaster geometry;
    if (!file.open(path, File::Mode::Read) || !file.readAt(0, head) || !parseHeader(head, header, geometry)) return {};
    return header.title;
}

}  // namespace lumipage
