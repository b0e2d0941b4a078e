#include "image/PageEncoder.h"

#include <algorithm>
#include <cstring>

#include "image/BitTables.h"
#include "image/OneDimensionalCoder.h"
#include "image/RunCoder.h"

namespace lumipage {

namespace {

// TaggedMH row tags.
constexpr uint8_t kTagBlank = 0x00;
constexpr uint8_t kTagSameAsAbove = 0x01;
constexpr uint8_t kTagCoded = 0x23;
constexpr uint8_t kTagDifference = 0x24;
constexpr uint8_t kTagBitRuns = 0xF0;
constexpr uint8_t kTagRaw = 0xFF;
constexpr size_t kTaggedRowSlack = 10;  // a TaggedMH row's capacity beyond bytesPerRow

enum class Scheme { Raw, Tagged, T4Eol, T4NoEol, T4TwoDimensional, T6 };

Scheme schemeOf(int32_t coding) {
    switch (PageCoding(coding)) {
        case PageCoding::TaggedMH: return Scheme::Tagged;
        case PageCoding::FaxG3:
        case PageCoding::TiffG3: return Scheme::T4Eol;
        case PageCoding::TiffMH: return Scheme::T4NoEol;
        case PageCoding::FaxG3MR:
        case PageCoding::TiffG3MR: return Scheme::T4TwoDimensional;
        case PageCoding::FaxG4:
        case PageCoding::TiffG4: return Scheme::T6;
        default: return Scheme::Raw;
    }
}

// Row pairs apply to the codings whose decoder repeats every second row.
bool codesRowPairs(const PageToEncode& page) {
    const Scheme s = schemeOf(page.coding);
    return page.lineDoubling == 1 && s != Scheme::Raw && s != Scheme::Tagged;
}

// Worst cases: one-dimensional runs cost at most 9 bits for two pixels (white
// 1 and black 1); two-dimensional coding at most 7 bits a pixel (VL3 after a
// one-pixel step). The constant covers EOL, tag bit, a leading white 0, fill
// and the page's closing codes.
constexpr size_t kRowOverhead = 32;

size_t rowCapacity(const PageToEncode& page) {
    const size_t bpr = page.bytesPerRow;
    switch (schemeOf(page.coding)) {
        case Scheme::Raw: return bpr;
        case Scheme::Tagged: return bpr + kTaggedRowSlack;
        case Scheme::T4Eol:
        case Scheme::T4NoEol: return (9 * bpr + 1) / 2 + kRowOverhead;
        case Scheme::T4TwoDimensional:
        case Scheme::T6: return 7 * bpr + kRowOverhead;
    }
    return bpr;
}

bool isAllZero(const uint8_t* p, size_t n) { return p[0] == 0 && std::memcmp(p, p + 1, n - 1) == 0; }

void reverseBits(uint8_t* p, size_t n) {
    for (size_t i = 0; i < n; ++i) p[i] = bits::kReversed[p[i]];
}

}  // namespace

PageToEncode PageToEncode::of(const PageRaster& raster) {
    PageToEncode page;
    page.width = raster.width;
    page.height = raster.height;
    page.bytesPerRow = raster.bytesPerRow;
    page.coding = raster.coding;
    page.lineDoubling = raster.lineDoubling;
    const bool holdsRows = raster.height > 0 && raster.capacity() / std::max<size_t>(raster.bytesPerRow, 1) >=
                                                    size_t(raster.height);
    page.bits = holdsRows ? raster.bits() : nullptr;
    return page;
}

bool PageToEncode::isValid() const {
    return bits != nullptr && width > 0 && height > 0 && width <= PageRaster::kMaxSide &&
           height <= PageRaster::kMaxSide && bytesPerRow == uint32_t(width + 7) / 8;
}

size_t PageEncoder::bufferSize(const PageToEncode& page) {
    if (page.width <= 0 || page.height <= 0 || page.width > PageRaster::kMaxSide || page.height > PageRaster::kMaxSide)
        return 0;
    const size_t bpr = (size_t(page.width) + 7) / 8;
    if (schemeOf(page.coding) == Scheme::Tagged) return (bpr + 1) * size_t(page.height) + 1024;
    PageToEncode sized = page;
    sized.bytesPerRow = uint32_t(bpr);
    return rowCapacity(sized) * size_t(page.height);
}

size_t PageEncoder::encodePage(std::span<uint8_t> out, const PageToEncode& page, StopIfLarger stop) {
    if (!page.isValid() || out.empty()) return 0;
    combined_.resize(std::max(combined_.size(), size_t(page.bytesPerRow)));
    codedRows_ = 0;
    const Scheme scheme = schemeOf(page.coding);
    if (scheme == Scheme::T4TwoDimensional || scheme == Scheme::T6) twoDimensional_.startPage(page.width);
    const size_t produced =
        scheme == Scheme::T6 ? encodeT6Page(out, page, stop) : encodeRowByRow(out, page, stop);
    if (isBitReversed(page.coding)) reverseBits(out.data(), produced);
    return produced;
}

const uint8_t* PageEncoder::rowToCode(int r, const PageToEncode& page) {
    if (!codesRowPairs(page)) return page.row(r);
    const bool lastRow = r == page.height - 1;
    if (r % 2 == 0) return lastRow ? page.row(r) : nullptr;  // an odd height leaves the last row alone
    const uint8_t* above = page.row(r - 1);
    const uint8_t* row = page.row(r);
    uint8_t* pair = combined_.data();
    for (uint32_t i = 0; i < page.bytesPerRow; ++i) pair[i] = above[i] | row[i];
    return pair;
}

// T.6: all rows form one bit stream closed by EOFB (two EOLs) and fill.
size_t PageEncoder::encodeT6Page(std::span<uint8_t> out, const PageToEncode& page, StopIfLarger stop) {
    const size_t rawSize = size_t(page.bytesPerRow) * size_t(page.height);
    BitWriter writer(out);
    for (int r = 0; r < page.height; ++r) {
        const uint8_t* row = rowToCode(r, page);
        if (!row) continue;
        twoDimensional_.codeRow(row, writer);
        if (writer.failed()) return 0;
        if (stop == StopIfLarger::Yes && writer.size() > rawSize) return writer.flush() ? writer.size() : 0;
    }
    writer.put(mh::kEol.bits, mh::kEol.length);
    writer.put(mh::kEol.bits, mh::kEol.length);
    return writer.flush() ? writer.size() : 0;
}

// Every other coding: each row's bytes follow the previous row's.
size_t PageEncoder::encodeRowByRow(std::span<uint8_t> out, const PageToEncode& page, StopIfLarger stop) {
    const size_t rawSize = size_t(page.bytesPerRow) * size_t(page.height);
    const size_t capacity = rowCapacity(page);
    size_t total = 0;
    for (int r = 0; r < page.height; ++r) {
        const uint8_t* row = rowToCode(r, page);
        if (!row) continue;
        const std::span<uint8_t> slice = out.subspan(total, std::min(capacity, out.size() - total));
        const size_t n = encodeRow(r, row, page, slice, r == page.height - 1);
        if (n == 0) return 0;  // the output is too small: a page with a row missing would be damaged
        total += n;
        if (stop == StopIfLarger::Yes && total > rawSize) break;
    }
    return total;
}

size_t PageEncoder::encodeRow(int r, const uint8_t* row, const PageToEncode& page, std::span<uint8_t> out,
                            bool lastRow) {
    const std::span<const uint8_t> rowBytes(row, page.bytesPerRow);
    switch (schemeOf(page.coding)) {
        case Scheme::Tagged: return encodeTaggedRow(r, page, out);
        case Scheme::T4Eol: {
            // .FAX rows code their white padding bits too; TIFF rows must be
            // exactly ImageWidth long for TIFF readers.
            const int pixels = page.coding == int32_t(PageCoding::FaxG3) ? -1 : page.width;
            return encodeOneDimensionalRow(rowBytes, out, {.eolBefore = true, .rtcAfter = lastRow, .pixels = pixels});
        }
        case Scheme::T4NoEol: return encodeOneDimensionalRow(rowBytes, out, {.pixels = page.width});
        case Scheme::T4TwoDimensional: return encodeTwoDimensionalT4Row(row, page, out, lastRow);
        case Scheme::T6:
        case Scheme::Raw: break;
    }
    if (out.size() < rowBytes.size()) return 0;
    std::memcpy(out.data(), row, rowBytes.size());
    return rowBytes.size();
}

// TaggedMH: the first of blank, same as above, run-length codes of the row or
// of its difference to the row above, bit runs, raw bytes that applies.
size_t PageEncoder::encodeTaggedRow(int r, const PageToEncode& page, std::span<uint8_t> out) {
    const size_t bpr = page.bytesPerRow;
    const uint8_t* row = page.row(r);
    const uint8_t* above = r > 0 ? page.row(r - 1) : nullptr;
    if (out.empty()) return 0;
    if (isAllZero(row, bpr)) {
        out[0] = kTagBlank;
        return 1;
    }
    if (above && std::memcmp(row, above, bpr) == 0) {
        out[0] = kTagSameAsAbove;
        return 1;
    }
    const std::span<const uint8_t> rowBytes(row, bpr);
    const std::span<uint8_t> body = out.subspan(1);
    const size_t coded = encodeOneDimensionalRow(rowBytes, body, {.eolAfter = true});
    if (coded > 0 && coded < bpr) {
        if (above) {
            uint8_t* difference = combined_.data();
            for (size_t i = 0; i < bpr; ++i) difference[i] = row[i] ^ above[i];
            trial_.resize(std::max(trial_.size(), body.size()));
            const size_t codedDifference = encodeOneDimensionalRow(
                std::span<const uint8_t>(difference, bpr), std::span<uint8_t>(trial_.data(), body.size()),
                {.eolAfter = true});
            if (codedDifference > 0 && codedDifference < coded) {
                out[0] = kTagDifference;
                std::memcpy(body.data(), trial_.data(), codedDifference);
                return 1 + codedDifference;
            }
        }
        out[0] = kTagCoded;
        return 1 + coded;
    }
    const size_t runs = RunCoder::encodeRow(rowBytes, body);
    if (runs > 0 && runs < bpr) {
        out[0] = kTagBitRuns;
        return 1 + runs;
    }
    if (body.size() < bpr) return 0;
    out[0] = kTagRaw;
    std::memcpy(body.data(), row, bpr);
    return 1 + bpr;
}

// T.4 two-dimensional rows (4.2): EOL and a tag bit (1: one-dimensional row,
// 0: two-dimensional row) ahead of each row; every row ends on a byte
// boundary; the last row is followed by RTC, six EOLs each with tag bit 1.
size_t PageEncoder::encodeTwoDimensionalT4Row(const uint8_t* row, const PageToEncode& page, std::span<uint8_t> out,
                                            bool lastRow) {
    BitWriter writer(out);
    const bool oneDimensional = codedRows_++ % kTwoDimensionalK == 0;
    writer.put(mh::kEol.bits, mh::kEol.length);
    writer.put(oneDimensional ? 1 : 0, 1);
    if (oneDimensional) {
        mh::putRowRuns(writer, row, page.width);
        twoDimensional_.setReference(row);
    } else {
        twoDimensional_.codeRow(row, writer);
    }
    writer.fillToByte();
    if (lastRow)
        for (int i = 0; i < 6; ++i) writer.put((mh::kEol.bits << 1) | 1, mh::kEol.length + 1);
    return writer.flush() ? writer.size() : 0;
}

}  // namespace lumipage
