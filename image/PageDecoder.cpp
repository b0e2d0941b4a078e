#include "image/PageDecoder.h"

#include <algorithm>
#include <cstring>

#include "image/BitTables.h"
#include "image/FaxBitReader.h"
#include "image/FaxRowDecoder.h"

namespace lumipage {

namespace {

// Row tags of the program's tagged MH page format.
constexpr uint8_t kTagBlank = 0x00;       // all white, no data
constexpr uint8_t kTagSameAsAbove = 0x01;  // equals the row above, no data
constexpr uint8_t kTagDifference = 0x24;   // MH codes of the row XOR the row above
constexpr uint8_t kTagRunCoder = 0xF0;     // RunCoder bits
constexpr uint8_t kTagRaw = 0xFF;          // bytesPerRow raw bytes
// 0x23 ("#", MH codes of the row) and every other tag: MH codes.

using Result = FaxRowDecoder::Result;

bool knownCoding(int32_t coding) {
    return (coding >= 0 && coding <= 4) || (coding >= 10 && coding <= 14);
}

// Raw rows of a page without doubled rows, copied in one piece: each row
// takes bytesPerRow bytes or what remains; rows without data stay as they are.
int copyRawRows(std::span<const uint8_t> coded, PageRaster& raster, int firstRow, int rowBudget) {
    const size_t rowBytes = raster.bytesPerRow;
    size_t rows = size_t(raster.height - firstRow);
    if (rowBudget > 0) rows = std::min(rows, size_t(rowBudget));
    const size_t bytes = std::min(coded.size(), rows * rowBytes);
    uint8_t* first = raster.row(firstRow);
    if (bytes > 0) std::memcpy(first, coded.data(), bytes);
    rows = (bytes + rowBytes - 1) / rowBytes;
    if (bytes % rowBytes != 0) std::memset(first + bytes, 0, rowBytes - bytes % rowBytes);
    const uint8_t mask = bits::lastByteMask(raster.width);
    if (mask != 0xFF)
        for (size_t r = 0; r < rows; ++r) first[r * rowBytes + rowBytes - 1] &= mask;
    return int(rows);
}

}  // namespace

struct PageDecoder::State {
    FaxBitReader in;
    FaxRowDecoder rows;
    PageRaster* raster = nullptr;
    int firstRow = 0;

    bool decodeRow(int index);
    bool decodeTaggedRow(int index, uint8_t* row);
    bool decodeRunCoderRow(uint8_t* row);
    bool copyRawRow(uint8_t* row);
    void copyRowAbove(int index, uint8_t* row);
    // RTC (PageEnd) and damage both end the page's decoding.
    static bool takeResult(Result result) { return result == Result::Complete; }
    bool isCopiedRow(int index) const {
        return raster->coding != int32_t(PageCoding::TaggedMH) && raster->lineDoubling == 1 && index % 2 == 1;
    }
};

PageDecoder::PageDecoder() : state_(std::make_unique<State>()) {}
PageDecoder::~PageDecoder() = default;

int PageDecoder::decodePage(std::span<const uint8_t> coded, PageRaster& raster, int firstRow, int rowBudget) {
    if (!raster.hasBits() || raster.width <= 0 || raster.height <= 0 || !knownCoding(raster.coding) ||
        raster.bytesPerRow != uint32_t(raster.width + 7) / 8 ||
        raster.capacity() < size_t(raster.height) * raster.bytesPerRow || firstRow < 0 || firstRow >= raster.height)
        return 0;
    State& s = *state_;
    s.raster = &raster;
    s.firstRow = firstRow;
    s.in.reset(coded, isBitReversed(raster.coding));
    s.rows.startPage(raster.width, int(raster.bytesPerRow));

    if (codingFamily(raster.coding) == 0 && raster.lineDoubling != 1)
        return copyRawRows(coded, raster, firstRow, rowBudget);
    int decoded = 0;
    for (int index = firstRow; index < raster.height; ++index) {
        if (!s.decodeRow(index)) break;
        ++decoded;
        if (index == raster.height - 1 || (rowBudget > 0 && decoded == rowBudget)) break;
        // A row that copies the row above needs no data, so it is still made
        // when the data ended exactly with the row before it.
        if (!s.in.hasData() && !s.isCopiedRow(index + 1)) break;
    }
    return decoded;
}

bool PageDecoder::State::decodeRow(int index) {
    uint8_t* row = raster->row(index);
    if (raster->coding == int32_t(PageCoding::TaggedMH)) return decodeTaggedRow(index, row);
    if (isCopiedRow(index)) {
        copyRowAbove(index, row);
        return true;
    }
    // Each row is decoded into white, so a row that failed in an earlier call
    // leaves nothing behind when a later call decodes it again.
    std::memset(row, 0, raster->bytesPerRow);
    switch (codingFamily(raster->coding)) {
        case 0: return copyRawRow(row);
        case 1:
        case 2:
            if (raster->coding == int32_t(PageCoding::TiffMH)) return takeResult(rows.fixedWidth(in, row));
            return takeResult(rows.oneDimensional(in, row, index > 0));
        case 3: return takeResult(rows.t4TwoDimensional(in, row, index > 0, index == firstRow));
        default: return takeResult(rows.t6(in, row));
    }
}

void PageDecoder::State::copyRowAbove(int index, uint8_t* row) {
    // Row 0 has no row above inside the page: it counts as white.
    if (index == 0)
        std::memset(row, 0, raster->bytesPerRow);
    else
        std::memcpy(row, row - raster->bytesPerRow, raster->bytesPerRow);
}

bool PageDecoder::State::decodeTaggedRow(int index, uint8_t* row) {
    in.alignToByte();
    in.fill();
    if (in.dataBits() < 8) return false;
    const uint8_t tag = uint8_t(in.peek(8));
    in.skip(8);
    switch (tag) {
        case kTagBlank: std::memset(row, 0, raster->bytesPerRow); return true;
        case kTagSameAsAbove: copyRowAbove(index, row); return true;
        case kTagRunCoder: return decodeRunCoderRow(row);
        case kTagRaw: return copyRawRow(row);
        default: break;
    }
    std::memset(row, 0, raster->bytesPerRow);
    if (!takeResult(rows.oneDimensional(in, row, index > 0))) return false;
    if (tag == kTagDifference && index > 0) {
        const uint8_t* above = row - raster->bytesPerRow;
        for (uint32_t i = 0; i < raster->bytesPerRow; ++i) row[i] ^= above[i];
    }
    return true;
}

// RunCoder rows: outside a literal run a 0 bit is a 0x00 byte and a 1 bit
// is followed by a byte that starts a literal run; inside one every byte is
// 8 bits and a 0x00 byte ends it. The rest of the last byte is fill.
bool PageDecoder::State::decodeRunCoderRow(uint8_t* row) {
    bool literal = false;
    for (uint32_t i = 0; i < raster->bytesPerRow; ++i) {
        in.fill();
        if (!literal) {
            if (in.dataBits() < 1) return false;
            const bool flag = in.peek(1) == 1;
            in.skip(1);
            if (!flag) {
                row[i] = 0;
                continue;
            }
        }
        if (in.dataBits() < 8) return false;
        row[i] = uint8_t(in.peek(8));
        in.skip(8);
        literal = row[i] != 0;
    }
    row[raster->bytesPerRow - 1] &= bits::lastByteMask(raster->width);
    in.alignToByte();
    return true;
}

// Raw rows: bytesPerRow bytes, or what remains of the data when less does.
bool PageDecoder::State::copyRawRow(uint8_t* row) {
    in.alignToByte();
    const size_t byte = in.bitPosition() / 8;
    const std::span<const uint8_t> rest = in.bytesFrom(byte);
    if (rest.empty()) return false;
    const size_t n = std::min<size_t>(rest.size(), raster->bytesPerRow);
    std::memcpy(row, rest.data(), n);
    if (n < raster->bytesPerRow) std::memset(row + n, 0, raster->bytesPerRow - n);
    row[raster->bytesPerRow - 1] &= bits::lastByteMask(raster->width);
    in.seek((byte + n) * 8);
    return true;
}

}  // namespace lumipage
