#include "support/LibtiffCoder.h"

#include <tiffio.h>

#include <cstring>
#include <memory>

#include "support/TestImages.h"

namespace lumipage::test {

namespace {

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

// Damaged data is expected in tests; libtiff's complaints would only clutter the output.
TiffHandle openQuietly(const std::string& path, const char* mode) {
    TIFFSetWarningHandler(nullptr);
    TIFFSetErrorHandler(nullptr);
    return TiffHandle(TIFFOpen(path.c_str(), mode));
}

void setPageFields(TIFF* tif, int width, int height, const LibtiffOptions& options) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(height));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(1));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(1));
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG));
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_MINISWHITE));
    TIFFSetField(tif, TIFFTAG_COMPRESSION, uint16_t(options.compression));
    TIFFSetField(tif, TIFFTAG_FILLORDER, uint16_t(options.fillOrder == 2 ? FILLORDER_LSB2MSB : FILLORDER_MSB2LSB));
    const int rows = options.rowsPerStrip > 0 ? options.rowsPerStrip : height;
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(rows));
    if (options.compression == kTiffGroup3)
        TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, uint32_t(options.twoDimensional ? GROUP3OPT_2DENCODING : 0));
}

}  // namespace

bool libtiffWriteFile(const std::string& path, const PageRaster& page, const LibtiffOptions& options) {
    TiffHandle tif = openQuietly(path, "w");
    if (!tif) return false;
    setPageFields(tif.get(), page.width, page.height, options);
    const int rows = options.rowsPerStrip > 0 ? options.rowsPerStrip : page.height;
    std::vector<uint8_t> strip;
    for (int first = 0, index = 0; first < page.height; first += rows, ++index) {
        const int count = std::min(rows, page.height - first);
        // libtiff may change the buffer it is given (bit reversal), so hand it a copy.
        strip.assign(page.row(first), page.row(first) + size_t(count) * page.bytesPerRow);
        if (TIFFWriteEncodedStrip(tif.get(), uint32_t(index), strip.data(), tmsize_t(strip.size())) < 0) return false;
    }
    return TIFFWriteDirectory(tif.get()) != 0;
}

std::vector<uint8_t> libtiffEncode(const PageRaster& page, int compression, bool twoDimensional, int fillOrder) {
    const std::string path = tempFolder() + "/encode.tif";
    if (!libtiffWriteFile(path, page, {compression, twoDimensional, fillOrder, 0})) return {};
    std::vector<std::vector<uint8_t>> strips = libtiffRawStrips(path);
    return strips.size() == 1 ? std::move(strips[0]) : std::vector<uint8_t>{};
}

std::vector<std::vector<uint8_t>> libtiffRawStrips(const std::string& path, int directory) {
    std::vector<std::vector<uint8_t>> strips;
    TiffHandle tif = openQuietly(path, "rc");  // strips as stored, not chopped into smaller ones
    if (!tif || !TIFFSetDirectory(tif.get(), tdir_t(directory))) return strips;
    for (uint32_t i = 0; i < TIFFNumberOfStrips(tif.get()); ++i) {
        const tmsize_t size = TIFFRawStripSize(tif.get(), i);
        std::vector<uint8_t> data(size > 0 ? size_t(size) : 0);
        if (size > 0 && TIFFReadRawStrip(tif.get(), i, data.data(), size) != size) data.clear();
        strips.push_back(std::move(data));
    }
    return strips;
}

PageRaster libtiffReadFile(const std::string& path, int directory) {
    PageRaster page;
    TiffHandle tif = openQuietly(path, "r");
    if (!tif || !TIFFSetDirectory(tif.get(), tdir_t(directory))) return page;
    uint32_t width = 0, height = 0;
    uint16_t photometric = PHOTOMETRIC_MINISWHITE;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric);
    if (width == 0 || height == 0 || !page.create(int32_t(width), int32_t(height), 200)) return page;
    for (uint32_t y = 0; y < height; ++y)
        if (TIFFReadScanline(tif.get(), page.row(int32_t(y)), y, 0) < 0) break;
    if (photometric == PHOTOMETRIC_MINISBLACK) page.invert();
    page.clearPadding();
    return page;
}

PageRaster libtiffDecode(std::span<const uint8_t> strip, int width, int height, int compression, bool twoDimensional,
                         int fillOrder) {
    PageRaster page;
    const std::string path = tempFolder() + "/decode.tif";
    {
        TiffHandle tif = openQuietly(path, "w");
        if (!tif) return page;
        setPageFields(tif.get(), width, height, {compression, twoDimensional, fillOrder, 0});
        std::vector<uint8_t> copy(strip.begin(), strip.end());
        if (TIFFWriteRawStrip(tif.get(), 0, copy.data(), tmsize_t(copy.size())) < 0) return page;
        if (!TIFFWriteDirectory(tif.get())) return page;
    }
    TiffHandle tif = openQuietly(path, "r");
    if (!tif || !page.create(width, height, 200)) return page;
    TIFFReadEncodedStrip(tif.get(), 0, page.bits(), tmsize_t(size_t(height) * page.bytesPerRow));
    page.clearPadding();
    return page;
}

}  // namespace lumipage::test
