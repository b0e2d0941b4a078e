#pragma once
#include <cstdint>
#include <cstring>

namespace lumipage {

// Sets pixels x0 .. x1 - 1 of a row to black (0 <= x0 < x1): the partial
// first and last bytes by mask, whole bytes in between by stores.
inline void paintSpan(uint8_t* row, int x0, int x1) {
    const int first = x0 >> 3;
    const int last = (x1 - 1) >> 3;
    const uint8_t firstMask = uint8_t(0xFF >> (x0 & 7));
    const uint8_t lastMask = uint8_t(0xFF00 >> (((x1 - 1) & 7) + 1));
    if (first == last) {
        row[first] |= firstMask & lastMask;
        return;
    }
    row[first] |= firstMask;
    row[last] |= lastMask;
    uint8_t* p = row + first + 1;
    int n = last - first - 1;
    if (n >= 32) {
        std::memset(p, 0xFF, size_t(n));
        return;
    }
    constexpr uint64_t kInk = ~uint64_t{0};
    for (; n >= 8; n -= 8, p += 8) std::memcpy(p, &kInk, 8);
    for (; n > 0; --n) *p++ = 0xFF;
}

}  // namespace lumipage
