#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/PageRaster.h"
#include "image/ReadError.h"

namespace lumipage {

class File;

// Steps shared by the readers that decode a page into the document's raster.
namespace page_loading {

// Size check, then a cleared buffer of imageSize + spare bytes.
ReadError prepareRaster(PageRaster& raster);

// Reads the coded data from offset to `end` (exclusive), at most `limit`
// bytes of it. DataRead when the range is empty or runs past the end of the file.
ReadError readCoded(const File& file, int64_t offset, int64_t end, size_t limit, std::vector<uint8_t>& out);

// The most coded bytes a page of this raster can need: anything beyond is
// never decoded, so it is never read. Generous for every coding.
size_t codedLimit(const PageRaster& raster);


}  // namespace page_loading
}  // namespace lumipage
