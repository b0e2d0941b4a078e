#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace lumipage {

// The bit-run row coding of TaggedMH rows with tag 0xF0, for rows that are
// mostly white but too busy for run-length codes. Outside a literal run a
// 0x00 byte is the single bit 0 and any other byte is the bit 1 followed by
// its 8 bits, which starts a literal run; inside a literal run every byte is
// its 8 bits, and a 0x00 byte ends the run. Bits run most significant first;
// the last byte is filled with zeros.
class RunCoder {
public:
    // Returns the bytes produced, 0 when they do not fit into `out`.
    static size_t encodeRow(std::span<const uint8_t> row, std::span<uint8_t> out);
};

}  // namespace lumipage
