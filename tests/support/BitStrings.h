#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumipage::test {

// Bytes from a string of '0' and '1' (other characters ignored), most
// significant bit first, the last byte filled with zeros.
inline std::vector<uint8_t> packBits(std::string_view bits) {
    std::vector<uint8_t> out;
    int n = 0;
    for (char c : bits) {
        if (c != '0' && c != '1') continue;
        if (n % 8 == 0) out.push_back(0);
        if (c == '1') out.back() |= uint8_t(0x80 >> (n % 8));
        ++n;
    }
    return out;
}

inline std::string repeatBits(std::string_view bits, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += bits;
    return s;
}

}  // namespace lumipage::test
