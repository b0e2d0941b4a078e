#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "image/PageRaster.h"
#include "image/TwoDimensionalCoder.h"

namespace lumipage {

// What the encoder reads of a page: its pixels, geometry and the coding to
// produce. A view, so a page can be coded in another coding (a TIFF setting,
// a page file's coding) without touching or copying the raster.
struct PageToEncode {
    const uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t bytesPerRow = 0;
    int32_t coding = 0;
    uint32_t lineDoubling = 0;

    // The raster as it stands; `bits` stays null when its buffer does not hold all its rows.
    static PageToEncode of(const PageRaster& raster);
    PageToEncode withCoding(int32_t newCoding, uint32_t newLineDoubling = 0) const {
        PageToEncode page = *this;
        page.coding = newCoding;
        page.lineDoubling = newLineDoubling;
        return page;
    }
    // Pixels present, geometry consistent and within the size limit.
    bool isValid() const;
    const uint8_t* row(int r) const { return bits + size_t(r) * bytesPerRow; }
};

// Codes a page into the program's TaggedMH rows, T.4 one-dimensional rows
// (.FAX pages least significant bit first, TIFF compression 2 and 3), T.4
// two-dimensional rows (TIFF compression 3 with T4Options bit 0), T.6
// (TIFF compression 4), or raw rows for every other coding. Working rows and
// changing-element lists are kept between pages; one encoder codes one page
// at a time.
class PageEncoder {
public:
    enum class StopIfLarger { No, Yes };

    // Rows coded one-dimensionally in TIFF compression 3 two-dimensional data:
    // one in every kTwoDimensionalK rows, as T.4 (4.2.1) asks of fine resolution.
    static constexpr int kTwoDimensionalK = 4;

    // Returns the bytes produced into `out`, 0 on failure (an invalid page, or
    // an output too small). With StopIfLarger::Yes coding stops as soon as
    // the output exceeds the raw size (bytesPerRow x height) and returns the
    // bytes produced so far, so the caller can choose another coding.
    // Pages with lineDoubling 1 in the T.4 and T.6 codings are coded in row
    // pairs: each pair becomes one coded row, the OR of its two rows.
    size_t encodePage(std::span<uint8_t> out, const PageToEncode& page, StopIfLarger stop = StopIfLarger::No);
    size_t encodePage(std::span<uint8_t> out, const PageRaster& raster, StopIfLarger stop = StopIfLarger::No) {
        return encodePage(out, PageToEncode::of(raster), stop);
    }

    // An output size that always holds the whole page in its coding; 0 for an invalid page.
    static size_t bufferSize(const PageToEncode& page);

private:
    size_t encodeT6Page(std::span<uint8_t> out, const PageToEncode& page, StopIfLarger stop);
    size_t encodeRowByRow(std::span<uint8_t> out, const PageToEncode& page, StopIfLarger stop);
    size_t encodeRow(int r, const uint8_t* row, const PageToEncode& page, std::span<uint8_t> out, bool lastRow);
    size_t encodeTaggedRow(int r, const PageToEncode& page, std::span<uint8_t> out);
    size_t encodeTwoDimensionalT4Row(const uint8_t* row, const PageToEncode& page, std::span<uint8_t> out,
                                     bool lastRow);
    // The row to code at r, or null for the first row of a pair.
    const uint8_t* rowToCode(int r, const PageToEncode& page);

    TwoDimensionalCoder twoDimensional_;
    std::vector<uint8_t> combined_;  // a row pair ORed, or a row XOR the row above
    std::vector<uint8_t> trial_;     // a trial coding of a TaggedMH row
    int codedRows_ = 0;
};

}  // namespace lumipage
