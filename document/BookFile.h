#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/PageWord.h"
#include "image/BookHeader.h"

namespace lumipage {

class File;
class Messages;

struct BookDirectoryEntry {
    uint32_t offset = 0;
    std::string type;  // "LPP" for a paper record
};

// Reading the parts of a book.
namespace book_file {

// The page count of the header, 0 (with the message) when it is refused.
int countPages(const std::string& path, Messages& messages);
// min(count, n) page words from the table; fewer when the table is cut short.
std::vector<PageWord> readPageWords(const File& file, const BookHeader& header, int count);
// The first `pages` directory entries; nothing when there is no directory or it is cut short.
std::optional<std::vector<BookDirectoryEntry>> readDirectory(const File& file, const BookHeader& header, int pages);
}  // namespace book_file
}  // namespace lumipage
