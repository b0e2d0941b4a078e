#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lumipage {

class File;

// Random-access reads over an open TIFF file (or the same bytes held in
// memory). The first 512 bytes are kept from the start, because the header
// and the first directory usually lie there; everything else is served from
// one sliding window that starts a little before each request, so a
// directory's entries and the values they point at nearby cost one file read.
// 16- and 32-bit values are byte-swapped when the file is big-endian ("MM").
class TiffSource {
public:
    static constexpr size_t kHeadSize = 512;
    static constexpr size_t kMinWindow = 1024;
    static constexpr uint64_t kWindowBackOff = 256;

    // Takes the file's length and reads the head. The file (or the memory)
    // must outlive the source.
    bool attach(const File& file);
    bool attach(std::span<const uint8_t> data);

    uint64_t length() const { return length_; }
    void setBigEndian(bool bigEndian) { bigEndian_ = bigEndian; }
    bool bigEndian() const { return bigEndian_; }

    // n bytes at offset, valid until the next read; nothing when they lie
    // (partly) beyond the end of the file or cannot be read.
    std::optional<std::span<const uint8_t>> read(uint64_t offset, size_t n);
    // The same bytes, in a buffer the caller may change in place (the window
    // forgets them, so later reads fetch them again).
    std::optional<std::span<uint8_t>> readForChange(uint64_t offset, size_t n);
    // Straight into the caller's buffer, bypassing the caches (whole raw strips).
    bool readInto(uint64_t offset, std::span<uint8_t> into) const {
        return inFile(offset, into.size()) && fetch(offset, into);
    }

    // Typed reads in the file's byte order; 0 when the read fails.
    uint8_t u8(uint64_t offset);
    uint16_t u16(uint64_t offset);
    uint32_t u32(uint64_t offset);
    int8_t s8(uint64_t offset) { return int8_t(u8(offset)); }
    int16_t s16(uint64_t offset) { return int16_t(u16(offset)); }
    int32_t s32(uint64_t offset) { return int32_t(u32(offset)); }

    // Decoding of bytes already read, in the file's byte order.
    uint16_t get16(const uint8_t* p) const {
        return bigEndian_ ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
    }
    uint32_t get32(const uint8_t* p) const {
        return bigEndian_ ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                          : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }

private:
    bool inFile(uint64_t offset, size_t n) const { return offset <= length_ && n <= length_ - offset; }
    bool fill(uint64_t offset, size_t n);  // refills the window so that it covers [offset, offset + n)
    bool fetch(uint64_t offset, std::span<uint8_t> into) const;

    const File* file_ = nullptr;
    std::span<const uint8_t> memory_;
    uint64_t length_ = 0;
    bool bigEndian_ = false;
    std::vector<uint8_t> head_;
    std::vector<uint8_t> window_;
    uint64_t windowStart_ = 0;
    size_t windowLength_ = 0;
};

}  // namespace lumipage
