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

const char* saveFailureText(FileTypeCode type) {
    switch (type) {
        case FileTypeCode::Tiff: return kSaveTiffFailed;
        case FileTypeCode::Pdf: return kSavePdfFailed;
        case FileTypeCode::Bitmap: return kSaveDibFailed;
        case FileTypeCode::Book: return kSaveFileFailed;
        default: return kSaveMhFailed;
    }
}

TargetWriter::TargetWriter(int outCode, Messages& messages) : outCode_(outCode), messages_(messages) {}

TargetWriter::~TargetWriter() { abandon(); }

WriteResult TargetWriter::failed(const std::string& path, WriteResult result) {
    messages_.message(path + "\n" + saveFailureText(type_));
    return result;
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

WriteResult TargetWriter::writeBitmap(const PageToWrite& page) {
    CDIB made;
    const CDIB* bitmap = page.keptBitmap;
    if (!bitmap) {
        if (!BmpFile::bitmapFromPage(*page.raster, made)) return WriteError::PageNotWritable;
        bitmap = &made;
    }
    return written(bitmap->write(out_->file()));
}

WriteResult TargetWriter::writePageFile(const PageToWrite& page, int dpi) {
    const PageRaster* raster = forPageFile(*page.raster, dpi, true);
    if (!raster) return WriteError::PageNotWritable;
    PageRaster target;
    target.setSize(raster->width, raster->height);
    target.dpi = dpi != 0 ? dpi : raster->dpi;
    target.coding = int32_t(type_ == FileTypeCode::PageFileMH ? PageCoding::TaggedMH : PageCoding::Bit);
    File& file = out_->file();
    WriteResult result = pageFile_.begin(file, 1, target, page.titleCp932);
    if (result) result = pageFile_.append(file, *raster);
    if (result) result = pageFile_.finish(file);
    return result;
}

WriteResult TargetWriter::writeSingle(const std::string& path, FileTypeCode type, int dpi, const PageToWrite& page) {
    abandon();
    type_ = type;
    if (type == FileTypeCode::Book || type == FileTypeCode::Pdf) {
        WriteResult result = begin(path, type, dpi, 1, 1);
        if (result) result = append(page);
        if (result) result = finish({});
        return result;
    }
    out_ = std::make_unique<AtomicFileWriter>(path);
    if (!out_->open()) {
        out_.reset();
        return failed(path, WriteError::CannotCreate);
    }
    WriteResult result = WriteError::PageNotWritable;
    switch (type) {
        case FileTypeCode::Tiff: result = tiff_.writeSinglePage(out_->file(), *page.raster, outCode_); break;
        case FileTypeCode::Bitmap: result = writeBitmap(page); break;
        case FileTypeCode::Fax: {
            const PageRaster* fax = forFax(*page.raster);
            if (fax) result = fax_.write(out_->file(), *fax);
            break;
        }
        case FileTypeCode::PageFileBW:
        case FileTypeCode::PageFileMH: result = writePageFile(page, dpi); break;
        default: break;
    }
    if (result && !out_->commit()) result = WriteError::CannotReplace;
    out_.reset();
    return result ? result : failed(path, result);
}

WriteResult TargetWriter::begin(const std::string& path, FileTypeCode type, int dpi, int plannedPages,
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
        if (book_->begin(path, plannedPages, pageStartPosition)) return {};
        book_.reset();
        return failed(path, WriteError::CannotCreate);
    }
    if (type != FileTypeCode::Tiff && type != FileTypeCode::PageFileBW && type != FileTypeCode::PageFileMH &&
        type != FileTypeCode::Pdf)
        return WriteError::PageNotWritable;  // a type that holds one page only
    out_ = std::make_unique<AtomicFileWriter>(path);
    WriteResult result = out_->open() ? WriteResult{} : WriteError::CannotCreate;
    if (result && type == FileTypeCode::Tiff) result = tiff_.beginMultiPage(out_->file(), plannedPages);
    if (result && type == FileTypeCode::Pdf) result = pdf_.begin(out_->file());
    if (result) return result;
    out_.reset();
    return failed(path, result);
}

// A multi-page page file: the first page sets the size of every page,
// scaled to the file's resolution.
WriteResult TargetWriter::appendToPageFile(const PageToWrite& page) {
    if (!begun_) {
        const PageRaster& first = *page.raster;
        const int dpi = dpi_ != 0 ? dpi_ : first.dpi;
        const bool scaled = first.dpi >= kLowestScaledDpi && first.dpi <= kHighestScaledDpi;
        geometry_.setSize(scaled ? int32_t(int64_t(first.width) * dpi / first.dpi) : first.width,
                          scaled ? int32_t(int64_t(first.height) * dpi / first.dpi) : first.height);
        geometry_.dpi = dpi;
        geometry_.coding = int32_t(type_ == FileTypeCode::PageFileMH ? PageCoding::TaggedMH : PageCoding::Bit);
        dpi_ = dpi;
        const WriteResult begun = pageFile_.begin(out_->file(), planned_, geometry_, page.titleCp932);
        if (!begun) return begun;
        begun_ = true;
    }
    const PageRaster* raster = forPageFile(*page.raster, dpi_, false);
    if (!raster) return WriteError::PageNotWritable;
    return pageFile_.append(out_->file(), *raster);
}

WriteResult TargetWriter::append(const PageToWrite& page) {
    WriteResult result = WriteError::NothingWritten;  // no file begun
    if (book_) {
        result = written(book_->addPage(page.asRead ? *page.asRead : *page.raster, page.word));
    } else if (out_ && type_ == FileTypeCode::Pdf) {
        result = pdf_.appendPage(out_->file(), *page.raster);
    } else if (out_ && type_ == FileTypeCode::Tiff) {
        result = tiff_.appendPage(out_->file(), *page.raster, outCode_);
    } else if (out_) {
        result = appendToPageFile(page);
    } else {
        return result;
    }
    if (!result) return failed(path_, result);
    ++written_;
    return result;
}

WriteResult TargetWriter::finish(const std::string& indexFile, const std::function<void()>& fillBookComment) {
    WriteResult result = WriteError::NothingWritten;
    if (book_) {
        if (written_ > 0) result = written(book_->end(indexFile, fillBookComment));
        book_.reset();
    } else if (out_) {
        File& file = out_->file();
        if (type_ == FileTypeCode::Tiff) result = tiff_.finishMultiPage(file);
        else if (type_ == FileTypeCode::Pdf) result = pdf_.finish(file);
        else if (begun_) result = pageFile_.finish(file);
        if (result && written_ == 0) result = WriteError::NothingWritten;
        if (result && !out_->commit()) result = WriteError::CannotReplace;
        out_.reset();
    }
    if (!result) {
        abandon();
        // A file that never got a page was refused page by page already.
        if (written_ > 0) return failed(path_, result);
    }
    return result;
}

void TargetWriter::abandon() {
    if (book_) book_->abandon();
    book_.reset();
    if (out_) out_->abandon();
    out_.reset();
}

}  // namespace lumipage
