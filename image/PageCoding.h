#pragma once
#include <cstdint>

namespace lumipage {

// How the data of a page is (or is to be) coded. The numbers are stored in
// page files, paper records and settings, so they never change.
enum class PageCoding : int32_t {
    Bit = 0,        // raw rows of bytesPerRow bytes
    TaggedMH = 1,   // one tag byte per row, then the row's data
    FaxG3 = 2,      // T.4 one-dimensional with EOLs, least significant bit first (.FAX)
    FaxG3MR = 3,    // T.4 two-dimensional, least significant bit first
    FaxG4 = 4,      // T.6, least significant bit first
    TiffNone = 10,  // TIFF compression 1
    TiffMH = 11,    // TIFF compression 2: MH rows without EOL, byte-aligned
    TiffG3 = 12,    // TIFF compression 3, one-dimensional
    TiffG3MR = 13,  // TIFF compression 3, two-dimensional
    TiffG4 = 14,    // TIFF compression 4 (T.6)
};

// Codings are tested arithmetically, as the stored numbers allow.
constexpr int codingFamily(int32_t coding) { return coding % 10; }
constexpr bool isTwoDimensional(int32_t coding) { return codingFamily(coding) > 2; }
constexpr bool isBitReversed(int32_t coding) { return coding >= 2 && coding <= 4; }

}  // namespace lumipage
