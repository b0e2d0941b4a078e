#include "scan/ScanPageSaver.h"

#include "base/Messages.h"
#include "document/FileTypeCode.h"
#include "image/BmpFile.h"
#include "image/CDIB.h"
#include "image/LpPageFileWriter.h"
#include "image/PageCoding.h"
#include "image/PageRaster.h"
#include "image/TiffWriter.h"
#include "platform/AtomicFile.h"
#include "scan/ScanFormulas.h"

namespace lumipage {

namespace {

constexpr int kTiffCodingT6 = 14;

WriteResult writeContents(File& file, FileTypeCode type, const PageRaster& page) {
    switch (type) {
    case FileTypeCode::Tiff: {
        TiffWriter writer;
        return writer.writeSinglePage(file, page, kTiffCodingT6);
    }
    case FileTypeCode::Bitmap: {
        CDIB bitmap;
        if (!BmpFile::bitmapFromPage(page, bitmap)) return WriteError::PageNotWritable;
        return written(bitmap.write(file));
    }
    case FileTypeCode::PageFileMH:
    case FileTypeCode::PageFileBW: {
        PageRaster target;
        target.setSize(page.width, page.height);
        target.dpi = page.dpi;
        target.coding = int32_t(type == FileTypeCode::PageFileMH ? PageCoding::TaggedMH : PageCoding::Bit);
        LpPageFileWriter writer;
        WriteResult result = writer.begin(file, 1, target, {});
        if (result) result = writer.append(file, page);
        if (result) result = writer.finish(file);
        return result;
    }
    default: return WriteError::PageNotWritable;
    }
}

}  // namespace

std::string ScanPageSaver::concretePath(const std::string& target, int dpi) {
    const std::string_view ext = extensionOf(target);
    if (ext.size() == 4 && ext.back() == '*') return target.substr(0, target.size() - ext.size()) + scanformulas::mhExtensionFor(dpi);
    return target;
}

int32_t ScanPageSaver::storedCoding(const std::string& path) {
    switch (fileTypeOf(path)) {
    case FileTypeCode::PageFileMH: return int32_t(PageCoding::TaggedMH);
    case FileTypeCode::Tiff: return TiffWriter::codingForSetting(kTiffCodingT6);
    default: return int32_t(PageCoding::Bit);
    }
}

bool ScanPageSaver::save(const std::string& path, const PageRaster& page, Messages& messages) {
    const FileTypeCode type = fileTypeOf(path);
    if (type != FileTypeCode::Tiff && type != FileTypeCode::Bitmap && type != FileTypeCode::PageFileMH &&
        type != FileTypeCode::PageFileBW) {
        messages.message(kUnsupportedFileType);
        return false;
    }
    AtomicFileWriter writer(path);
    if (!writer.open() || !writeContents(writer.file(), type, page) || !writer.commit()) {
        writer.abandon();
        messages.message(path + "\n" + kSaveFailed);
        return false;
    }
    return true;
}

}  // namespace lumipage
