#include "image/PngWriter.h"

#include <zlib.h>

#include <cstring>
#include <string_view>

namespace lumipage {

namespace {

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

// One chunk: length, type, data, and the CRC of type and data.
void putChunk(std::vector<uint8_t>& out, std::string_view type, const uint8_t* data, size_t size) {
    putBigEndian(out, uint32_t(size));
    const size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    if (size > 0) out.insert(out.end(), data, data + size);
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + typeAt, uInt(out.size() - typeAt));
    putBigEndian(out, uint32_t(crc));
}

}  // namespace

std::vector<uint8_t> greyPng(int width, int height, const uint8_t* pixels) {
    // A preview's sides stay far below the format's limits; bigger is a caller's mistake.
    constexpr int kLargestSide = 1 << 15;
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide || !pixels) return {};

    // Every row behind filter type 0 (none): grey pages of text compress
    // well enough without filtering, and the preview stays fast.
    const size_t rowBytes = size_t(width);
    std::vector<uint8_t> raw((rowBytes + 1) * size_t(height));
    for (int y = 0; y < height; ++y) {
        uint8_t* row = raw.data() + size_t(y) * (rowBytes + 1);
        row[0] = 0;
        std::memcpy(row + 1, pixels + size_t(y) * rowBytes, rowBytes);
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), Z_BEST_SPEED) != Z_OK) return {};

    std::vector<uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putBigEndian(header, uint32_t(width));
    putBigEndian(header, uint32_t(height));
    header.insert(header.end(), {8, 0, 0, 0, 0});  // 8 bits, greyscale, deflate, filter 0, not interlaced
    putChunk(out, "IHDR", header.data(), header.size());
    putChunk(out, "IDAT", packed.data(), packedSize);
    putChunk(out, "IEND", nullptr, 0);
    return out;
}

}  // namespace lumipage
