#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/ReadError.h"

namespace lumipage {

class File;
class Messages;

// A book file (.LPB): many pages with their page words and one comment.
// All numbers little-endian; only the low 32 bits of the 8-byte offsets are
// used for seeking, the high ones count only in the test for zero.
//
//   0   17  "LumipageBook 2.1" NUL (magic, blank, version text at 13)
//   24   4  64                    28  4  number of pages n
//   32   8  page-word table (64)  40  8  page directory (64 + 2n)
//   48   8  comment text, 0 none  56  4  comment length
//   60   1  page start position
//   64      n page words, then n directory entries of 16 bytes
//           (offset 8, record header size 72, "LPP" NUL), then the paper
//           records from 64 + 18n, then the comment text
struct BookHeader {
    static constexpr int kSize = 64;
    static constexpr std::string_view kMagic = "LumipageBook";
    static constexpr std::string_view kVersion = "2.1";
    static constexpr std::string_view kText = "LumipageBook 2.1";
    static constexpr int kDirectoryEntrySize = 16;
    static constexpr uint32_t kRecordHeaderSize = 72;

    uint32_t pages = 0;
    uint64_t wordTable = 0;
    uint64_t directory = 0;
    uint64_t comment = 0;
    uint32_t commentLength = 0;
    uint8_t pageStartPosition = 0;
    std::string text;  // the magic and version as the file has them, for the book information

    // Checks the magic and the version: BadBookHeader or NewerBook when the header is refused.
    static ReadError parse(std::span<const uint8_t> bytes, BookHeader& header);
    static ReadError read(const File& file, BookHeader& header);
    // The same, saying why a header is refused.
    static std::optional<BookHeader> parse(std::span<const uint8_t> bytes, Messages& messages);
    static std::optional<BookHeader> read(const File& file, Messages& messages);
    std::vector<uint8_t> bytes() const;
};

namespace book_file {

inline constexpr const char* kBadHeader = "ヘッダデータが不正です";
inline constexpr const char* kNewerVersion = "このﾌﾞｯｸﾌｧｲﾙを開くためは、\n新しいﾊﾞｰｼﾞｮﾝのｿﾌﾄｳｪｱが必要です";

// The embedded comment's code page 932 bytes; nothing when there is none or it lies past the end.
std::optional<std::string> readComment(const File& file, const BookHeader& header);

}  // namespace book_file
}  // namespace lumipage
