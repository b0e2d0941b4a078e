#include "document/FilePageCounter.h"

#include "base/Messages.h"
#include "document/BookFile.h"
#include "document/FileTypeCode.h"
#include "document/ImageFileReaders.h"
#include "image/LpPageFile.h"
#include "platform/File.h"

namespace lumipage {

int FilePageCounter::countPages(const std::string& path) {
    switch (fileTypeOf(path)) {
        case FileTypeCode::PageFileBW:
        case FileTypeCode::PageFileMH: return LpPageFile::countPages(path);
        case FileTypeCode::Fax: return 1;
        case FileTypeCode::Bitmap: return ImageFileReaders::countBitmapPages(path);
        case FileTypeCode::Tiff: return ImageFileReaders::countTiffPages(path);
        case FileTypeCode::Book: return book_file::countPages(path, messages_);
        case FileTypeCode::Pdf:  // written only, never read
        case FileTypeCode::Unsupported: break;
    }
    return 0;
}

std::vector<PageWord> FilePageCounter::storedPageWords(const std::string& path, int count) {
    if (fileTypeOf(path) != FileTypeCode::Book) return {};
    File file;
    if (!file.open(path, File::Mode::Read)) return {};
    const auto header = BookHeader::read(file, messages_);
    return header ? book_file::readPageWords(file, *header, count) : std::vector<PageWord>{};
}

}  // namespace lumipage
