#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace lumipage::test {

// Builds TIFF files byte by byte, for files no TIFF library would write:
// damaged, looping, oddly typed or ordered directories.
class TiffBuilder {
public:
    struct Entry {
        uint16_t tag;
        uint16_t type;                 // 3 SHORT, 4 LONG, 5 RATIONAL (values in pairs)
        std::vector<uint32_t> values;  // count = values.size() (halved for rationals)
        uint32_t count = 0;            // when non-zero: the count written instead
    };

    explicit TiffBuilder(bool bigEndian = false);

    // Appends bytes, returns their offset.
    uint32_t addData(const std::vector<uint8_t>& data);
    // Appends a directory (and the values that do not fit in its entries), returns its offset.
    uint32_t addIfd(const std::vector<Entry>& entries, uint32_t next = 0);
    void setFirstIfd(uint32_t offset) { put32(4, offset); }
    void setNextIfd(uint32_t ifd, uint32_t next);
    // Pads the file with zeros up to `size` bytes.
    void padTo(uint32_t size);
    uint32_t size() const { return uint32_t(bytes.size()); }

    std::vector<uint8_t> bytes;

    bool save(const std::string& path) const;
    void put16(uint32_t at, uint32_t v);
    void put32(uint32_t at, uint32_t v);

private:
    bool big_;
};

// The usual entries of an uncompressed bilevel page with one strip.
std::vector<TiffBuilder::Entry> rawPageEntries(uint32_t width, uint32_t height, uint32_t stripOffset,
                                               uint32_t byteCount);

}  // namespace lumipage::test
