#include "image/TiffHeader.h"

#include "image/TiffSource.h"

namespace lumipage {

bool TiffHeader::read(TiffSource& source) {
    const auto bytes = source.read(0, 8);
    if (!bytes) return false;
    const uint8_t* p = bytes->data();
    byteOrder = uint16_t(p[0] << 8 | p[1]);  // the same either way round when valid
    if (byteOrder != kLittleEndian && byteOrder != kBigEndian) return false;
    source.setBigEndian(byteOrder == kBigEndian);
    magic = source.get16(p + 2);
    firstIfd = source.get32(p + 4);
    return magic == kMagic;
}

}  // namespace lumipage
