#pragma once
#include "document/PageCounter.h"

namespace lumipage {

class Messages;

// Counts the pages of a file with the page source of its type: page files
// by their PAGE line, .FAX files as one page, TIFF files by their
// directories, bitmaps of at most 8 bits per pixel as one page, books by
// their header.
class FilePageCounter : public PageCounter {
public:
    explicit FilePageCounter(Messages& messages) : messages_(messages) {}
    FileCount count(const std::string& path) override;
    std::vector<PageWord> storedPageWords(const std::string& path, int count) override;
    // Where the sources made for counting report their directory walks.
    void setStats(PageSourceStats* stats) { stats_ = stats; }

private:
    Messages& messages_;
    PageSourceStats* stats_ = nullptr;
};

}  // namespace lumipage
