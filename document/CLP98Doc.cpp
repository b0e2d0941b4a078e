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
    source_.reset();
    path_.clear();
    type_ = FileTypeCode::Unsupported;
    filePages_ = 0;
    filePage_ = 0;
    raster_.free();
    commentTitle_.clear();
    shortTitle_.clear();
    unsavedPage_ = false;
    ++pageVersion_;
}

bool CLP98Doc::open(const std::string& path, int firstPage, const PageTable* counted) {
    empty();
    type_ = fileTypeOf(path);
    source_ = makePageSource(type_, sourceStats_);
    if (!source_) {
        messages_.message(kUnsupportedFileType);
        return false;
    }
    path_ = path;
    const bool ok = source_->open(path, counted, firstPage, raster_, messages_);
    if (const auto position = source_->pageStartPosition()) settings_.pageStartPosition = *position;
    if (!ok) {
        empty();
        return false;
    }
    filePages_ = source_->pages();
    filePage_ = 1;
    updateCommentTitle();
    return true;
}

bool CLP98Doc::showPage(int page) {
    if (!isLoaded() || page < 1 || page > filePages_) return false;
    filePage_ = page;
    // The one place the document turns a reader's failure into its message.
    const bool ok = source_ && sayReadError(messages_, source_->loadPage(page, raster_, settings_), path_);
    ++pageVersion_;
    updateCommentTitle();
    return ok;
}

// The comment's title item; a page file without one goes by the title in its header.
void CLP98Doc::updateCommentTitle() {
    setTitle(pageTitle(CommentFile::title(path_, filePages_ > 1 ? filePage_ : 0), type_,
                       [&] { return source_ ? source_->storedTitle() : std::string(); }));
}

void CLP98Doc::setTitle(const std::string& title) {
    commentTitle_ = title;
    const auto stored = text::toCp932(title);
    shortTitle_ = stored && stored->size() <= kShortTitleBytes ? title : std::string();
}

}  // namespace lumipage
