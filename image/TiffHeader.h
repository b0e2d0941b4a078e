#pragma once
#include <cstdint>

namespace lumipage {

class TiffSource;

// The 8 bytes that open every TIFF file (TIFF 6.0, section 2): byte order
// "II" (little-endian) or "MM" (big-endian), the number 42 in that order,
// and the offset of the first image file directory.
struct TiffHeader {
    static constexpr uint16_t kLittleEndian = 0x4949;  // "II"
    static constexpr uint16_t kBigEndian = 0x4D4D;     // "MM"
    static constexpr uint16_t kMagic = 42;

    uint16_t byteOrder = 0;
    uint16_t magic = 0;
    uint32_t firstIfd = 0;

    // Reads and checks the header and sets the source's byte order; false
    // when the byte order or the magic number is wrong.
    bool read(TiffSource& source);
};

}  // namespace lumipage
