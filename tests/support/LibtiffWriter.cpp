#include "support/LibtiffWriter.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>

namespace lumipage::test {

namespace {

// A growing byte buffer behind libtiff's client I/O.
struct MemoryFile {
    std::vector<uint8_t> bytes;
    toff_t position = 0;
};

tmsize_t memoryRead(thandle_t h, void* data, tmsize_t n) {
    auto* f = static_cast<MemoryFile*>(h);
    const toff_t available = f->position < f->bytes.size() ? f->bytes.size() - f->position : 0;
    const tmsize_t count = std::min<tmsize_t>(n, tmsize_t(available));
    std::memcpy(data, f->bytes.data() + f->position, size_t(count));
    f->position += toff_t(count);
    return count;
}

tmsize_t memoryWrite(thandle_t h, void* data, tmsize_t n) {
    auto* f = static_cast<MemoryFile*>(h);
    if (f->position + toff_t(n) > f->bytes.size()) f->bytes.resize(size_t(f->position + toff_t(n)));
    std::memcpy(f->bytes.data() + f->position, data, size_t(n));
    f->position += toff_t(n);
    return n;
}

toff_t memorySeek(thandle_t h, toff_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(h);
    if (whence == SEEK_CUR) offset += f->position;
    if (whence == SEEK_END) offset += f->bytes.size();
    f->position = offset;
    return offset;
}

int memoryClose(thandle_t) { return 0; }
toff_t memorySize(thandle_t h) { return static_cast<MemoryFile*>(h)->bytes.size(); }
int memoryMap(thandle_t, void**, toff_t*) { return 0; }
void memoryUnmap(thandle_t, void*, toff_t) {}

}  // namespace

std::vector<uint8_t> libtiffEncode(const PageRaster& page, int compression, uint32_t t4Options) {
    MemoryFile file;
    file.bytes.reserve(size_t(page.bytesPerRow) * size_t(page.height) / 4 + 4096);
    TIFF* tif = TIFFClientOpen("memory", "w", &file, memoryRead, memoryWrite, memorySeek, memoryClose, memorySize,
                               memoryMap, memoryUnmap);
    if (!tif) return {};
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(page.width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(page.height));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(page.height));
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    if (compression == COMPRESSION_CCITTFAX3) TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, t4Options);
    const tmsize_t size = tmsize_t(page.bytesPerRow) * page.height;
    const bool ok = TIFFWriteEncodedStrip(tif, 0, const_cast<uint8_t*>(page.bits()), size) >= 0;
    TIFFClose(tif);
    return ok ? std::move(file.bytes) : std::vector<uint8_t>{};
}

bool libtiffReadPage(const std::string& path, int directory, PageRaster& page) {
    TIFFSetWarningHandler(nullptr);  // tiffinfo reports warnings where tests look for them
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return false;
    uint32_t width = 0, height = 0;
    uint16_t photometric = PHOTOMETRIC_MINISWHITE;
    bool ok = TIFFSetDirectory(tif, tdir_t(directory)) && TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) &&
              TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height) && width > 0 && height > 0 &&
              width <= uint32_t(PageRaster::kMaxSide) && height <= uint32_t(PageRaster::kMaxSide) &&
              page.create(int32_t(width), int32_t(height), 0);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    for (uint32_t y = 0; ok && y < height; ++y) ok = TIFFReadScanline(tif, page.row(int32_t(y)), y) == 1;
    TIFFClose(tif);
    if (ok && photometric == PHOTOMETRIC_MINISBLACK) page.invert();
    if (ok) page.clearPadding();
    return ok;
}

int libtiffPageCount(const std::string& path) {
    TIFFSetWarningHandler(nullptr);
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return -1;
    const int count = TIFFNumberOfDirectories(tif);
    TIFFClose(tif);
    return count;
}

}  // namespace lumipage::test
