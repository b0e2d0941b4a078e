#include "document/ImageFileReaders.h"

#include "image/BmpFile.h"
#include "image/CDIB.h"
#include "image/TiffReader.h"

namespace lumipage {

struct ImageFileReaders::State {
    TiffReader tiff;
    CDIB bitmap;  // the bitmap a .BMP page came from, kept for saving it unchanged
};

ImageFileReaders::ImageFileReaders() : state_(std::make_unique<State>()) {}
ImageFileReaders::~ImageFileReaders() = default;

int ImageFileReaders::countTiffPages(const std::string& path) { return TiffReader::countPages(path); }
int ImageFileReaders::countBitmapPages(const std::string& path) { return BmpFile::countPages(path); }

int ImageFileReaders::openTiff(const std::string& path, Messages& messages) {
    return state_->tiff.open(path, messages) ? state_->tiff.pageCount() : 0;
}

bool ImageFileReaders::loadTiffPage(int page, PageRaster& raster, bool ignoreBlackIsZero, Messages& messages) {
    return state_->tiff.loadPage(page, raster, TiffReadOptions{ignoreBlackIsZero}, messages);
}

bool ImageFileReaders::loadBitmap(const std::string& path, PageRaster& raster, Messages& messages) {
    return BmpFile::loadPage(path, state_->bitmap, raster, messages);
}

const CDIB& ImageFileReaders::bitmap() const { return state_->bitmap; }

void ImageFileReaders::close() { state_->tiff.close(); }

}  // namespace lumipage
