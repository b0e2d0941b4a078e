#pragma once
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace lumipage {

// Finding runs of equal pixels in a row a byte at a time. The run table gives,
// for every byte value, the number of zero bits at its top (8 for 0x00): the
// length of the leading run in a byte whose wanted colour has been turned
// into zeros. Whole bytes of the run's colour are skipped eight at a time.
inline constexpr std::array<uint8_t, 256> kLeadingZeroRun = [] {
    std::array<uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v) {
        int n = 0;
        while (n < 8 && !(v & (0x80 >> n))) ++n;
        t[v] = uint8_t(n);
    }
    return t;
}();
static_assert(kLeadingZeroRun[0x00] == 8 && kLeadingZeroRun[0x80] == 0 && kLeadingZeroRun[0x01] == 7 &&
              kLeadingZeroRun[0x1F] == 3);

// The first pixel at or after `x` whose colour is not `black`, or `end` when
// the run reaches it. Reads only the bytes holding pixels below `end`.
template <bool Black>
inline int findRunEnd(const uint8_t* row, int x, int end) {
    constexpr uint8_t flip = Black ? 0xFF : 0x00;
    if (x >= end) return end;
    int byte = x >> 3;
    const int lead = x & 7;
    if (lead != 0) {
        const uint8_t v = uint8_t((row[byte] ^ flip) << lead);  // bits before x become run colour
        const int run = kLeadingZeroRun[v];
        if (run < 8 - lead) return x + run < end ? x + run : end;
        ++byte;
    }
    const int lastByte = (end - 1) >> 3;
    constexpr uint64_t flipWord = Black ? ~uint64_t{0} : 0;
    while (byte + 8 <= lastByte + 1) {
        uint64_t word;
        std::memcpy(&word, row + byte, 8);
        if (word != flipWord) break;
        byte += 8;
    }
    for (; byte <= lastByte; ++byte) {
        const uint8_t v = row[byte] ^ flip;
        if (v != 0) {
            const int position = byte * 8 + kLeadingZeroRun[v];
            return position < end ? position : end;
        }
    }
    return end;
}

inline int findRunEnd(const uint8_t* row, int x, int end, bool black) {
    return black ? findRunEnd<true>(row, x, end) : findRunEnd<false>(row, x, end);
}

// Calls visit(x) for every changing pixel x of the first `pixels` pixels of
// a row, in order: every pixel whose colour differs from the pixel before it,
// the pixel before the row counting as white (so x = 0 when the row starts
// black). The row is read 64 pixels at a time: XOR with itself moved on by
// one pixel leaves a one bit at every change, and counting leading zeros
// finds each in turn, so a word costs a few operations per change whatever
// the runs' lengths. Reads only the bytes holding the pixels.
template <class Visit>
inline void forEachChange(const uint8_t* row, int pixels, Visit&& visit) {
    constexpr uint64_t kTop = uint64_t{1} << 63;
    uint64_t carry = 0;  // the last pixel of the previous word, at the top bit
    int x = 0;
    const auto changesOf = [&](uint64_t word, uint64_t keep) {
        uint64_t changed = (word ^ ((word >> 1) | carry)) & keep;
        carry = word << 63;
        while (changed != 0) {
            const int at = std::countl_zero(changed);
            visit(x + at);
            changed &= ~(kTop >> at);
        }
    };
    for (; x + 64 <= pixels; x += 64) {
        uint64_t word;
        std::memcpy(&word, row + x / 8, 8);
        if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
        changesOf(word, ~uint64_t{0});
    }
    const int rest = pixels - x;
    if (rest > 0) {
        uint64_t word = 0;
        for (int i = 0; i < (rest + 7) / 8; ++i) word |= uint64_t(row[x / 8 + i]) << (56 - 8 * i);
        changesOf(word, ~(~uint64_t{0} >> rest));
    }
}

}  // namespace lumipage
