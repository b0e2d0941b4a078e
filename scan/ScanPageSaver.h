#pragma once
#include <cstdint>
#include <string>

namespace lumipage {

class Messages;
class PageRaster;

// Writes a scanned page as a file of the type its extension names: ".TIF"
// a TIFF file, ".BMP" a bitmap, ".MH"/".BW" variants a page file. The file
// appears under its name only when it is complete; a failed write leaves
// whatever was there before.
class ScanPageSaver {
public:
    static constexpr const char* kSaveFailed = "ファイルの書き込みに失敗しました";

    // The concrete path for a target whose type is given as ".MH*": the MH
    // extension from the page's resolution; other paths stay as they are.
    static std::string concretePath(const std::string& target, int dpi);

    // The coding a saved page has in its file, as a reader's raster carries it.
    static int32_t storedCoding(const std::string& path);

    static bool save(const std::string& path, const PageRaster& page, Messages& messages);
};

}  // namespace lumipage
