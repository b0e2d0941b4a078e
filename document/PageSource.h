#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/FileTypeCode.h"
#include "document/PageWord.h"
#include "image/ReadError.h"
#include "platform/FileSystem.h"

namespace lumipage {

class CDIB;
class Messages;
class PageRaster;
struct Settings;

// What counting a file leaves for its opening: the places of its pages (a
// TIFF's page directories) and the stamp of the file they were found in. A
// file rewritten in between has another stamp, and is walked again.
struct PageTable {
    files::Stamp stamp;
    std::vector<uint32_t> directories;
};

// A file's pages as the page list counts them.
struct FileCount {
    int pages = 0;
    std::shared_ptr<const PageTable> table;  // null where opening finds the pages itself
};

// How often the sources made for a document walked a file's page directories:
// a diagnostic the document and the page list may share.
struct PageSourceStats {
    int directoryWalks = 0;
};

// One kind of file as the program reads pages from it: its pages counted,
// the file opened, page N decoded into a raster. One class for each kind
// (TIFF, bitmap, page file, .FAX, book); makePageSource chooses.
class PageSource {
public:
    virtual ~PageSource() = default;

    // For the page list: the number of pages, 0 when the file cannot be read
    // or holds none (then nothing is said, but a damaged book's header).
    virtual FileCount count(const std::string& path, Messages& messages) = 0;
    // A book's stored page words, up to `count`; nothing for other files.
    virtual std::vector<PageWord> storedPageWords(const std::string&, int, Messages&) { return {}; }

    // Opens the file to show its pages; `counted` is what counting left, or
    // null. `firstPage` is the page list's number of its first page (a book
    // holds at most what still fits). False when it cannot be read (said why).
    virtual bool open(const std::string& path, const PageTable* counted, int firstPage, PageRaster& raster,
                      Messages& messages) = 0;
    // Pages of the opened file.
    virtual int pages() const = 0;
    // Decodes page 1..pages() into the raster; what went wrong, if anything.
    virtual ReadError loadPage(int page, PageRaster& raster, const Settings& settings) = 0;

    // The title a page file's header holds; empty for other files.
    virtual std::string storedTitle() const { return {}; }
    // The bitmap a .BMP page was read from, kept to be saved unchanged.
    virtual const CDIB* sourceBitmap() const { return nullptr; }
    // A book's header text ("LumipageBook 2.1") and where it puts its pages on the screen.
    virtual std::string bookHeaderText() const { return {}; }
    virtual std::optional<int> pageStartPosition() const { return std::nullopt; }

    void setStats(PageSourceStats* stats) { stats_ = stats; }

protected:
    void countWalk() {
        if (stats_) ++stats_->directoryWalks;
    }

private:
    PageSourceStats* stats_ = nullptr;
};

// The source for a kind of file; null for kinds that are not read (PDF, unknown).
std::unique_ptr<PageSource> makePageSource(FileTypeCode type, PageSourceStats* stats = nullptr);

}  // namespace lumipage
