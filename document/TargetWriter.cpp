#include "document/TargetWriter.h"

#include <utility>

#include "base/Messages.h"
#include "document/BookWriter.h"
#include "image/BmpFile.h"
#include "image/CDIB.h"
#include "platform/AtomicFile.h"

namespace lumipage {

namespace {

// The A4 page a saved page is fitted into when its file asks for another
// resolution: 2360 x 3384 pixels at 300 dpi.
constexpr int32_t kA4Width300 = 2360;
constexpr int32_t kA4Height300 = 3384;
constexpr int32_t kLowestScaledDpi = 75;
constexpr int32_t kHighestScaledDpi = 600;

bool sameSize(const PageRaster& a, const PageRaster& b) { return a.width == b.width && a.height == b.height; }

}  // namespace

TargetWriter::TargetWriter(int outCode, Messages& messages) : outCode_(outCode), messages_(messages) {}

TargetWriter::~TargetWriter() { abandon(); }

const char* TargetWriter::failureText() const {
    switch (type_) {
        case FileTypeCode::Tiff: return kSaveTiffFailed;
        case FileTypeCode::Pdf: return kSavePdfFailed;
        default: return kSaveMhFailed;
    }
}

bool TargetWriter::failed(const std::string& path, const char* text) {
    messages_.message(path + "\n" + text);
    return false;
}

const PageRaster* TargetWriter::forPageFile(const PageRaster& page, int dpi, bool single) {
    if (single) {
        // A page saved at another resolution goes onto an A4 page of that resolution.
        if (dpi == 0 || page.dpi == 0 || page.dpi == dpi) return &page;
        const bool landscape = page.isLandscape();
        fitted_.width = dpi * (landscape ? kA4Height300 : kA4Width300) / 300;
        fitted_.height = dpi * (landscape ? kA4Width300 : kA4Height300) / 300;
    } else {
        if (sameSize(page, geometry_)) return &page;
        fitted_.width = geometry_.width;
        fitted_.height = geometry_.height;
    }
    // A page standing the other way than the file's pages is given a quarter
    // turn rather than shrunk to fit across them.
    if (!scaler_.fitIntoRaster(page, std::nullopt, fitted_, std::nullopt,
                               PageRaster::orientationDiffers(page, fitted_)))
        return nullptr;
    fitted_.dpi = dpi;
    fitted_.rowDpi = 0;
    return &fitted_;
}

const PageRaster* TargetWriter::forFax(const PageRaster& page) {
    if (page.width == FitScaler::kFaxWidth && page.height == FitScaler::kFaxHeight) return &page;
    fitted_.width = FitScaler::kFaxWidth;
    fitted_.height = FitScaler::kFaxHeight;
    // A landscape page is turned to stand on the portrait fax page.
    if (!scaler_.fitIntoRaster(page, std::nullopt, fitted_, std::nullopt, page.isLandscape())) return nullptr;
    fitted_.dpi = 200;
    fitted_.rowDpi = 0;
    return &fitted_;
}

bool TargetWriter::writeBitmap(const PageToWrite& page) {
    CDIB made;
    const CDIB* bitmap = page.keptBitmap;
    if (!bitmap) {
        if (!BmpFile::bitmapFromPage(*page.raster, made)) return false;
        bitmap = &made;
    }
    return bitmap->write(out_->file());
}

bool TargetWriter::writePageFile(const PageToWrite& page, int dpi) {
    const PageRaster* raster = forPageFile(*page.raster, dpi, true);
    if (!raster) return false;
    PageRaster target;
    target.setSize(raster->width, raster->height);
    target.dpi = dpi != 0 ? dpi : raster->dpi;
    target.coding = int32_t(type_ == FileTypeCode::PageFileMH ? PageCoding::TaggedMH : PageCoding::Bit);
    File& file = out_->file();
    return pageFile_.begin(file, 1, target, page.titleCp932) && pageFile_.append(file, *raster) &&
           pageFile_.finish(file);
}

bool TargetWriter::writeSingle(const std::string& path, FileTypeCode type, int dpi, const PageToWrite& page) {
    abandon();
    type_ = type;
    if (type == FileTypeCode::Book || type == FileTypeCode::Pdf) {
        return begin(path, type, dpi, 1, 1) && append(page) && finish({});
    }
    out_ = std::make_unique<AtomicFileWriter>(path);
    const char* failure = type == FileTypeCode::Tiff     ? kSaveTiffFailed
                          : type == FileTypeCode::Bitmap ? kSaveDibFailed
                                                         : kSaveMhFailed;
    if (!out_->open()) {
        out_.reset();
        return failed(path, failure);
    }
    bool ok = false;
    switch (type) {
        case FileTypeCode::Tiff: ok = tiff_.writeSinglePage(out_->file(), *page.raster, outCode_); break;
        case FileTypeCode::Bitmap: ok = writeBitmap(page); break;
        case FileTypeCode::Fax: {
            const PageRaster* fax = forFax(*page.raster);
            ok = fax && fax_.write(out_->file(), *fax);
            break;
        }
        case FileTypeCode::PageFileBW:
        case FileTypeCode::PageFileMH: ok = writePageFile(page, dpi); break;
        default: break;
    }
    ok = ok && out_->commit();
    out_.reset();
    return ok || failed(path, failure);
}

bool TargetWriter::begin(const std::string& path, FileTypeCode type, int dpi, int plannedPages,
                         int pageStartPosition) {
    abandon();
    type_ = type;
    path_ = path;
    dpi_ = dpi;
    planned_ = plannedPages;
    written_ = 0;
    begun_ = false;
    if (type == FileTypeCode::Book) {
        book_ = std::make_unique<BookWriter>();
        if (book_->begin(path, plannedPages, pageStartPosition)) return true;
        book_.reset();
        return failed(path, kSaveFileFailed);
    }
    if (type != FileTypeCode::Tiff && type != FileTypeCode::PageFileBW && type != FileTypeCode::PageFileMH &&
        type != FileTypeCode::Pdf)
        return false;
    out_ = std::make_unique<AtomicFileWriter>(path);
    if (out_->open() && (type != FileTypeCode::Tiff || tiff_.beginMultiPage(out_->file(), plannedPages)) &&
        (type != FileTypeCode::Pdf || pdf_.begin(out_->file())))
        return true;
    out_.reset();
    return failed(path, failureText());
}

bool TargetWriter::append(const PageToWrite& page) {
    bool ok = false;
    if (book_) {
        ok = book_->addPage(page.asRead ? *page.asRead : *page.raster, page.word);
        if (!ok) return failed(path_, kSaveFileFailed);
    } else if (out_ && type_ == FileTypeCode::Pdf) {
        ok = pdf_.appendPage(out_->file(), *page.raster);
        if (!ok) return failed(path_, kSavePdfFailed);
    } else if (out_ && type_ == FileTypeCode::Tiff) {
        ok = tiff_.appendPage(out_->file(), *page.raster, outCode_);
        if (!ok) return failed(path_, kSaveTiffFailed);
    } else if (out_) {
        if (!begun_) {
            // The first page sets the size of every page: scaled to the file's resolution.
            const PageRaster& first = *page.raster;
            const int dpi = dpi_ != 0 ? dpi_ : first.dpi;
            const bool scaled = first.dpi >= kLowestScaledDpi && first.dpi <= kHighestScaledDpi;
            geometry_.setSize(scaled ? int32_t(int64_t(first.width) * dpi / first.dpi) : first.width,
                              scaled ? int32_t(int64_t(first.height) * dpi / first.dpi) : first.height);
            geometry_.dpi = dpi;
            geometry_.coding = int32_t(type_ == FileTypeCode::PageFileMH ? PageCoding::TaggedMH : PageCoding::Bit);
            dpi_ = dpi;
            begun_ = pageFile_.begin(out_->file(), planned_, geometry_, page.titleCp932);
            if (!begun_) return failed(path_, kSaveMhFailed);
        }
        const PageRaster* raster = forPageFile(*page.raster, dpi_, false);
        ok = raster && pageFile_.append(out_->file(), *raster);
        if (!ok) return failed(path_, kSaveMhFailed);
    }
    if (ok) ++written_;
    return ok;
}

bool TargetWriter::finish(const std::string& indexFile, const std::function<void()>& fillBookComment) {
    bool ok = false;
    if (book_) {
        ok = written_ > 0 && book_->end(indexFile, fillBookComment);
        book_.reset();
    } else if (out_) {
        File& file = out_->file();
        const bool ended = type_ == FileTypeCode::Tiff  ? tiff_.finishMultiPage(file)
                           : type_ == FileTypeCode::Pdf ? pdf_.finish(file)
                                                        : begun_ && pageFile_.finish(file);
        ok = written_ > 0 && ended && out_->commit();
        out_.reset();
    }
    if (!ok) {
        abandon();
        if (written_ > 0) return failed(path_, failureText());
    }
    return ok;
}

void TargetWriter::abandon() {
    if (book_) book_->abandon();
    book_.reset();
    if (out_) out_->abandon();
    out_.reset();
}

}  // namespace lumipage
