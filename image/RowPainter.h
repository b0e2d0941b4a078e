#pragma once
#include <bit>
#include <cstdint>
#include <cstring>

namespace lumipage {

// Sets pixels x0 .. x1 - 1 of a row of rowBytes bytes to black
// (0 <= x0 < x1 <= rowBytes * 8). A span that fits one 64-bit word inside
// the row is painted with one masked word; longer spans get their partial
// first and last bytes by mask and whole bytes in between by stores.
inline void paintSpan(uint8_t* row, int x0, int x1, int rowBytes) {
    const int first = x0 >> 3;
    const int offset = x0 & 7;
    const int count = x1 - x0;
    if (offset + count < 64 && first + 8 <= rowBytes) {
        const uint64_t mask = (~uint64_t{0} >> offset) & ~(~uint64_t{0} >> (offset + count));
        uint64_t word;
        std::memcpy(&word, row + first, 8);
        if constexpr (std::endian::native == std::endian::little)
            word |= __builtin_bswap64(mask);
        else
            word |= mask;
        std::memcpy(row + first, &word, 8);
        return;
    }
    const int last = (x1 - 1) >> 3;
    const uint8_t firstMask = uint8_t(0xFF >> offset);
    const uint8_t lastMask = uint8_t(0xFF00 >> (((x1 - 1) & 7) + 1));
    if (first == last) {
        row[first] |= firstMask & lastMask;
        return;
    }
    row[first] |= firstMask;
    row[last] |= lastMask;
    if (last - first > 1) std::memset(row + first + 1, 0xFF, size_t(last - first - 1));
}

// Paints x0 .. x1 - 1 black. A span inside one 64-pixel word of the row
// (counted from the row's start) is ORed into that word: spans after one
// another in the same word then read back the word just stored whole.
[[gnu::always_inline]] inline void paintInWord(uint8_t* row, int x0, int x1, int rowBytes) {
    const int first = x0 >> 6;
    if (first == (x1 - 1) >> 6 && first * 8 + 8 <= rowBytes) [[likely]] {
        uint64_t bits = (~uint64_t{0} >> (x0 & 63)) & (~uint64_t{0} << (63 - ((x1 - 1) & 63)));
        if constexpr (std::endian::native == std::endian::little) bits = __builtin_bswap64(bits);
        uint64_t stored;
        std::memcpy(&stored, row + size_t(first) * 8, 8);
        stored |= bits;
        std::memcpy(row + size_t(first) * 8, &stored, 8);
        return;
    }
    paintSpan(row, x0, x1, rowBytes);
}

}  // namespace lumipage
