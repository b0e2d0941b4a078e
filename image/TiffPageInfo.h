#pragma once
#include <cstdint>
#include <functional>

namespace lumipage {

class TiffSource;

// What the program takes from one image file directory (TIFF 6.0, section 2),
// with the defaults TIFF 6.0 gives a missing field, and whether the page is
// one it can show: one bit per pixel, one sample, compression 1 to 4.
struct TiffPageInfo {
    // Field tags (TIFF 6.0, section 8 onwards).
    enum Tag : uint16_t {
        NewSubfileType = 254,
        SubfileType = 255,
        ImageWidth = 256,
        ImageLength = 257,
        BitsPerSample = 258,
        Compression = 259,
        PhotometricInterpretation = 262,
        FillOrder = 266,
        StripOffsets = 273,
        Orientation = 274,
        SamplesPerPixel = 277,
        RowsPerStrip = 278,
        StripByteCounts = 279,
        XResolution = 282,
        YResolution = 283,
        T4Options = 292,
        T6Options = 293,
        ResolutionUnit = 296,
        PageNumber = 297,
    };

    // An array of values: its field type, count and where the values lie
    // (inside the entry when they fit in 4 bytes, else at the offset it holds).
    struct ValueArray {
        uint16_t type = 0;
        uint32_t count = 0;
        uint64_t location = 0;
    };

    enum class Status {
        Unreadable,  // the entry count cannot be read
        Refused,     // a directory, but not of a page the program can show
        Supported,
    };

    static constexpr int64_t kNoStripLimit = 0x7FFFFFFF;

    int64_t pageKind = 0;     // 0 full page, 1 reduced resolution, 2 one page of many
    int64_t pageNumber = -1;  // -1: no PageNumber field
    int64_t pageTotal = 0;
    int64_t imageWidth = 0;
    int64_t imageLength = 0;
    int64_t bitsPerSample = 1;
    int64_t compression = 1;
    int64_t t4Options = 0;
    int64_t t6Options = 0;
    int64_t photometric = 0;  // 0 WhiteIsZero, 1 BlackIsZero
    int64_t fillOrder = 1;
    int64_t orientation = 1;
    int64_t samplesPerPixel = 1;
    int64_t xResolution = 0;
    int64_t yResolution = 0;
    int64_t resolutionUnit = 2;
    int64_t rowsPerStrip = kNoStripLimit;
    ValueArray stripOffsets;
    ValueArray stripByteCounts;
    int64_t firstStripOffset = 0;
    uint64_t stripByteCountSum = 0;
    uint32_t nextIfd = 0;

    // Parses the directory at offset and checks the page.
    Status read(TiffSource& source, uint32_t offset);

    bool isPage() const { return pageKind == 0 || pageKind == 2; }
    int32_t coding() const;  // the PageCoding of the page's strips
    int32_t dpi() const;
    // Rows per inch, from YResolution in the same way (dpi() when it is missing).
    int32_t rowDpi() const;
    // A standard-resolution fax page: rows about twice as far apart as pixels.
    bool hasHalfVerticalResolution() const;

    // Value `index` of an array, by field type; rationals are rounded.
    static int64_t value(TiffSource& source, uint16_t type, uint64_t location, uint32_t index);
    // Hands values 0 .. min(count, limit) - 1 of the array to `use`, reading
    // them a block at a time; false when the array runs off the end of the
    // file (the values inside it are still handed on) or has a type the
    // program does not read.
    static bool forEachValue(TiffSource& source, const ValueArray& array, uint32_t limit,
                             const std::function<void(int64_t)>& use);

private:
    void take(TiffSource& source, uint16_t tag, const ValueArray& field);
    bool supported() const;
};

}  // namespace lumipage
