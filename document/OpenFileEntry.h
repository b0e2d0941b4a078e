#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lumipage {

struct PageTable;

namespace crc32_detail {
constexpr std::array<uint32_t, 256> makeTable() {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[i] = c;
    }
    return t;
}
inline constexpr std::array<uint32_t, 256> kTable = makeTable();
}  // namespace crc32_detail

// CRC-32 of IEEE 802.3 (reflected polynomial 0xEDB88320, initial value
// 0xFFFFFFFF, final complement), used as a quick key for paths.
struct Crc32 {
    static constexpr uint32_t of(std::string_view bytes) {
        uint32_t crc = 0xFFFFFFFFu;
        for (const char c : bytes) crc = crc32_detail::kTable[(crc ^ uint8_t(c)) & 0xFF] ^ (crc >> 8);
        return ~crc;
    }
};

static_assert(Crc32::of("123456789") == 0xCBF43926u);  // the standard check value

// One opened file of the page list. Paths are compared exactly; the key
// makes most comparisons a single integer test.
struct OpenFileEntry {
    uint32_t key = 0;
    std::string path;
    int pages = 0;
    // Where counting found the pages, kept for opening the file (may be null).
    std::shared_ptr<const PageTable> table;

    OpenFileEntry() = default;
    OpenFileEntry(std::string p, int n, std::shared_ptr<const PageTable> t = nullptr)
        : key(Crc32::of(p)), path(std::move(p)), pages(n), table(std::move(t)) {}
    bool is(std::string_view other) const { return key == Crc32::of(other) && path == other; }
};

}  // namespace lumipage
