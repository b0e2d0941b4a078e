#include "image/RunCoder.h"

#include "image/BitWriter.h"

namespace lumipage {

size_t RunCoder::encodeRow(std::span<const uint8_t> row, std::span<uint8_t> out) {
    BitWriter writer(out);
    bool literal = false;
    for (const uint8_t byte : row) {
        if (literal) {
            writer.put(byte, 8);
            literal = byte != 0;
        } else if (byte == 0) {
            writer.put(0, 1);
        } else {
            writer.put(0x100u | byte, 9);
            literal = true;
        }
    }
    return writer.flush() ? writer.size() : 0;
}

}  // namespace lumipage
