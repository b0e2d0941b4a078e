#include "image/BookHeader.h"

#include <algorithm>
#include <cstring>

#include "base/Messages.h"
#include "platform/File.h"

namespace lumipage {

namespace {

constexpr size_t kVersionAt = 13;
constexpr size_t kTextBytes = 17;  // magic, blank, version, NUL
constexpr int64_t kLowOffsetMask = 0xFFFFFFFF;

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint64_t le64(const uint8_t* p) { return uint64_t(le32(p)) | uint64_t(le32(p + 4)) << 32; }
void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
void put64(uint8_t* p, uint64_t v) {
    put32(p, uint32_t(v));
    put32(p + 4, uint32_t(v >> 32));
}
// Where an 8-byte offset points: its low 32 bits.
int64_t seekable(uint64_t offset) { return int64_t(offset & kLowOffsetMask); }

std::string textUpToNul(const uint8_t* p, size_t max) {
    const auto* end = std::find(p, p + max, uint8_t(0));
    return std::string(reinterpret_cast<const char*>(p), size_t(end - p));
}

}  // namespace

ReadError BookHeader::parse(std::span<const uint8_t> bytes, BookHeader& h) {
    if (bytes.size() < size_t(kSize) || std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0)
        return ReadError::BadBookHeader;
    // The version is compared as text: "2.10" and "2.2" are newer than "2.1".
    if (textUpToNul(bytes.data() + kVersionAt, kTextBytes - kVersionAt) > kVersion) return ReadError::NewerBook;
    const uint8_t* b = bytes.data();
    h.text = textUpToNul(b, kTextBytes);
    h.pages = le32(b + 28);
    h.wordTable = le64(b + 32);
    h.directory = le64(b + 40);
    h.comment = le64(b + 48);
    h.commentLength = le32(b + 56);
    h.pageStartPosition = b[60];
    return ReadError::None;
}

ReadError BookHeader::read(const File& file, BookHeader& header) {
    uint8_t head[kSize] = {};
    const int64_t got = file.readUpTo(0, head);
    return parse(std::span<const uint8_t>(head, size_t(std::max<int64_t>(got, 0))), header);
}

std::optional<BookHeader> BookHeader::parse(std::span<const uint8_t> bytes, Messages& messages) {
    BookHeader header;
    if (!sayReadError(messages, parse(bytes, header), {})) return std::nullopt;
    return header;
}

std::optional<BookHeader> BookHeader::read(const File& file, Messages& messages) {
    BookHeader header;
    if (!sayReadError(messages, read(file, header), {})) return std::nullopt;
    return header;
}

std::vector<uint8_t> BookHeader::bytes() const {
    std::vector<uint8_t> b(kSize, 0);
    std::memcpy(b.data(), kText.data(), kText.size());
    put32(&b[24], kSize);
    put32(&b[28], pages);
    put64(&b[32], wordTable);
    put64(&b[40], directory);
    put64(&b[48], comment);
    put32(&b[56], commentLength);
    b[60] = pageStartPosition;
    return b;
}

namespace book_file {

std::optional<std::string> readComment(const File& file, const BookHeader& header) {
    if (header.comment == 0 || header.commentLength == 0) return std::nullopt;
    const int64_t at = seekable(header.comment);
    // The length is believed only as far as the file reaches.
    if (at > file.size() || int64_t(header.commentLength) > file.size() - at) return std::nullopt;
    std::string text(header.commentLength, '\0');
    if (!file.readAt(at, std::span<uint8_t>(reinterpret_cast<uint8_t*>(text.data()), text.size())))
        return std::nullopt;
    return text;
}

}  // namespace book_file
}  // namespace lumipage
