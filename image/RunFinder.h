#pragma once
#include <array>
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

}  // namespace lumipage
