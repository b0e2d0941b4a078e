#include "document/CLP98Doc.h"
#include "document/PageTitle.h"

#include <algorithm>

#include "base/Messages.h"
#include "base/Settings.h"
#include "comments/CommentFile.h"
#include "document/OpenFileTable.h"
#include "image/FaxPageFile.h"
#include "image/PageLoading.h"
#include "image/PaperRecord.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace lumipage {

CLP98Doc::CLP98Doc(OpenFileTable& table, Settings& settings, const StartupRequest& startup, Messages& messages,
                   DocumentObserver* observer)
    : table_(table),
      settings_(settings),
      startup_(startup),
      messages_(messages),
      observer_(observer),
      index_(table, *this, settings, startup, messages, observer) {}

CLP98Doc::~CLP98Doc() = default;

void CLP98Doc::empty() {
    file_.close();
    images_.close();
    path_.clear();
    type_ = FileTypeCode::Unsupported;
    pageFile_ = {};
    bookDirectory_.clear();
    bookHeaderText_.clear();
    filePages_ = 0;
    filePage_ = 0;
    raster_.free();
    commentTitle_.clear();
    shortTitle_.clear();
    unsavedPage_ = false;
}

bool CLP98Doc::open(const std::string& path, int firstPage) {
    empty();
    type_ = fileTypeOf(path);
    if (type_ == FileTypeCode::Unsupported) {
        messages_.message(kUnsupportedFileType);
        return false;
    }
    path_ = path;
    const bool ok = type_ == FileTypeCode::Book ? openBook(std::max(firstPage, 1)) : openByType();
    if (!ok) {
        empty();
        return false;
    }
    filePage_ = 1;
    updateCommentTitle();
    return true;
}

bool CLP98Doc::openByType() {
    switch (type_) {
        case FileTypeCode::PageFileBW:
        case FileTypeCode::PageFileMH:
            if (!file_.open(path_, File::Mode::Read)) break;
            if (!LpPageFile::open(file_, pageFile_, raster_, messages_)) return false;
            filePages_ = std::min(pageFile_.pageCount, OpenFileTable::kMaxPages);
            return filePages_ > 0;
        case FileTypeCode::Fax:
            if (!file_.open(path_, File::Mode::Read)) break;
            if (!FaxPageFile::open(file_, raster_, messages_)) return false;
            filePages_ = 1;
            return true;
        case FileTypeCode::Bitmap:
            filePages_ = 1;
            return images_.loadBitmap(path_, raster_, messages_);
        case FileTypeCode::Tiff:
            filePages_ = images_.openTiff(path_, messages_);
            return filePages_ > 0;
        default: return false;
    }
    messages_.message(page_loading::kLoadFailed);
    return false;
}

bool CLP98Doc::openBook(int firstPage) {
    if (!file_.open(path_, File::Mode::Read)) {
        messages_.message(book_file::kBadHeader);
        return false;
    }
    const auto header = BookHeader::read(file_, messages_);
    if (!header) return false;
    // The book decides where its pages start on the screen, and that stays after it closes.
    settings_.pageStartPosition = header->pageStartPosition;
    const int pages = int(std::min<int64_t>(header->pages, OpenFileTable::kMaxPages - firstPage + 1));
    auto directory = book_file::readDirectory(file_, *header, pages);
    if (!directory || pages < 1) {
        messages_.message(page_loading::kLoadFailed);
        return false;
    }
    bookDirectory_ = std::move(*directory);
    filePages_ = pages;
    bookHeaderText_ = header->text;
    // The embedded comment becomes the book's comment file unless one exists already.
    const std::string commentPath = CommentFile::pathFor(path_);
    if (!files::exists(commentPath)) {
        if (const auto comment = book_file::readComment(file_, *header))
            writeFileAtomically(commentPath, std::span<const uint8_t>(
                                                 reinterpret_cast<const uint8_t*>(comment->data()), comment->size()));
    }
    return true;
}

bool CLP98Doc::showPage(int page) {
    if (!isLoaded() || page < 1 || page > filePages_) return false;
    filePage_ = page;
    bool ok = false;
    switch (type_) {
        case FileTypeCode::PageFileBW:
        case FileTypeCode::PageFileMH:
            ok = LpPageFile::loadPage(file_, pageFile_, page, raster_, decoder_, messages_);
            break;
        case FileTypeCode::Fax: ok = FaxPageFile::loadPage(file_, raster_, decoder_, messages_); break;
        case FileTypeCode::Bitmap: ok = images_.loadBitmap(path_, raster_, messages_); break;
        case FileTypeCode::Tiff:
            ok = images_.loadTiffPage(page, raster_, settings_.ignoreBlackIsZero != 0, messages_);
            break;
        case FileTypeCode::Book: {
            const BookDirectoryEntry& entry = bookDirectory_[size_t(page - 1)];
            ok = PaperRecord::read(file_, entry.offset, entry.type, raster_, decoder_, messages_);
            break;
        }
        case FileTypeCode::Pdf:  // written only, never read
        case FileTypeCode::Unsupported: break;
    }
    updateCommentTitle();
    return ok;
}

// The comment's title item; a page file without one goes by the title in its header.
void CLP98Doc::updateCommentTitle() {
    setTitle(pageTitle(CommentFile::title(path_, filePages_ > 1 ? filePage_ : 0), type_, [&] { return pageFile_.title; }));
}

void CLP98Doc::setTitle(const std::string& title) {
    commentTitle_ = title;
    const auto stored = text::toCp932(title);
    shortTitle_ = stored && stored->size() <= kShortTitleBytes ? title : std::string();
}

}  // namespace lumipage
