#include "document/ImageFileReaders.h"

#include "app/Messages.h"
#include "document/FileTypeCode.h"

namespace lumipage {

// TIFF and BMP reading connect here (TiffReader, BmpFile and CDIB); until
// they do, both types are refused as unsupported.
struct ImageFileReaders::State {};

ImageFileReaders::ImageFileReaders() : state_(std::make_unique<State>()) {}
ImageFileReaders::~ImageFileReaders() = default;

int ImageFileReaders::countTiffPages(const std::string&) { return 0; }
int ImageFileReaders::countBitmapPages(const std::string&) { return 0; }

int ImageFileReaders::openTiff(const std::string&, Messages& messages) {
    messages.message(kUnsupportedFileType);
    return 0;
}

bool ImageFileReaders::loadTiffPage(int, PageRaster&, bool, Messages&) { return false; }

bool ImageFileReaders::loadBitmap(const std::string&, PageRaster&, Messages& messages) {
    messages.message(kUnsupportedFileType);
    return false;
}

void ImageFileReaders::close() {}

}  // namespace lumipage
