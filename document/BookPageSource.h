#pragma once
#include <vector>

#include "document/BookFile.h"
#include "document/PageSource.h"
#include "image/PageDecoder.h"
#include "platform/File.h"

namespace lumipage {

// A book: a header, a directory of paper records and the stored page words.
// Opening also gives the book's embedded comment to its comment file when
// the book has none beside it yet.
class BookPageSource final : public PageSource {
public:
    FileCount count(const std::string& path, Messages& messages) override;
    std::vector<PageWord> storedPageWords(const std::string& path, int count, Messages& messages) override;
    bool open(const std::string& path, const PageTable* counted, int firstPage, PageRaster& raster,
              Messages& messages) override;
    int pages() const override { return int(directory_.size()); }
    ReadError loadPage(int page, PageRaster& raster, const Settings& settings) override;
    std::string bookHeaderText() const override { return headerText_; }
    std::optional<int> pageStartPosition() const override { return pageStartPosition_; }

private:
    File file_;
    std::vector<BookDirectoryEntry> directory_;
    std::string headerText_;
    std::optional<int> pageStartPosition_;
    PageDecoder decoder_;
};

}  // namespace lumipage
