#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/PageRaster.h"

namespace lumipage {

class File;
class Messages;

// Steps shared by the readers that decode a page into the document's raster.
namespace page_loading {

// Size check, then a fresh zero-filled buffer of imageSize + spare bytes.
// Says the size or memory message itself; the size message names the file.
bool prepareRaster(const File& file, PageRaster& raster, Messages& messages);

// Reads the coded data from offset to `end` (exclusive), at most `limit`
// bytes of it. False (with the read-error message) when the range is empty or
// runs past the end of the file.
bool readCoded(const File& file, int64_t offset, int64_t end, size_t limit, std::vector<uint8_t>& out,
               Messages& messages);

// The most coded bytes a page of this raster can need: anything beyond is
// never decoded, so it is never read. Generous for every coding.
size_t codedLimit(const PageRaster& raster);

inline constexpr const char* kReadError = "データリードエラー";
inline constexpr const char* kNoMemory = "メモリー不足のため読み込めません";
inline constexpr const char* kLoadFailed = "Failed to load file";

}  // namespace page_loading
}  // namespace lumipage
