#include "document/BookPageSource.h"

#include <algorithm>

#include "base/Messages.h"
#include "comments/CommentFile.h"
#include "document/OpenFileTable.h"
#include "image/PaperRecord.h"
#include "platform/AtomicFile.h"

namespace lumipage {

FileCount BookPageSource::count(const std::string& path, Messages& messages) {
    return {book_file::countPages(path, messages), nullptr};
}

std::vector<PageWord> BookPageSource::storedPageWords(const std::string& path, int count, Messages& messages) {
    File file;
    if (!file.open(path, File::Mode::Read)) return {};
    const auto header = BookHeader::read(file, messages);
    return header ? book_file::readPageWords(file, *header, count) : std::vector<PageWord>{};
}

bool BookPageSource::open(const std::string& path, const PageTable*, int firstPage, PageRaster&, Messages& messages) {
    if (!file_.open(path, File::Mode::Read)) {
        return sayReadError(messages, ReadError::BadBookHeader, path);
    }
    const auto header = BookHeader::read(file_, messages);
    if (!header) return false;
    // The book decides where its pages start on the screen, and that stays after it closes.
    pageStartPosition_ = header->pageStartPosition;
    firstPage = std::max(firstPage, 1);
    const int pages = int(std::min<int64_t>(header->pages, OpenFileTable::kMaxPages - firstPage + 1));
    auto directory = book_file::readDirectory(file_, *header, pages);
    if (!directory || pages < 1) return sayReadError(messages, ReadError::CannotOpen, path);
    directory_ = std::move(*directory);
    headerText_ = header->text;
    // The embedded comment becomes the book's comment file unless one exists already.
    const std::string commentPath = CommentFile::pathFor(path);
    if (!files::exists(commentPath)) {
        if (const auto comment = book_file::readComment(file_, *header))
            writeFileAtomically(commentPath, std::span<const uint8_t>(
                                                 reinterpret_cast<const uint8_t*>(comment->data()), comment->size()));
    }
    return true;
}

ReadError BookPageSource::loadPage(int page, PageRaster& raster, const Settings&) {
    if (page < 1 || page > pages()) return ReadError::NoSuchPage;
    const BookDirectoryEntry& entry = directory_[size_t(page - 1)];
    return PaperRecord::read(file_, entry.offset, entry.type, raster, decoder_);
}

}  // namespace lumipage
