#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace lumipage {

// The 13 zoom levels of the view. A page coordinate p is shown at
// p x 10 / divisor; a display pixel holds the number of ink pixels of its
// block of the page (shifted right for the smallest levels), so its value
// runs from 0 (paper) to colours - 1 (solid ink).
struct ZoomLevel {
    int divisor;
    int bitsPerPixel;
    int colours;
    int shift;  // right shift of the 16-bit block sums (levels 0 to 4)
};

namespace zoom {

inline constexpr int kLevels = 13;
inline constexpr int kOneToOne = 12;      // 1:1, the start level
inline constexpr int kOneAndAHalf = 11;   // 1/1.5, 3 x 3 page pixels weighted onto 2 x 2
inline constexpr int kLastSummed = 4;     // levels 0..4 keep 16-bit sums of whole source bytes
inline constexpr int kFirstByteSpan = 160;  // divisors from here up take whole source bytes per pixel

inline constexpr std::array<ZoomLevel, kLevels> kTable{{
    {640, 8, 129, 5},  // 1/64: 64 x 64 = 4096 >> 5 = 128
    {480, 8, 145, 4},  // 1/48: 2304 >> 4 = 144
    {320, 8, 129, 3},  // 1/32
    {240, 8, 145, 2},  // 1/24
    {160, 8, 129, 1},  // 1/16
    {120, 8, 145, 0},  // 1/12
    {80, 8, 65, 0},    // 1/8
    {60, 8, 37, 0},    // 1/6
    {40, 8, 17, 0},    // 1/4
    {30, 4, 10, 0},    // 1/3
    {20, 4, 5, 0},     // 1/2
    {15, 4, 7, 0},     // 1/1.5: weights 2+1 across times 2 down
    {10, 1, 2, 0},     // 1/1
}};

// The largest block sum of a level, shifted, is the last colour.
constexpr bool coloursMatchBlocks() {
    for (int l = 0; l < kLevels; ++l) {
        const ZoomLevel& z = kTable[size_t(l)];
        const int side = z.divisor / 10;
        const int largest = l == kOneAndAHalf ? 6 : l == kOneToOne ? 1 : (side * side) >> z.shift;
        if (largest + 1 != z.colours) return false;
    }
    return true;
}
static_assert(coloursMatchBlocks());
static_assert(kTable[0].divisor == 640 && kTable[kOneToOne].divisor == 10);

constexpr int divisor(int level) { return kTable[size_t(level < 0 ? 0 : level >= kLevels ? kLevels - 1 : level)].divisor; }

// A display coordinate of one level at another (integer, truncating).
constexpr int rescale(int coordinate, int fromLevel, int toLevel) {
    return int(int64_t(coordinate) * divisor(fromLevel) / divisor(toLevel));
}

}  // namespace zoom
}  // namespace lumipage
