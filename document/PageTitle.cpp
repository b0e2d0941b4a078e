#include "document/PageTitle.h"

#include "comments/CommentFile.h"
#include "image/LpPageFile.h"

namespace lumipage {

std::string pageTitle(std::string commentTitle, FileTypeCode type, const std::function<std::string()>& headerTitle) {
    if (!commentTitle.empty()) return commentTitle;
    if (type == FileTypeCode::PageFileMH || type == FileTypeCode::PageFileBW) return headerTitle();
    return {};
}

std::string pageTitle(const std::string& path, int page) {
    return pageTitle(CommentFile::title(path, page), fileTypeOf(path), [&] { return LpPageFile::readTitle(path); });
}

}  // namespace lumipage
