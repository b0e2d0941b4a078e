#pragma once
#include <array>
#include <bit>
#include <cstdint>

namespace lumipage::reduction {

// Byte tables that reduce page rows to display pixels. Each gives, for a
// byte (or a 6-bit group) of page pixels, the ink counts of the display
// pixels it covers, already packed the way the display row holds them, so a
// page row is added to the display row with one lookup and one add per
// source byte. Sums stay below the width of their field, so no add carries
// into a neighbouring pixel.

// Two display bytes as one 16-bit word stored in memory order.
constexpr uint16_t packBytes(unsigned first, unsigned second) {
    return std::endian::native == std::endian::little ? uint16_t(first | second << 8) : uint16_t(first << 8 | second);
}

constexpr int countBits(unsigned v) {
    int n = 0;
    for (; v; v &= v - 1) ++n;
    return n;
}

// Ink pixels in a byte.
inline constexpr std::array<uint8_t, 256> kBitCount = [] {
    std::array<uint8_t, 256> t{};
    for (unsigned v = 0; v < 256; ++v) t[v] = uint8_t(countBits(v));
    return t;
}();
static_assert(kBitCount[0xFF] == 8 && kBitCount[0x81] == 2);

// 1/2 (4 bits per pixel): a byte covers four display pixels of 2 page pixels
// each, two per display byte, the left one in the high nibble.
inline constexpr std::array<uint16_t, 256> kPairs = [] {
    std::array<uint16_t, 256> t{};
    for (unsigned v = 0; v < 256; ++v) {
        const unsigned c0 = countBits(v >> 6), c1 = countBits(v >> 4 & 3), c2 = countBits(v >> 2 & 3), c3 = countBits(v & 3);
        t[v] = packBytes(c0 << 4 | c1, c2 << 4 | c3);
    }
    return t;
}();
static_assert(kPairs[0xC0] == packBytes(0x20, 0) && kPairs[0x5A] == packBytes(0x11, 0x11));

// 1/4 (8 bits per pixel): a byte covers two display pixels of 4 page pixels.
inline constexpr std::array<uint16_t, 256> kQuads = [] {
    std::array<uint16_t, 256> t{};
    for (unsigned v = 0; v < 256; ++v) t[v] = packBytes(countBits(v >> 4), countBits(v & 15));
    return t;
}();
static_assert(kQuads[0xF1] == packBytes(4, 1));

// 1/3 (4 bits per pixel): six page pixels, the top bits of a 6-bit group
// leftmost, make one display byte of two 3-pixel counts.
inline constexpr std::array<uint8_t, 64> kTriples = [] {
    std::array<uint8_t, 64> t{};
    for (unsigned v = 0; v < 64; ++v) t[v] = uint8_t(countBits(v >> 3) << 4 | countBits(v & 7));
    return t;
}();
static_assert(kTriples[0b111001] == 0x31);

// 1/1.5 (4 bits per pixel): six page pixels a..f make four display pixels
// weighted 2a + b, b + 2c, 2d + e, e + 2f (the middle pixel of each three is
// shared by its two display pixels); `factor` 2 is for rows that count twice.
constexpr std::array<uint16_t, 64> weightedSixes(unsigned factor) {
    std::array<uint16_t, 64> t{};
    for (unsigned v = 0; v < 64; ++v) {
        const unsigned a = v >> 5 & 1, b = v >> 4 & 1, c = v >> 3 & 1, d = v >> 2 & 1, e = v >> 1 & 1, f = v & 1;
        const unsigned p0 = (2 * a + b) * factor, p1 = (b + 2 * c) * factor;
        const unsigned p2 = (2 * d + e) * factor, p3 = (e + 2 * f) * factor;
        t[v] = packBytes(p0 << 4 | p1, p2 << 4 | p3);
    }
    return t;
}
inline constexpr std::array<uint16_t, 64> kWeighted = weightedSixes(1);
inline constexpr std::array<uint16_t, 64> kWeightedTwice = weightedSixes(2);
static_assert(kWeighted[0b110000] == packBytes(0x31, 0) && kWeightedTwice[0b111111] == packBytes(0x66, 0x66));

// Expands a byte of two 4-bit pixels into two 8-bit pixels, for painting a
// 4-bit display bitmap through an 8-bit image.
inline constexpr std::array<uint16_t, 256> kNibblesToBytes = [] {
    std::array<uint16_t, 256> t{};
    for (unsigned v = 0; v < 256; ++v) t[v] = packBytes(v >> 4, v & 15);
    return t;
}();

}  // namespace lumipage::reduction
