#pragma once
#include <memory>
#include <string>

namespace lumipage {

class CDIB;
class Messages;
class PageRaster;

// The document's readers for TIFF files and bitmaps: a TIFF keeps its table
// of page directories between pages, a bitmap its pixels, so they live as
// long as the file is loaded.
class ImageFileReaders {
public:
    ImageFileReaders();
    ~ImageFileReaders();
    ImageFileReaders(const ImageFileReaders&) = delete;
    ImageFileReaders& operator=(const ImageFileReaders&) = delete;

    static int countTiffPages(const std::string& path);
    // 1 for a bitmap of at most 8 bits per pixel, else 0.
    static int countBitmapPages(const std::string& path);

    // Opens a TIFF file; its page count, 0 on failure (the reader says why).
    int openTiff(const std::string& path, Messages& messages);
    bool loadTiffPage(int page, PageRaster& raster, bool ignoreBlackIsZero, Messages& messages);
    // Reads a bitmap and makes its page.
    bool loadBitmap(const std::string& path, PageRaster& raster, Messages& messages);
    void close();
    // The bitmap the last bitmap page was read from.
    const CDIB& bitmap() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lumipage
