#pragma once
#include <array>
#include <cstdint>

namespace lumipage::bits {

// 256-entry tables shared by the raster transforms and the codecs, built once
// at compile time.

// The byte with its bit order mirrored: 0x01 -> 0x80, 0x03 -> 0xC0.
inline constexpr std::array<uint8_t, 256> kReversed = [] {
    std::array<uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v) {
        int r = 0;
        for (int b = 0; b < 8; ++b)
            if (v & (1 << b)) r |= 0x80 >> b;
        t[v] = static_cast<uint8_t>(r);
    }
    return t;
}();
static_assert(kReversed[0x01] == 0x80 && kReversed[0x03] == 0xC0 && kReversed[0xF0] == 0x0F);

// Spreads the 8 bits of a byte over the 8 bytes of a 64-bit word, each set bit
// becoming 0x80 in its byte: byte k of the word holds bit k of the value
// (least significant bit first). Used to transpose 8 x 8 pixel blocks: the
// rows of a block are spread, shifted right by their row index and ORed.
inline constexpr std::array<uint64_t, 256> kSpreadLsbFirst = [] {
    std::array<uint64_t, 256> t{};
    for (int v = 0; v < 256; ++v) {
        uint64_t w = 0;
        for (int k = 0; k < 8; ++k)
            if (v & (1 << k)) w |= uint64_t{0x80} << (8 * k);
        t[v] = w;
    }
    return t;
}();

// As above with byte k holding bit 7 - k (most significant bit first).
inline constexpr std::array<uint64_t, 256> kSpreadMsbFirst = [] {
    std::array<uint64_t, 256> t{};
    for (int v = 0; v < 256; ++v) {
        uint64_t w = 0;
        for (int k = 0; k < 8; ++k)
            if (v & (0x80 >> k)) w |= uint64_t{0x80} << (8 * k);
        t[v] = w;
    }
    return t;
}();
static_assert(kSpreadLsbFirst[0x01] == 0x80 && kSpreadMsbFirst[0x80] == 0x80);

// Mask of the pixels in use in the last byte of a row of the given width.
constexpr uint8_t lastByteMask(int width) {
    const int used = width % 8;
    return used == 0 ? 0xFF : static_cast<uint8_t>(0xFF00 >> used);
}
static_assert(lastByteMask(1729) == 0x80 && lastByteMask(1728) == 0xFF && lastByteMask(3) == 0xE0);

}  // namespace lumipage::bits
