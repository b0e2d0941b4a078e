#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/PageDecoder.h"
#include "image/ReadError.h"
#include "image/TiffHeader.h"
#include "image/TiffSource.h"
#include "platform/File.h"

namespace lumipage {

class Messages;
class PageRaster;
struct TiffPageInfo;

struct TiffReadOptions {
    // Show BlackIsZero pages as stored instead of turning their ink black.
    bool ignoreBlackIsZero = false;
};

// A TIFF file opened as a document of bilevel pages. Opening walks the whole
// chain of image file directories once into a table of page directories;
// loading a page parses its directory again, checks it and decodes its strips
// into a page raster.
class TiffReader {
public:
    static constexpr int kMaxPages = 10000;
    // Directories walked at most: a chain of thumbnails, masks or refused
    // directories cannot keep the walk going for ever.
    static constexpr int kMaxDirectories = 4 * kMaxPages;

    // `knownPages`: the page directories an earlier walk of this same file
    // found (pageDirectoriesOf), taken instead of walking the chain again.
    ReadError open(const std::string& path, const std::vector<uint32_t>* knownPages = nullptr);
    // The same over bytes in memory, shown under `name`; they must outlive the reader.
    ReadError open(std::span<const uint8_t> data, const std::string& name);
    // The same, saying what went wrong through `messages`.
    bool open(const std::string& path, Messages& messages) { return sayReadError(messages, open(path), path); }
    bool open(std::span<const uint8_t> data, const std::string& name, Messages& messages) {
        return sayReadError(messages, open(data, name), name);
    }
    void close();

    const TiffHeader& header() const { return header_; }
    int pageCount() const { return int(pages_.size()); }
    // The directory offset of page 1..pageCount(), 0 where the file has none.
    uint32_t pageOffset(int page) const;

    // Decodes page 1..pageCount() into the raster. A page number outside the
    // file is NoSuchPage too, but a caller that asks for one is told nothing.
    ReadError loadPage(int page, PageRaster& raster, const TiffReadOptions& options);
    // The same, saying what went wrong through `messages`.
    bool loadPage(int page, PageRaster& raster, const TiffReadOptions& options, Messages& messages);

    // The number of pages of a TIFF file, 0 when it cannot be read as one.
    static int countPages(const std::string& path);
    // The directory offset of every page, as opening finds them; nothing
    // when the file cannot be read as a TIFF.
    static std::optional<std::vector<uint32_t>> pageDirectoriesOf(const std::string& path);
    const std::vector<uint32_t>& pageDirectories() const { return pages_; }

private:
    bool start(const std::vector<uint32_t>* knownPages = nullptr);
    void walkDirectories();
    bool readStrips(const TiffPageInfo& info, PageRaster& raster);
    bool readSingleStrip(const TiffPageInfo& info, PageRaster& raster);
    bool readStripArrays(const TiffPageInfo& info, std::vector<int64_t>& offsets, std::vector<int64_t>& counts);
    bool readRawStrips(const TiffPageInfo& info, PageRaster& raster);
    bool decodeStrips(const TiffPageInfo& info, PageRaster& raster);
    // A strip's bytes, bit-reversed when the file stores them least significant bit first.
    std::optional<std::span<const uint8_t>> codedStrip(const TiffPageInfo& info, int64_t offset, uint64_t length);
    static void doubleRows(PageRaster& raster);

    File file_;
    TiffSource source_;
    TiffHeader header_;
    std::string name_;
    std::vector<uint32_t> pages_;
    PageDecoder decoder_;
};

}  // namespace lumipage
