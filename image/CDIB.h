#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace lumipage {

class File;
class Messages;

// A device-independent bitmap in the Windows BMP sense: a BITMAPINFOHEADER,
// room for a 256-entry colour table, and rows of pixels (1, 4 or 8 bits per
// pixel, each row padded to 4 bytes). A positive height stores the bottom row
// first, a negative height the top row first; rows are always addressed
// counting from the top. Pages opened from .BMP files are read through it,
// and the view renders into one.
class CDIB {
public:
    struct RgbQuad {
        uint8_t blue = 0, green = 0, red = 0, reserved = 0;
        bool operator==(const RgbQuad&) const = default;
    };

    // BITMAPINFOHEADER, 40 bytes in the file.
    struct InfoHeader {
        uint32_t size = kInfoHeaderSize;
        int32_t width = 0;
        int32_t height = 0;  // positive: bottom-up rows
        uint16_t planes = 1;
        uint16_t bitCount = 8;
        uint32_t compression = 0;  // BI_RGB
        uint32_t sizeImage = 0;
        int32_t xPelsPerMeter = 0;
        int32_t yPelsPerMeter = 0;
        uint32_t clrUsed = 0;
        uint32_t clrImportant = 0;
    };

    struct Rect {
        int32_t left, top, right, bottom;
    };

    static constexpr uint32_t kFileHeaderSize = 14;   // BITMAPFILEHEADER
    static constexpr uint32_t kInfoHeaderSize = 40;   // BITMAPINFOHEADER
    static constexpr uint32_t kCoreHeaderSize = 12;   // BITMAPCOREHEADER (OS/2)
    static constexpr uint32_t kInfoBlockSize = kInfoHeaderSize + 256 * 4;        // 1064
    static constexpr uint32_t kWrittenBitsOffset = kFileHeaderSize + kInfoBlockSize;  // 1078
    // Larger bitmaps are not read: no page or view needs them.
    static constexpr int32_t kMaxSide = 16000;

    // A 16 x 16 bitmap of 8 bits per pixel.
    CDIB();
    CDIB(const CDIB&) = delete;
    CDIB& operator=(const CDIB&) = delete;
    CDIB(CDIB&& other) noexcept;
    CDIB& operator=(CDIB&& other) noexcept;

    // A bitmap of zero bits with the default palette; bits per pixel other
    // than 1 and 4 mean 8. False when memory runs out.
    bool create(int32_t width, int32_t height, int bitsPerPixel, int32_t pixelsPerMetre);
    // Takes a header and palette and uses `bits` (stride x height bytes)
    // without owning them.
    void attach(const InfoHeader& header, std::span<const RgbQuad> palette, uint8_t* bits, bool clear);

    // Reading and writing the BMP file form.
    enum class Content { Everything, HeaderOnly };
    bool open(const std::string& path, Content content = Content::Everything);
    bool read(const File& file, int64_t position, Content content = Content::Everything);
    bool read(std::span<const uint8_t> data, Content content = Content::Everything);
    bool write(File& file) const;
    bool saveAs(const std::string& path, Messages& messages) const;

    const InfoHeader& header() const { return header_; }
    const std::array<RgbQuad, 256>& palette() const { return palette_; }
    void setPaletteEntry(int index, RgbQuad colour) { palette_[size_t(index & 255)] = colour; }
    int32_t pixelsPerMetreX() const { return header_.xPelsPerMeter; }
    int32_t pixelsPerMetreY() const { return header_.yPelsPerMeter; }
    int32_t width() const { return header_.width; }
    int32_t height() const { return header_.height < 0 ? -header_.height : header_.height; }
    int rowOrder() const { return header_.height < 0 ? -1 : 1; }  // -1 top-down, 1 bottom-up
    uint32_t stride() const { return strideFor(header_.width, header_.bitCount); }
    int bitsPerPixel() const { return header_.bitCount; }
    uint32_t paletteSize() const { return paletteSizeFor(header_); }
    Rect bounds() const { return {0, 0, width(), height()}; }
    bool ownsBits() const { return bits_ == owned_.data() && bits_ != nullptr; }

    // The byte holding pixel x of row y counted from the top, or null outside.
    uint8_t* pixelAddress(int32_t x, int32_t y);
    const uint8_t* pixelAddress(int32_t x, int32_t y) const;
    uint8_t* rowAddress(int32_t y) { return pixelAddress(0, y); }
    const uint8_t* rowAddress(int32_t y) const { return pixelAddress(0, y); }

    void fill(uint8_t value);
    std::vector<uint8_t> copyBitsOut() const;
    bool copyBitsIn(std::span<const uint8_t> bytes);  // exactly stride x height bytes
    // 8-bit bitmaps: every pixel takes the nearest colour of `target`, which
    // becomes the palette.
    bool mapToPalette(std::span<const RgbQuad, 256> target);
    // Copies `rows` rows of `widthBytes` bytes from (sourceX, sourceY) to
    // (destinationX, destinationY) of `destination`, x in bytes, y from the
    // top, clipped to both bitmaps; bytes equal to `key` are left out unless
    // key is -1.
    void copyBlock(CDIB& destination, int32_t destinationX, int32_t destinationY, int32_t widthBytes, int32_t rows,
                   int32_t sourceX, int32_t sourceY, int key) const;

    static uint32_t strideFor(int32_t width, int bitsPerPixel);
    static uint32_t paletteSizeFor(const InfoHeader& header);

private:
    using Fetch = std::function<int64_t(int64_t offset, std::span<uint8_t> into)>;
    bool readFrom(const Fetch& fetch, int64_t position, Content content);
    size_t bitsSize() const { return size_t(stride()) * size_t(height()); }
    void setDefaultPalette();

    InfoHeader header_;
    std::array<RgbQuad, 256> palette_{};
    std::vector<uint8_t> owned_;
    uint8_t* bits_ = nullptr;
};

}  // namespace lumipage
