// The page sources of the files that hold their pages themselves: TIFF,
// bitmaps, the program's page files and .FAX files; and the one place that
// chooses a source by the kind of file.
#include <algorithm>

#include "base/Messages.h"
#include "base/Settings.h"
#include "document/BookPageSource.h"
#include "document/OpenFileTable.h"
#include "document/PageSource.h"
#include "image/BmpFile.h"
#include "image/CDIB.h"
#include "image/FaxPageFile.h"
#include "image/LpPageFile.h"
#include "image/PageDecoder.h"
#include "image/TiffReader.h"
#include "platform/File.h"

namespace lumipage {

namespace {

// A TIFF keeps its table of page directories between pages. The table its
// counting found is taken as it is while the file is unchanged.
class TiffPageSource final : public PageSource {
public:
    FileCount count(const std::string& path, Messages&) override {
        auto table = std::make_shared<PageTable>();
        const auto stamp = files::stampOf(path);
        countWalk();
        auto directories = TiffReader::pageDirectoriesOf(path);
        if (!stamp || !directories) return {};
        table->stamp = *stamp;
        table->directories = std::move(*directories);
        const int pages = int(table->directories.size());
        return {pages, std::move(table)};
    }
    bool open(const std::string& path, const PageTable* counted, int, PageRaster&, Messages& messages) override {
        const auto stamp = files::stampOf(path);
        const bool unchanged = counted && stamp && counted->stamp == *stamp;
        if (!unchanged) countWalk();
        return sayReadError(messages, tiff_.open(path, unchanged ? &counted->directories : nullptr), path) &&
               tiff_.pageCount() > 0;
    }
    int pages() const override { return tiff_.pageCount(); }
    ReadError loadPage(int page, PageRaster& raster, const Settings& settings) override {
        return tiff_.loadPage(page, raster, TiffReadOptions{settings.ignoreBlackIsZero != 0});
    }

private:
    TiffReader tiff_;
};

// A bitmap of at most 8 bits per pixel is one page; its pixels are kept
// so that saving it again writes it unchanged.
class BitmapPageSource final : public PageSource {
public:
    FileCount count(const std::string& path, Messages&) override { return {BmpFile::countPages(path), nullptr}; }
    bool open(const std::string& path, const PageTable*, int, PageRaster& raster, Messages& messages) override {
        path_ = path;
        return BmpFile::loadPage(path_, bitmap_, raster, messages);
    }
    int pages() const override { return 1; }
    ReadError loadPage(int, PageRaster& raster, const Settings&) override {
        return BmpFile::loadPage(path_, bitmap_, raster);
    }
    const CDIB* sourceBitmap() const override { return &bitmap_; }

private:
    std::string path_;
    CDIB bitmap_;
};

// The program's page files (.MH, .BW): a header with the page count and a
// table of the pages' places.
class PageFileSource final : public PageSource {
public:
    FileCount count(const std::string& path, Messages&) override { return {LpPageFile::countPages(path), nullptr}; }
    bool open(const std::string& path, const PageTable*, int, PageRaster& raster, Messages& messages) override {
        const ReadError error =
            file_.open(path, File::Mode::Read) ? LpPageFile::open(file_, header_, raster) : ReadError::CannotOpen;
        return sayReadError(messages, error, path) && pages() > 0;
    }
    int pages() const override { return std::min(header_.pageCount, OpenFileTable::kMaxPages); }
    ReadError loadPage(int page, PageRaster& raster, const Settings&) override {
        return LpPageFile::loadPage(file_, header_, page, raster, decoder_);
    }
    std::string storedTitle() const override { return header_.title; }

private:
    File file_;
    LpPageFile::Header header_;
    PageDecoder decoder_;
};

// A .FAX file: one fax page after a short header.
class FaxFileSource final : public PageSource {
public:
    FileCount count(const std::string&, Messages&) override { return {1, nullptr}; }
    bool open(const std::string& path, const PageTable*, int, PageRaster& raster, Messages& messages) override {
        const ReadError error =
            file_.open(path, File::Mode::Read) ? FaxPageFile::open(file_, raster) : ReadError::CannotOpen;
        return sayReadError(messages, error, path);
    }
    int pages() const override { return 1; }
    ReadError loadPage(int, PageRaster& raster, const Settings&) override {
        return FaxPageFile::loadPage(file_, raster, decoder_);
    }

private:
    File file_;
    PageDecoder decoder_;
};

}  // namespace

std::unique_ptr<PageSource> makePageSource(FileTypeCode type, PageSourceStats* stats) {
    std::unique_ptr<PageSource> source;
    switch (type) {
        case FileTypeCode::PageFileBW:
        case FileTypeCode::PageFileMH: source = std::make_unique<PageFileSource>(); break;
        case FileTypeCode::Fax: source = std::make_unique<FaxFileSource>(); break;
        case FileTypeCode::Bitmap: source = std::make_unique<BitmapPageSource>(); break;
        case FileTypeCode::Tiff: source = std::make_unique<TiffPageSource>(); break;
        case FileTypeCode::Book: source = std::make_unique<BookPageSource>(); break;
        case FileTypeCode::Pdf:  // written only, never read
        case FileTypeCode::Unsupported: return nullptr;
    }
    source->setStats(stats);
    return source;
}

}  // namespace lumipage
