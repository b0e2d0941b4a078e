#include "support/LibtiffFiles.h"

#include <tiffio.h>

#include <cstring>
#include <memory>

namespace lumipage::test {

namespace {

struct TiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

void quietLibtiff() {
    TIFFSetWarningHandler(nullptr);
    TIFFSetErrorHandler(nullptr);
}

bool writeDirectory(TIFF* tif, const LibtiffPage& p) {
    const PageRaster& img = *p.image;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(img.width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(img.height));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, p.blackIsZero ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_FILLORDER, p.leastSignificantBitFirst ? FILLORDER_LSB2MSB : FILLORDER_MSB2LSB);
    const int compression = p.compression == 2 ? COMPRESSION_CCITTRLE
                            : p.compression == 3 ? COMPRESSION_CCITTFAX3
                            : p.compression == 4 ? COMPRESSION_CCITTFAX4
                                                 : COMPRESSION_NONE;
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    if (p.compression == 3) TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, p.twoDimensional ? GROUP3OPT_2DENCODING : 0);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(p.rowsPerStrip > 0 ? p.rowsPerStrip : img.height));
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, p.xResolution);
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, p.yResolution);
    if (p.subfileType >= 0) TIFFSetField(tif, TIFFTAG_SUBFILETYPE, uint32_t(p.subfileType));
    if (p.pageNumber >= 0) TIFFSetField(tif, TIFFTAG_PAGENUMBER, uint16_t(p.pageNumber), uint16_t(0));
    std::vector<uint8_t> row(img.bytesPerRow);
    for (int r = 0; r < img.height; ++r) {
        std::memcpy(row.data(), img.row(r), row.size());
        if (p.blackIsZero)
            for (auto& b : row) b = uint8_t(~b);
        if (TIFFWriteScanline(tif, row.data(), uint32_t(r), 0) < 0) return false;
    }
    return TIFFWriteDirectory(tif) != 0;
}

}  // namespace

bool writeTiffWithLibtiff(const std::string& path, const std::vector<LibtiffPage>& pages, bool bigEndian) {
    quietLibtiff();
    TiffHandle tif(TIFFOpen(path.c_str(), bigEndian ? "wb" : "wl"));
    if (!tif) return false;
    for (const LibtiffPage& p : pages)
        if (!writeDirectory(tif.get(), p)) return false;
    return true;
}

bool readTiffWithLibtiff(const std::string& path, int directory, PageRaster& page) {
    quietLibtiff();
    TiffHandle tif(TIFFOpen(path.c_str(), "r"));
    if (!tif || !TIFFSetDirectory(tif.get(), tdir_t(directory))) return false;
    uint32_t w = 0, h = 0;
    uint16_t photometric = PHOTOMETRIC_MINISWHITE;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &h);
    TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric);
    if (!page.create(int32_t(w), int32_t(h), 200)) return false;
    std::vector<uint8_t> strip(size_t(TIFFStripSize(tif.get())));
    size_t filled = 0;
    const size_t total = size_t(h) * page.bytesPerRow;
    for (uint32_t s = 0; s < TIFFNumberOfStrips(tif.get()) && filled < total; ++s) {
        const tmsize_t n = TIFFReadEncodedStrip(tif.get(), s, strip.data(), tmsize_t(strip.size()));
        if (n < 0) return false;
        const size_t take = std::min(size_t(n), total - filled);
        std::memcpy(page.bits() + filled, strip.data(), take);
        filled += take;
    }
    if (photometric == PHOTOMETRIC_MINISBLACK) PageRaster::invertBytes(page.bits(), total);
    page.clearPadding();
    return true;
}

}  // namespace lumipage::test
