#include "document/BookFile.h"

#include <algorithm>
#include <cstring>

#include "base/Messages.h"
#include "platform/File.h"

namespace lumipage {

namespace {

constexpr int64_t kLowOffsetMask = 0xFFFFFFFF;

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
// Where an 8-byte offset points: its low 32 bits.
int64_t seekable(uint64_t offset) { return int64_t(offset & kLowOffsetMask); }

std::string textUpToNul(const uint8_t* p, size_t max) {
    const auto* end = std::find(p, p + max, uint8_t(0));
    return std::string(reinterpret_cast<const char*>(p), size_t(end - p));
}

}  // namespace

namespace book_file {

int countPages(const std::string& path, Messages& messages) {
    File file;
    if (!file.open(path, File::Mode::Read)) return 0;  // a missing file simply has no pages
    const auto header = BookHeader::read(file, messages);
    return header ? int(std::min<uint32_t>(header->pages, INT32_MAX)) : 0;
}

std::vector<PageWord> readPageWords(const File& file, const BookHeader& header, int count) {
    std::vector<PageWord> words;
    if (header.wordTable == 0 || count <= 0) return words;
    const int wanted = int(std::min<int64_t>(count, header.pages));
    std::vector<uint8_t> raw(size_t(wanted) * 2);
    const int64_t got = file.readUpTo(seekable(header.wordTable), raw);
    for (int64_t i = 0; i + 1 < got; i += 2)
        words.push_back(PageWord{uint16_t(raw[size_t(i)] | raw[size_t(i) + 1] << 8)});
    return words;
}

std::optional<std::vector<BookDirectoryEntry>> readDirectory(const File& file, const BookHeader& header, int pages) {
    if (header.directory == 0 || pages < 0) return std::nullopt;
    std::vector<uint8_t> raw(size_t(pages) * BookHeader::kDirectoryEntrySize);
    if (!file.readAt(seekable(header.directory), raw)) return std::nullopt;
    std::vector<BookDirectoryEntry> entries(static_cast<size_t>(pages));
    for (size_t i = 0; i < entries.size(); ++i) {
        const uint8_t* e = &raw[i * BookHeader::kDirectoryEntrySize];
        entries[i].offset = le32(e);
        entries[i].type = textUpToNul(e + 12, 4);
    }
    return entries;
}

}  // namespace book_file
}  // namespace lumipage
