#include "image/CDIB.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <utility>

#include "base/Messages.h"
#include "platform/File.h"

namespace lumipage {

namespace {

constexpr uint8_t kMagic0 = 'B', kMagic1 = 'M';
constexpr uint32_t kBitsOffsetField = 10;  // bfOffBits inside the file header

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
void put16(std::vector<uint8_t>& out, uint16_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); }
void put32(std::vector<uint8_t>& out, uint32_t v) {
    out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}

CDIB::InfoHeader parseInfoHeader(const uint8_t* p) {
    CDIB::InfoHeader h;
    h.size = le32(p);
    h.width = int32_t(le32(p + 4));
    h.height = int32_t(le32(p + 8));
    h.planes = le16(p + 12);
    h.bitCount = le16(p + 14);
    h.compression = le32(p + 16);
    h.sizeImage = le32(p + 20);
    h.xPelsPerMeter = int32_t(le32(p + 24));
    h.yPelsPerMeter = int32_t(le32(p + 28));
    h.clrUsed = le32(p + 32);
    h.clrImportant = le32(p + 36);
    return h;
}

// The OS/2 core header has 16-bit width, height, planes and bit count only.
CDIB::InfoHeader parseCoreHeader(const uint8_t* p) {
    CDIB::InfoHeader h;
    h.size = CDIB::kInfoHeaderSize;
    h.width = le16(p + 4);
    h.height = le16(p + 6);
    h.planes = le16(p + 8);
    h.bitCount = le16(p + 10);
    return h;
}

bool readExactly(const std::function<int64_t(int64_t, std::span<uint8_t>)>& fetch, int64_t offset,
                 std::span<uint8_t> into) {
    return fetch(offset, into) == int64_t(into.size());
}

int colourDistance(const CDIB::RgbQuad& a, const CDIB::RgbQuad& b) {
    const int r = a.red - b.red, g = a.green - b.green, bl = a.blue - b.blue;
    return r * r + g * g + bl * bl;
}

}  // namespace

CDIB::CDIB() { create(16, 16, 8, 0); }

CDIB::CDIB(CDIB&& other) noexcept { *this = std::move(other); }

CDIB& CDIB::operator=(CDIB&& other) noexcept {
    if (this != &other) {
        const bool owned = other.ownsBits();
        header_ = other.header_;
        palette_ = other.palette_;
        owned_ = std::move(other.owned_);
        bits_ = owned ? owned_.data() : other.bits_;
        other.owned_.clear();
        other.bits_ = nullptr;
    }
    return *this;
}

uint32_t CDIB::strideFor(int32_t width, int bitsPerPixel) {
    if (width <= 0) return 0;
    const uint64_t w = uint64_t(width);
    const uint64_t rowBytes = bitsPerPixel == 1 ? (w + 7) / 8 : bitsPerPixel == 4 ? (w + 1) / 2 : w;
    return uint32_t((rowBytes + 3) & ~uint64_t{3});
}

uint32_t CDIB::paletteSizeFor(const InfoHeader& header) {
    const uint32_t full = header.bitCount == 1 ? 2 : header.bitCount == 4 ? 16 : header.bitCount <= 8 ? 256 : 0;
    return header.clrUsed != 0 && header.clrUsed < full ? header.clrUsed : full;
}

void CDIB::setDefaultPalette() {
    palette_.fill(RgbQuad{});
    if (header_.bitCount == 1) {
        palette_[0] = {255, 255, 255, 0};
        palette_[1] = {0, 0, 0, 0};
        return;
    }
    // A 3-3-2 colour cube: red in the top three bits of the index, green in
    // the next three, blue in the lowest two.
    for (uint32_t i = 0; i < paletteSize(); ++i)
        palette_[i] = {uint8_t(i << 6), uint8_t((i & ~3u) << 3), uint8_t(i & ~31u), 0};
}

bool CDIB::create(int32_t width, int32_t height, int bitsPerPixel, int32_t pixelsPerMetre) {
    InfoHeader h;
    h.width = width;
    h.height = height;
    h.bitCount = uint16_t(bitsPerPixel == 1 || bitsPerPixel == 4 ? bitsPerPixel : 8);
    h.xPelsPerMeter = h.yPelsPerMeter = pixelsPerMetre;
    std::vector<uint8_t> bits;
    try {
        // A negative height is a top-down bitmap of that many rows.
        bits.assign(size_t(strideFor(width, h.bitCount)) * size_t(height < 0 ? -int64_t(height) : height), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    header_ = h;
    setDefaultPalette();
    owned_ = std::move(bits);
    bits_ = owned_.data();
    return true;
}

void CDIB::attach(const InfoHeader& header, std::span<const RgbQuad> palette, uint8_t* bits, bool clear) {
    header_ = header;
    palette_.fill(RgbQuad{});
    std::copy_n(palette.begin(), std::min<size_t>(palette.size(), palette_.size()), palette_.begin());
    owned_.clear();
    bits_ = bits;
    if (clear && bits_) std::memset(bits_, 0, bitsSize());
}

bool CDIB::open(const std::string& path, Content content) {
    File file;
    return file.open(path, File::Mode::Read) && read(file, 0, content);
}

bool CDIB::read(const File& file, int64_t position, Content content) {
    return readFrom([&file](int64_t offset, std::span<uint8_t> into) { return file.readUpTo(offset, into); },
                    position, content);
}

bool CDIB::read(std::span<const uint8_t> data, Content content) {
    return readFrom(
        [data](int64_t offset, std::span<uint8_t> into) -> int64_t {
            if (offset < 0 || uint64_t(offset) > data.size()) return -1;
            const size_t n = std::min(into.size(), data.size() - size_t(offset));
            std::memcpy(into.data(), data.data() + offset, n);
            return int64_t(n);
        },
        0, content);
}

// BMP file: BITMAPFILEHEADER ("BM", file size, two reserved words, offset of
// the bits), then BITMAPINFOHEADER (40 bytes) or the OS/2 BITMAPCOREHEADER
// (12 bytes), the colour table (4-byte entries, or 3-byte ones after a core
// header), and the rows.
bool CDIB::readFrom(const Fetch& fetch, int64_t position, Content content) {
    uint8_t fileHeader[kFileHeaderSize];
    if (!readExactly(fetch, position, fileHeader) || fileHeader[0] != kMagic0 || fileHeader[1] != kMagic1)
        return false;
    const uint32_t bitsOffset = le32(fileHeader + kBitsOffsetField);
    uint8_t info[kInfoHeaderSize];
    if (!readExactly(fetch, position + kFileHeaderSize, std::span(info, 4))) return false;
    const uint32_t headerSize = le32(info);
    if (headerSize != kInfoHeaderSize && headerSize != kCoreHeaderSize) return false;
    if (!readExactly(fetch, position + kFileHeaderSize, std::span(info, headerSize))) return false;
    const bool core = headerSize == kCoreHeaderSize;
    const InfoHeader h = core ? parseCoreHeader(info) : parseInfoHeader(info);
    // Run-length and bit-field bitmaps would be taken for plain rows.
    if ((h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8) || h.compression != 0) return false;
    if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) return false;

    std::array<RgbQuad, 256> palette{};
    const uint32_t entries = paletteSizeFor(h);
    const uint32_t entrySize = core ? 3 : 4;
    std::vector<uint8_t> table(size_t(entries) * entrySize);
    if (!readExactly(fetch, position + kFileHeaderSize + headerSize, table)) return false;
    for (uint32_t i = 0; i < entries; ++i)
        palette[i] = {table[i * entrySize], table[i * entrySize + 1], table[i * entrySize + 2], 0};

    std::vector<uint8_t> bits;
    if (content == Content::Everything) {
        const int32_t rows = h.height < 0 ? -h.height : h.height;
        if (h.width > kMaxSide || rows > kMaxSide) return false;
        try {
            bits.assign(size_t(strideFor(h.width, h.bitCount)) * size_t(rows), 0);
        } catch (const std::bad_alloc&) {
            return false;
        }
        // A file that ends early gives the rows it has; the rest stay zero.
        if (fetch(position + int64_t(bitsOffset), bits) <= 0) return false;
    }
    header_ = h;
    palette_ = palette;
    owned_ = std::move(bits);
    bits_ = owned_.empty() ? nullptr : owned_.data();
    return true;
}

bool CDIB::write(File& file) const {
    if (!bits_) return false;
    const size_t bitsBytes = bitsSize();
    std::vector<uint8_t> head;
    head.reserve(kWrittenBitsOffset);
    head.insert(head.end(), {kMagic0, kMagic1});
    put32(head, uint32_t(bitsBytes + kWrittenBitsOffset));
    put16(head, 0);
    put16(head, 0);
    put32(head, kWrittenBitsOffset);
    put32(head, kInfoHeaderSize);
    put32(head, uint32_t(header_.width));
    put32(head, uint32_t(header_.height));
    put16(head, header_.planes);
    put16(head, header_.bitCount);
    put32(head, header_.compression);
    put32(head, header_.sizeImage);
    put32(head, uint32_t(header_.xPelsPerMeter));
    put32(head, uint32_t(header_.yPelsPerMeter));
    put32(head, header_.clrUsed);
    put32(head, header_.clrImportant);
    for (const RgbQuad& q : palette_) head.insert(head.end(), {q.blue, q.green, q.red, q.reserved});
    return file.append(head) && file.append(std::span<const uint8_t>(bits_, bitsBytes));
}

bool CDIB::saveAs(const std::string& path, Messages& messages) const {
    File file;
    if (!file.open(path, File::Mode::Create)) {
        messages.message("Failed to open file");
        return false;
    }
    if (!write(file)) {
        messages.message("Failed to save file");
        return false;
    }
    return true;
}

const uint8_t* CDIB::pixelAddress(int32_t x, int32_t y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width() || y >= height()) return nullptr;
    const int32_t stored = header_.height < 0 ? y : height() - 1 - y;
    const uint32_t byte = header_.bitCount == 1 ? uint32_t(x) / 8 : header_.bitCount == 4 ? uint32_t(x) / 2 : uint32_t(x);
    return bits_ + size_t(stored) * stride() + byte;
}

uint8_t* CDIB::pixelAddress(int32_t x, int32_t y) {
    return const_cast<uint8_t*>(std::as_const(*this).pixelAddress(x, y));
}

void CDIB::fill(uint8_t value) {
    if (bits_) std::memset(bits_, value, bitsSize());
}

std::vector<uint8_t> CDIB::copyBitsOut() const {
    return bits_ ? std::vector<uint8_t>(bits_, bits_ + bitsSize()) : std::vector<uint8_t>{};
}

bool CDIB::copyBitsIn(std::span<const uint8_t> bytes) {
    if (!bits_ || bytes.size() != bitsSize()) return false;
    std::memcpy(bits_, bytes.data(), bytes.size());
    return true;
}

bool CDIB::mapToPalette(std::span<const RgbQuad, 256> target) {
    if (header_.bitCount != 8 || !bits_) return false;
    std::array<uint8_t, 256> nearest{};
    for (int i = 0; i < 256; ++i) {
        int best = 0;
        for (int j = 1; j < 256; ++j)
            if (colourDistance(palette_[size_t(i)], target[size_t(j)]) <
                colourDistance(palette_[size_t(i)], target[size_t(best)]))
                best = j;
        nearest[size_t(i)] = uint8_t(best);
    }
    const size_t n = bitsSize();
    for (size_t k = 0; k < n; ++k) bits_[k] = nearest[bits_[k]];
    std::copy(target.begin(), target.end(), palette_.begin());
    header_.clrUsed = 256;
    return true;
}

void CDIB::copyBlock(CDIB& destination, int32_t destinationX, int32_t destinationY, int32_t widthBytes, int32_t rows,
                     int32_t sourceX, int32_t sourceY, int key) const {
    int64_t sx = sourceX, sy = sourceY, dx = destinationX, dy = destinationY, w = widthBytes, n = rows;
    // Clip the left and top edges of both bitmaps, then the right and bottom ones.
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (sy < 0) { dy -= sy; n += sy; sy = 0; }
    if (dy < 0) { sy -= dy; n += dy; dy = 0; }
    w = std::min({w, int64_t(stride()) - sx, int64_t(destination.stride()) - dx});
    n = std::min({n, int64_t(height()) - sy, int64_t(destination.height()) - dy});
    if (w <= 0 || n <= 0 || !bits_ || !destination.bits_) return;
    for (int64_t r = 0; r < n; ++r) {
        const uint8_t* from = rowAddress(int32_t(sy + r)) + sx;
        uint8_t* to = destination.rowAddress(int32_t(dy + r)) + dx;
        if (key == -1) {
            std::memmove(to, from, size_t(w));
            continue;
        }
        for (int64_t i = 0; i < w; ++i)
            if (from[i] != uint8_t(key)) to[i] = from[i];
    }
}

}  // namespace lumipage
