#include "image/TiffPageInfo.h"

#include <algorithm>
#include <cstdlib>

#include "image/PageCoding.h"
#include "image/TiffSource.h"

namespace lumipage {

namespace {

constexpr uint64_t kEntrySize = 12;
constexpr int64_t kT4Uncompressed = 2;  // T4Options / T6Options bit 1
constexpr int64_t kT4TwoDimensional = 1;
constexpr uint32_t kMaxSummedCounts = 16000;  // the most rows a page may have

// Field types (TIFF 6.0, section 2).
enum FieldType : uint16_t {
    Byte = 1, Ascii = 2, Short = 3, Long = 4, Rational = 5,
    SByte = 6, Undefined = 7, SShort = 8, SLong = 9, SRational = 10,
};

// Bytes per value, 0 for types the program does not read.
constexpr uint32_t typeSize(uint16_t type) {
    switch (type) {
        case Byte: case Ascii: case SByte: case Undefined: return 1;
        case Short: case SShort: return 2;
        case Long: case SLong: return 4;
        case Rational: case SRational: return 8;
        default: return 0;
    }
}

int64_t rounded(int64_t numerator, int64_t denominator) {
    return denominator == 0 ? 0 : (numerator + denominator / 2) / denominator;
}

}  // namespace

int64_t TiffPageInfo::value(TiffSource& source, uint16_t type, uint64_t location, uint32_t index) {
    const uint64_t at = location + uint64_t(index) * typeSize(type);
    switch (type) {
        case Byte: case Ascii: case Undefined: return source.u8(at);
        case SByte: return source.s8(at);
        case Short: return source.u16(at);
        case SShort: return source.s16(at);
        case Long: return source.u32(at);
        case SLong: return source.s32(at);
        case Rational: return rounded(source.u32(at), source.u32(at + 4));
        case SRational: return rounded(source.s32(at), source.s32(at + 4));
        default: return 0;
    }
}

bool TiffPageInfo::forEachValue(TiffSource& source, const ValueArray& array, uint32_t limit,
                                const std::function<void(int64_t)>& use) {
    const uint32_t size = typeSize(array.type);
    const uint32_t count = std::min(array.count, limit);
    if (size == 0) return count == 0;  // values of a type the program does not read
    constexpr uint32_t kBlock = 1024;  // values per read
    for (uint32_t first = 0; first < count; first += kBlock) {
        uint32_t n = std::min(kBlock, count - first);
        const uint64_t at = array.location + uint64_t(first) * size;
        const bool whole = source.read(at, size_t(n) * size).has_value();
        if (!whole) n = at < source.length() ? uint32_t(std::min<uint64_t>(n, (source.length() - at) / size)) : 0;
        // Values of one block now lie in the source's cache; typed reads are cheap.
        for (uint32_t i = 0; i < n; ++i) use(value(source, array.type, array.location, first + i));
        if (!whole) return false;
    }
    return true;
}

TiffPageInfo::Status TiffPageInfo::read(TiffSource& source, uint32_t offset) {
    *this = TiffPageInfo{};
    if (!source.read(offset, 2)) return Status::Unreadable;
    const uint16_t entries = source.u16(offset);
    uint64_t at = uint64_t(offset) + 2;
    for (uint32_t i = 0; i < entries; ++i, at += kEntrySize) {
        const auto bytes = source.read(at, kEntrySize);
        if (!bytes) break;  // an entry past the end of the file ends the list
        const uint8_t* e = bytes->data();
        const uint16_t tag = source.get16(e);
        ValueArray field{source.get16(e + 2), source.get32(e + 4), 0};
        if (tag == 0 && field.type == 0) break;
        const uint64_t bytesNeeded = uint64_t(field.count) * typeSize(field.type);
        const bool inEntry = field.type != Rational && field.type != SRational && typeSize(field.type) != 0 &&
                             bytesNeeded <= 4;
        field.location = inEntry ? at + 8 : source.get32(e + 8);
        take(source, tag, field);
    }
    nextIfd = source.u32(uint64_t(offset) + 2 + uint64_t(entries) * kEntrySize);
    if (compression == 1 && stripByteCountSum == 0)
        stripByteCountSum = uint64_t(imageWidth > 0 ? (imageWidth + 7) / 8 : 0) * uint64_t(std::max<int64_t>(imageLength, 0));
    return supported() ? Status::Supported : Status::Refused;
}

void TiffPageInfo::take(TiffSource& source, uint16_t tag, const ValueArray& field) {
    const int64_t first = value(source, field.type, field.location, 0);
    switch (tag) {
        case NewSubfileType: pageKind = first; break;
        case SubfileType: pageKind = first >= 1 && first <= 3 ? first - 1 : first; break;
        case ImageWidth: imageWidth = first; break;
        case ImageLength: imageLength = first; break;
        case BitsPerSample: bitsPerSample = first; break;
        case Compression: compression = first; break;
        case T4Options: t4Options = first; break;
        case T6Options: t6Options = first; break;
        case PhotometricInterpretation: photometric = first; break;
        case FillOrder: fillOrder = first; break;
        case Orientation: orientation = first; break;
        case SamplesPerPixel: samplesPerPixel = first; break;
        case XResolution: xResolution = first; break;
        case YResolution: yResolution = first; break;
        case ResolutionUnit: resolutionUnit = first; break;
        case RowsPerStrip: rowsPerStrip = first; break;
        case PageNumber:
            pageNumber = first;
            pageTotal = field.count >= 2 ? value(source, field.type, field.location, 1) : 0;
            break;
        case StripOffsets:
            stripOffsets = field;
            firstStripOffset = first;
            break;
        case StripByteCounts: {
            stripByteCounts = field;
            uint64_t sum = 0;
            // A count array running off the file adds what lies inside it. A
            // page has no more strips than rows, so later values are not read.
            forEachValue(source, field, kMaxSummedCounts,
                         [&sum](int64_t v) { sum += uint64_t(std::max<int64_t>(v, 0)); });
            stripByteCountSum = sum;
            break;
        }
        default: break;
    }
}

bool TiffPageInfo::supported() const {
    if (imageWidth <= 0 || imageLength <= 0) return false;
    if (bitsPerSample != 1 || compression < 1 || compression > 4) return false;
    if (compression == 3 && (t4Options & kT4Uncompressed)) return false;
    if (compression == 4 && (t6Options & kT4Uncompressed)) return false;
    if (photometric >= 2 || orientation >= 2 || samplesPerPixel >= 2) return false;
    return stripByteCountSum != 0;
}

int32_t TiffPageInfo::coding() const {
    switch (compression) {
        case 2: return int32_t(PageCoding::TiffMH);
        case 3: return int32_t((t4Options & kT4TwoDimensional) ? PageCoding::TiffG3MR : PageCoding::TiffG3);
        case 4: return int32_t(PageCoding::TiffG4);
        default: return int32_t(PageCoding::Bit);
    }
}

int32_t TiffPageInfo::dpi() const {
    int64_t d = 300;
    if (resolutionUnit == 2) d = xResolution;                  // inch
    else if (resolutionUnit == 3) d = xResolution * 254 / 100;  // centimetre
    return int32_t(std::clamp<int64_t>(d, INT32_MIN, INT32_MAX));
}

int32_t TiffPageInfo::rowDpi() const {
    if (yResolution <= 0 || (resolutionUnit != 2 && resolutionUnit != 3)) return dpi();
    const int64_t d = resolutionUnit == 2 ? yResolution : yResolution * 254 / 100;
    return int32_t(std::clamp<int64_t>(d, INT32_MIN, INT32_MAX));
}

bool TiffPageInfo::hasHalfVerticalResolution() const {
    // 204 x 98 and 200 x 100 dpi (and their metric forms) are standard fax
    // resolution; allow 10% for the rounding different programs apply.
    if (xResolution <= 0 || yResolution <= 0) return false;
    return std::llabs(2 * yResolution - xResolution) * 10 <= xResolution;
}

}  // namespace lumipage
