#pragma once
#include <string>

#include "image/ReadError.h"

namespace lumipage {

class CDIB;
class Messages;
class PageRaster;

// .BMP and .DIB files as one-page documents: the bitmap is read into a CDIB,
// kept as the page's source, and turned into a page raster (1 = ink); a page
// is saved as a 1-bit bitmap.
class BmpFile {
public:
    // Reads the file into `bitmap` and the page into `raster`. On failure the
    // bitmap is left as it was, and so is the raster unless it was replaced.
    static ReadError loadPage(const std::string& path, CDIB& bitmap, PageRaster& raster);
    // The same, saying what went wrong through `messages`.
    static bool loadPage(const std::string& path, CDIB& bitmap, PageRaster& raster, Messages& messages);
    // Makes the raster (coding 0, new buffer) from a bitmap of 1, 4 or 8 bits
    // per pixel: 1-bit pixels are taken as they are, turned over when the
    // first colour is the darker one; 4- and 8-bit pixels are ink when their
    // index lies in the lower half of the colour table.
    static bool pageFromBitmap(const CDIB& bitmap, PageRaster& raster);
    // A 1-bit bitmap (entry 0 black, entry 1 white) of the page.
    static bool bitmapFromPage(const PageRaster& raster, CDIB& bitmap);
    // Writes `kept` unchanged when the page came from a bitmap, else the page.
    static bool savePage(const std::string& path, const PageRaster& raster, const CDIB* kept, Messages& messages);
    // 1 when the file's header and colour table can be read and it has at
    // most 8 bits per pixel, else 0.
    static int countPages(const std::string& path);
};

}  // namespace lumipage
