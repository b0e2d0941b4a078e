#pragma once
#include "document/PageCounter.h"

namespace lumipage {

class Messages;

// Counts the pages of a file with the reader of its type: page files by
// their PAGE line, .FAX files as one page, TIFF files by their directories,
// bitmaps of at most 8 bits per pixel as one page, books by their header.
class FilePageCounter : public PageCounter {
public:
    explicit FilePageCounter(Messages& messages) : messages_(messages) {}
    int countPages(const std::string& path) override;
    std::vector<PageWord> storedPageWords(const std::string& path, int count) override;

private:
    Messages& messages_;
};

}  // namespace lumipage
