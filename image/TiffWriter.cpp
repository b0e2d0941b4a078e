#include "image/TiffWriter.h"

#include <array>
#include <new>

#include "platform/File.h"

namespace lumipage {

namespace {

// TIFF 6.0 tags and field types used here.
enum Tag : uint16_t {
    NewSubfileType = 254,
    ImageWidth = 256,
    ImageLength = 257,
    BitsPerSample = 258,
    Compression = 259,
    PhotometricInterpretation = 262,
    StripOffsets = 273,
    RowsPerStrip = 278,
    StripByteCounts = 279,
    XResolution = 282,
    YResolution = 283,
    T4Options = 292,
    T6Options = 293,
    ResolutionUnit = 296,
};
enum FieldType : uint16_t { Short = 3, Long = 4, Rational = 5 };

constexpr size_t kFileHeaderSize = 8;
constexpr size_t kEntrySize = 12;
constexpr uint32_t kPhotometricWhiteIsZero = 0;
constexpr uint32_t kSubfilePageOfMany = 2;
constexpr uint32_t kResolutionUnitNone = 1;
constexpr uint32_t kResolutionUnitInch = 2;

// The compression and its options tag: T4Options for G3 (bit 0: two-
// dimensional coding), T6Options for G4, none for the others (the tags
// belong to those two codings only, and readers warn about them elsewhere).
struct CompressionTags {
    uint32_t compression;
    uint16_t optionsTag;  // 0: none
    uint32_t options;
};

CompressionTags compressionOf(int32_t coding) {
    switch (PageCoding(coding)) {
        case PageCoding::TiffNone: return {1, 0, 0};
        case PageCoding::TiffMH: return {2, 0, 0};
        case PageCoding::TiffG3: return {3, T4Options, 0};
        case PageCoding::TiffG3MR: return {3, T4Options, 1};
        default: return {4, T6Options, 0};
    }
}

// One IFD being laid out in a byte buffer.
class IfdBuilder {
public:
    explicit IfdBuilder(std::span<uint8_t> block) : block_(block) {}

    void put16(size_t at, uint32_t v) {
        block_[at] = uint8_t(v);
        block_[at + 1] = uint8_t(v >> 8);
    }
    void put32(size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    }
    void entry(uint16_t tag, FieldType type, uint32_t value) {
        const size_t at = 2 + kEntrySize * entries_++;
        put16(at, tag);
        put16(at + 2, type);
        put32(at + 4, 1);
        if (type == Short)
            put16(at + 8, value);  // a SHORT sits in the first two bytes of the value field
        else
            put32(at + 8, value);
    }
    size_t entries() const { return entries_; }

private:
    std::span<uint8_t> block_;
    size_t entries_ = 0;
};

// Lays out an IFD at `block` (placed at file offset `blockOffset`): entry
// count, entries, next-IFD offset, then the two resolutions; the rest of
// the block stays zero. Returns where in the block the next-IFD offset is.
size_t layOutIfd(std::span<uint8_t> block, uint32_t blockOffset, const PageToEncode& page, uint32_t dataOffset,
               uint32_t dataSize, int dpi, int rowDpi, const uint32_t* subfileType, uint32_t nextIfd) {
    IfdBuilder ifd(block);
    const CompressionTags tags = compressionOf(page.coding);
    const uint32_t entryCount = 11 + (subfileType ? 1 : 0) + (tags.optionsTag ? 1 : 0);
    const size_t nextAt = 2 + kEntrySize * entryCount;
    const size_t xResolutionAt = nextAt + 4;
    const size_t yResolutionAt = xResolutionAt + 8;
    const uint32_t resolution = dpi > 0 ? uint32_t(dpi) : 0;
    const uint32_t rowResolution = resolution && rowDpi > 0 ? uint32_t(rowDpi) : resolution;
    ifd.put16(0, entryCount);
    if (subfileType) ifd.entry(NewSubfileType, Long, *subfileType);
    ifd.entry(ImageWidth, Short, uint32_t(page.width));
    ifd.entry(ImageLength, Short, uint32_t(page.height));
    ifd.entry(BitsPerSample, Short, 1);
    ifd.entry(Compression, Short, tags.compression);
    ifd.entry(PhotometricInterpretation, Short, kPhotometricWhiteIsZero);
    ifd.entry(StripOffsets, Long, dataOffset);
    ifd.entry(RowsPerStrip, Long, uint32_t(page.height));
    ifd.entry(StripByteCounts, Long, dataSize);
    ifd.entry(XResolution, Rational, blockOffset + uint32_t(xResolutionAt));
    ifd.entry(YResolution, Rational, blockOffset + uint32_t(yResolutionAt));
    if (tags.optionsTag) ifd.entry(tags.optionsTag, Long, tags.options);
    ifd.entry(ResolutionUnit, Short, resolution ? kResolutionUnitInch : kResolutionUnitNone);
    ifd.put32(nextAt, nextIfd);
    ifd.put32(xResolutionAt, resolution);
    ifd.put32(xResolutionAt + 4, 1);
    ifd.put32(yResolutionAt, rowResolution);
    ifd.put32(yResolutionAt + 4, 1);
    return nextAt;
}

// "II", 42, and the first IFD right after the header.
std::array<uint8_t, kFileHeaderSize> fileHeader() { return {'I', 'I', 42, 0, uint8_t(kFileHeaderSize), 0, 0, 0}; }

}  // namespace

int32_t TiffWriter::codingForSetting(int setting) {
    return setting >= int(PageCoding::TiffNone) && setting <= int(PageCoding::TiffG4) ? setting
                                                                                       : int32_t(PageCoding::TiffG4);
}

std::span<const uint8_t> TiffWriter::codePage(const PageToEncode& page) {
    if (!page.isValid()) return {};
    if (page.coding == int32_t(PageCoding::TiffNone))
        return {page.bits, size_t(page.bytesPerRow) * size_t(page.height)};
    const size_t size = PageEncoder::bufferSize(page);
    try {
        if (buffer_.size() < size) buffer_.resize(size);
    } catch (const std::bad_alloc&) {
        return {};
    }
    const size_t n = encoder_.encodePage(buffer_, page);
    return {buffer_.data(), n};
}

WriteResult TiffWriter::writeSinglePage(File& file, const PageRaster& raster, int codingSetting) {
    const PageToEncode page = PageToEncode::of(raster).withCoding(codingForSetting(codingSetting));
    const std::span<const uint8_t> data = codePage(page);
    if (data.empty() || data.size() > UINT32_MAX - kSinglePageHeaderSize) return WriteError::PageNotWritable;
    std::array<uint8_t, kSinglePageHeaderSize> header{};
    const auto start = fileHeader();
    std::copy(start.begin(), start.end(), header.begin());
    layOutIfd(std::span(header).subspan(kFileHeaderSize), kFileHeaderSize, page, kSinglePageHeaderSize,
              uint32_t(data.size()), raster.dpi, raster.rowResolution(), nullptr, 0);
    return written(file.writeAt(0, header) && file.writeAt(kSinglePageHeaderSize, data));
}

WriteResult TiffWriter::beginMultiPage(File& file, int plannedPages) {
    plannedPages_ = plannedPages;
    pagesWritten_ = 0;
    nextBlock_ = kFileHeaderSize;
    lastBlock_ = -1;
    if (plannedPages <= 0) return WriteError::NothingWritten;
    return written(file.writeAt(0, fileHeader()));
}

WriteResult TiffWriter::appendPage(File& file, const PageRaster& raster, int codingSetting) {
    if (pagesWritten_ >= kMaxPages || pagesWritten_ >= plannedPages_) return WriteError::PageNotWritable;
    const PageToEncode page = PageToEncode::of(raster).withCoding(codingForSetting(codingSetting));
    const std::span<const uint8_t> data = codePage(page);
    const int64_t blockOffset = nextBlock_;
    const int64_t end = blockOffset + int64_t(kPageBlockSize) + int64_t(data.size());
    if (data.empty() || end > int64_t(UINT32_MAX)) return WriteError::PageNotWritable;
    const bool lastPlanned = pagesWritten_ + 1 == plannedPages_;
    const uint32_t subfileType = plannedPages_ > 1 ? kSubfilePageOfMany : 0;
    std::array<uint8_t, kPageBlockSize> block{};
    const size_t nextAt = layOutIfd(block, uint32_t(blockOffset), page, uint32_t(blockOffset + kPageBlockSize), uint32_t(data.size()),
              raster.dpi, raster.rowResolution(), &subfileType, lastPlanned ? 0 : uint32_t(end));
    if (!file.writeAt(blockOffset, block) || !file.writeAt(blockOffset + int64_t(kPageBlockSize), data))
        return WriteError::WriteFailed;
    lastBlock_ = blockOffset;
    lastNextPointer_ = int64_t(nextAt);
    nextBlock_ = end;
    ++pagesWritten_;
    return {};
}

WriteResult TiffWriter::finishMultiPage(File& file) {
    if (lastBlock_ < 0) return WriteError::NothingWritten;
    if (pagesWritten_ == plannedPages_) return {};
    const std::array<uint8_t, 4> zero{};
    return written(file.writeAt(lastBlock_ + lastNextPointer_, zero));
}

}  // namespace lumipage
