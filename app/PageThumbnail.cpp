#include "app/PageThumbnail.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "app/CommandLine.h"
#include "base/Messages.h"
#include "base/Settings.h"
#include "comments/FileKind.h"
#include "document/CLP98Doc.h"
#include "document/FilePageCounter.h"
#include "document/OpenFileTable.h"
#include "image/CDIB.h"
#include "image/PngWriter.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "view/DisplayGeometry.h"
#include "image/PageOrientation.h"
#include "view/PageRenderer.h"
#include "view/ZoomLevels.h"

namespace lumipage {

namespace {

// The view's value of one display pixel: the ink count of its block.
int displayValue(const CDIB& bitmap, int x, int y) {
    const uint8_t* row = bitmap.rowAddress(y);
    switch (bitmap.bitsPerPixel()) {
        case 1: return row[x / 8] >> (7 - x % 8) & 1;
        case 4: return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15;
        default: return row[x];
    }
}

// Thumbnails larger than this are no previews.
constexpr int kLargestSize = 4096;

// The largest zoom level at which the whole page fits into size x size.
int levelFitting(const PageRaster& page, int size) {
    for (int level = zoom::kLevels - 1; level > 0; --level) {
        const DisplayGeometry g = DisplayGeometry::forPage(page, level);
        if (g.displayWidth <= size && g.displayHeight <= size) return level;
    }
    return 0;
}

}  // namespace

bool makePageThumbnail(const std::string& path, int size, Messages& messages, GreyPicture& picture) {
    if (size <= 0) return false;
    FilePageCounter counter(messages);
    OpenFileTable table(counter);
    Settings settings;
    const StartupRequest request;
    CLP98Doc doc(table, settings, request, messages);
    if (fileKindOf(path) == FileKind::Index) doc.index().read(files::absolutePath(path), true);
    else doc.addByName(path);
    if (table.empty() || !doc.goToPage(1) || !doc.raster().hasBits()) return false;

    PageOrientation orientation;
    orientation.showPage(&doc.raster(), table.word(1).transform());
    const PageRaster* shown = orientation.displayed();
    if (!shown || !shown->hasBits()) return false;

    const DisplayGeometry g = DisplayGeometry::forPage(*shown, levelFitting(*shown, size));
    CDIB bitmap;
    PageRenderer renderer;
    if (!bitmap.create(g.displayWidth, g.displayHeight, g.bitsPerPixel, 0) || !renderer.render(*shown, g, bitmap))
        return false;
    // The whole-byte levels may reach a few pixels past the page's right edge.
    const int width = std::min(g.displayWidth, std::max(1, int((int64_t(shown->width) * 10 + g.divisor - 1) / g.divisor)));
    picture.width = width;
    picture.height = g.displayHeight;
    picture.pixels.assign(size_t(width) * size_t(g.displayHeight), 255);
    const int most = g.colours - 1;
    for (int y = 0; y < g.displayHeight; ++y) {
        uint8_t* out = picture.pixels.data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) out[x] = uint8_t(255 - std::min(displayValue(bitmap, x, y), most) * 255 / most);
    }
    return true;
}

int runThumbnailCommand(int argc, const char* const* args) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lumipage-thumbnailer INPUT OUTPUT.png SIZE\n");
        return 2;
    }
    char* end = nullptr;
    const long size = std::strtol(args[2], &end, 10);
    if (end == args[2] || *end != '\0' || size <= 0 || size > kLargestSize) {
        std::fprintf(stderr, "lumipage: SIZE must be 1 to %d\n", kLargestSize);
        return 2;
    }
    StderrMessages messages;
    GreyPicture picture;
    if (!makePageThumbnail(args[0], int(size), messages, picture)) return 1;
    const std::vector<uint8_t> png = greyPng(picture.width, picture.height, picture.pixels.data());
    if (png.empty() || !writeFileAtomically(args[1], png)) {
        std::fprintf(stderr, "lumipage: cannot write %s\n", args[1]);
        return 1;
    }
    return 0;
}

}  // namespace lumipage
