#include "image/TiffReader.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "base/Messages.h"
#include "image/PageRaster.h"
#include "image/TiffPageInfo.h"

namespace lumipage {

namespace {

constexpr int64_t kBlackIsZero = 1;
constexpr int64_t kLeastSignificantBitFirst = 2;  // FillOrder 2

int32_t clampSide(int64_t side) { return int32_t(std::min<int64_t>(side, PageRaster::kMaxSide + 1)); }

}  // namespace

ReadError TiffReader::open(const std::string& path, const std::vector<uint32_t>* knownPages) {
    close();
    name_ = path;
    if (!file_.open(path, File::Mode::Read) || !source_.attach(file_) || !start(knownPages)) {
        close();
        return ReadError::CannotOpen;
    }
    return ReadError::None;
}

ReadError TiffReader::open(std::span<const uint8_t> data, const std::string& name) {
    close();
    name_ = name;
    if (!source_.attach(data) || !start()) {
        close();
        return ReadError::CannotOpen;
    }
    return ReadError::None;
}

void TiffReader::close() {
    file_.close();
    source_ = TiffSource{};
    header_ = TiffHeader{};
    pages_.clear();
}

uint32_t TiffReader::pageOffset(int page) const {
    return page >= 1 && page <= pageCount() ? pages_[size_t(page - 1)] : 0;
}

int TiffReader::countPages(const std::string& path) {
    const auto pages = pageDirectoriesOf(path);
    return pages ? int(pages->size()) : 0;
}

std::optional<std::vector<uint32_t>> TiffReader::pageDirectoriesOf(const std::string& path) {
    TiffReader reader;
    if (!reader.file_.open(path, File::Mode::Read) || !reader.source_.attach(reader.file_) || !reader.start())
        return std::nullopt;
    return std::move(reader.pages_);
}

bool TiffReader::start(const std::vector<uint32_t>* knownPages) {
    if (!header_.read(source_)) return false;
    if (knownPages) pages_ = *knownPages;
    else walkDirectories();
    return true;
}

// Pages are the full-page and multi-page directories the program can show,
// placed by their PageNumber when they carry one, else after the page before.
// Reduced-resolution images, masks and refused directories are passed over.
// Page numbers that put two pages in one place (files joined by copying
// pages of several documents, each numbered from 0) order nothing: then
// the pages follow the directory chain, so that none is lost.
void TiffReader::walkDirectories() {
    pages_.clear();
    std::vector<uint32_t> inChainOrder;
    bool twoInOnePlace = false;
    std::unordered_set<uint32_t> visited;
    int64_t index = 0;
    uint32_t offset = header_.firstIfd;
    while (offset != 0 && int(visited.size()) < kMaxDirectories && visited.insert(offset).second) {
        TiffPageInfo info;
        const TiffPageInfo::Status status = info.read(source_, offset);
        if (status == TiffPageInfo::Status::Unreadable) break;
        if (status == TiffPageInfo::Status::Supported && info.isPage()) {
            if (int(inChainOrder.size()) < kMaxPages) inChainOrder.push_back(offset);
            if (info.pageNumber >= 0) index = info.pageNumber;
            if (index < kMaxPages) {
                if (pages_.size() <= size_t(index)) pages_.resize(size_t(index) + 1, 0);
                twoInOnePlace = twoInOnePlace || pages_[size_t(index)] != 0;
                pages_[size_t(index)] = offset;
            } else if (!twoInOnePlace) {
                break;  // past the last page the table holds
            }
            ++index;
        }
        offset = info.nextIfd;
    }
    if (twoInOnePlace) pages_ = std::move(inChainOrder);
}

bool TiffReader::loadPage(int page, PageRaster& raster, const TiffReadOptions& options, Messages& messages) {
    if (page < 1 || page > pageCount()) return false;
    return sayReadError(messages, loadPage(page, raster, options), name_);
}

ReadError TiffReader::loadPage(int page, PageRaster& raster, const TiffReadOptions& options) {
    if (page < 1 || page > pageCount()) return ReadError::NoSuchPage;
    const uint32_t offset = pages_[size_t(page - 1)];
    if (offset == 0) return ReadError::NoSuchPage;
    TiffPageInfo info;
    if (info.read(source_, offset) != TiffPageInfo::Status::Supported) {
        raster.resetToBlank();
        return ReadError::UnsupportedPage;
    }
    const int32_t width = clampSide(info.imageWidth);
    const int32_t height = clampSide(info.imageLength);
    if (!PageRaster::fits(width, height)) {
        raster.resetToBlank();
        return ReadError::TooLarge;
    }
    // A standard-resolution fax page has its rows twice as far apart as its
    // pixels; every row is shown twice so the page keeps its true shape.
    const bool doubled = info.hasHalfVerticalResolution() && 2 * height <= PageRaster::kMaxSide;
    raster.coding = info.coding();
    raster.lineDoubling = 0;
    raster.dpi = info.dpi();
    // Rows shown twice stand half as far apart.
    const int64_t rowDpi = int64_t(info.rowDpi()) * (doubled ? 2 : 1);
    raster.rowDpi = rowDpi > 0 && rowDpi <= INT32_MAX && rowDpi != raster.dpi ? int32_t(rowDpi) : 0;
    raster.setSize(width, doubled ? 2 * height : height);
    const size_t bytes = size_t(raster.imageSize) + PageRaster::kSpareBytes;
    raster.setSize(width, height);
    if (!raster.allocate(bytes)) return ReadError::OutOfMemory;
    if (!readStrips(info, raster)) return ReadError::DataRead;
    if (info.photometric == kBlackIsZero && !options.ignoreBlackIsZero) raster.invert();
    if (doubled) doubleRows(raster);
    return ReadError::None;
}

bool TiffReader::readStrips(const TiffPageInfo& info, PageRaster& raster) {
    if (info.stripOffsets.count == 0) return false;  // a page without data
    if (info.stripOffsets.count == 1) return readSingleStrip(info, raster);
    return raster.coding == int32_t(PageCoding::Bit) ? readRawStrips(info, raster) : decodeStrips(info, raster);
}

bool TiffReader::readSingleStrip(const TiffPageInfo& info, PageRaster& raster) {
    const int64_t start = info.firstStripOffset;
    if (start < 0 || uint64_t(start) >= source_.length()) return false;
    const uint64_t length = std::min<uint64_t>(info.stripByteCountSum, source_.length() - uint64_t(start));
    if (raster.coding == int32_t(PageCoding::Bit)) {
        const size_t n = size_t(std::min<uint64_t>(length, uint64_t(raster.height) * raster.bytesPerRow));
        if (!source_.readInto(uint64_t(start), std::span(raster.bits(), n))) return false;
        if (info.fillOrder == kLeastSignificantBitFirst) PageRaster::reverseBitOrder(raster.bits(), n);
        raster.clearPadding();
        return true;
    }
    const auto strip = codedStrip(info, start, length);
    if (!strip) return false;
    decoder_.decodePage(*strip, raster, 0, 0);
    return true;
}

std::optional<std::span<const uint8_t>> TiffReader::codedStrip(const TiffPageInfo& info, int64_t offset,
                                                               uint64_t length) {
    if (offset < 0 || length > source_.length()) return std::nullopt;
    if (info.fillOrder != kLeastSignificantBitFirst) return source_.read(uint64_t(offset), size_t(length));
    const auto bytes = source_.readForChange(uint64_t(offset), size_t(length));
    if (!bytes) return std::nullopt;
    PageRaster::reverseBitOrder(bytes->data(), bytes->size());
    return std::span<const uint8_t>(*bytes);
}

// A valid file has no more strips than rows (TIFF 6.0: StripsPerImage is
// ImageLength divided by RowsPerStrip, rounded up), so no more are read.
bool TiffReader::readStripArrays(const TiffPageInfo& info, std::vector<int64_t>& offsets,
                                 std::vector<int64_t>& counts) {
    const uint32_t limit = uint32_t(info.imageLength);
    offsets.reserve(std::min(info.stripOffsets.count, limit));
    counts.reserve(std::min(info.stripByteCounts.count, limit));
    return TiffPageInfo::forEachValue(source_, info.stripOffsets, limit, [&](int64_t v) { offsets.push_back(v); }) &&
           TiffPageInfo::forEachValue(source_, info.stripByteCounts, limit, [&](int64_t v) { counts.push_back(v); });
}

bool TiffReader::readRawStrips(const TiffPageInfo& info, PageRaster& raster) {
    std::vector<int64_t> offsets, counts;
    if (!readStripArrays(info, offsets, counts)) return false;
    const size_t total = size_t(raster.height) * raster.bytesPerRow;
    size_t filled = 0;
    for (size_t i = 0; i < offsets.size() && filled < total; ++i) {
        if (i >= counts.size() || offsets[i] < 0 || counts[i] < 0) return false;
        const size_t n = size_t(std::min<uint64_t>(uint64_t(counts[i]), total - filled));
        if (!source_.readInto(uint64_t(offsets[i]), std::span(raster.bits() + filled, n))) return false;
        filled += n;
    }
    if (info.fillOrder == kLeastSignificantBitFirst) PageRaster::reverseBitOrder(raster.bits(), filled);
    raster.clearPadding();
    return true;
}

// Each strip holds RowsPerStrip rows (the last one the rest), so a strip is
// decoded into its own rows even when the strip before it was damaged.
bool TiffReader::decodeStrips(const TiffPageInfo& info, PageRaster& raster) {
    std::vector<int64_t> offsets, counts;
    if (!readStripArrays(info, offsets, counts)) return false;
    const int64_t height = raster.height;
    const int64_t rowsPerStrip = info.rowsPerStrip > 0 && info.rowsPerStrip < height ? info.rowsPerStrip : 0;
    int64_t nextRow = 0;
    for (size_t i = 0; i < offsets.size(); ++i) {
        const int64_t first = rowsPerStrip > 0 ? int64_t(i) * rowsPerStrip : nextRow;
        if (first >= height) break;
        const int64_t budget = rowsPerStrip > 0 ? std::min(rowsPerStrip, height - first) : height - first;
        if (i >= counts.size() || counts[i] < 0) return false;
        const auto strip = codedStrip(info, offsets[i], uint64_t(counts[i]));
        if (!strip) return false;
        nextRow = first + decoder_.decodePage(*strip, raster, int(first), int(budget));
    }
    return true;
}

void TiffReader::doubleRows(PageRaster& raster) {
    const int32_t height = raster.height;
    const size_t rowBytes = raster.bytesPerRow;
    for (int32_t r = height - 1; r >= 0; --r) {
        std::memcpy(raster.row(2 * r + 1), raster.row(r), rowBytes);
        if (r > 0) std::memcpy(raster.row(2 * r), raster.row(r), rowBytes);
    }
    raster.setSize(raster.width, 2 * height);
    raster.lineDoubling = 1;
    raster.clearPadding();
}

}  // namespace lumipage
