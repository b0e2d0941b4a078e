// Lumipage. Until the window exists, the program lists what the given files
// hold: their kind, pages, and each page's size, resolution and coding.
#include <cstdio>
#include <string>

#include "app/BatchMode.h"
#include "app/Messages.h"
#include "document/FileTypeCode.h"
#include "image/FaxPageFile.h"
#include "image/LpPageFile.h"
#include "image/MHDecoder.h"
#include "platform/File.h"

using namespace lumipage;

namespace {

const char* codingName(int32_t coding) {
    switch (coding) {
        case 0: return "raw rows";
        case 1: return "tagged MH rows";
        case 2: return "T.4 one-dimensional (fax file)";
        case 11: return "TIFF modified Huffman";
        case 12: return "TIFF T.4 one-dimensional";
        case 13: return "TIFF T.4 two-dimensional";
        case 14: return "TIFF T.6";
        default: return "other";
    }
}

void describePage(int page, const PageRaster& raster) {
    size_t ink = 0;
    for (size_t i = 0, n = size_t(raster.height) * raster.bytesPerRow; i < n; ++i)
        ink += size_t(__builtin_popcount(raster.bits()[i]));
    const double share = 100.0 * double(ink) / (double(raster.width) * double(raster.height));
    std::printf("  page %d: %d x %d pixels, %d dpi, %s%s, %.1f%% ink\n", page, raster.width, raster.height,
                raster.dpi, codingName(raster.coding), raster.lineDoubling ? " (rows doubled)" : "", share);
}

int describe(const std::string& path, Messages& messages) {
    File file;
    if (!file.open(path, File::Mode::Read)) {
        messages.message(path + "が見つかりません");
        return 1;
    }
    MHDecoder decoder;
    PageRaster raster;
    switch (fileTypeOf(path)) {
        case FileTypeCode::PageFileBW:
        case FileTypeCode::PageFileMH: {
            LpPageFile::Header header;
            if (!LpPageFile::open(file, header, raster, messages)) return 1;
            std::printf("%s: page file \"%s\", %d page(s)\n", path.c_str(), header.title.c_str(), header.pageCount);
            for (int p = 1; p <= header.pageCount; ++p)
                if (LpPageFile::loadPage(file, header, p, raster, decoder, messages)) describePage(p, raster);
            return 0;
        }
        case FileTypeCode::Fax:
            if (!FaxPageFile::open(file, raster, messages)) return 1;
            std::printf("%s: fax file, 1 page\n", path.c_str());
            if (FaxPageFile::loadPage(file, raster, decoder, messages)) describePage(1, raster);
            return 0;
        case FileTypeCode::Unsupported:
            messages.message(path + "\n" + kUnsupportedFileType);
            return 1;
        default:
            std::printf("%s: %s\n", path.c_str(), "not yet shown by this build");
            return 0;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto batch = runBatchFromCommandLine(argc, argv)) return *batch;
    StderrMessages messages;
    int status = 0;
    for (int i = 1; i < argc; ++i) status |= describe(argv[i], messages);
    return status;
}
