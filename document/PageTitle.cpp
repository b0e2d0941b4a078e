#include "document/PageTitle.h"

#include "comments/CommentFile.h"
#include "document/FileTypeCode.h"
#include "image/LpPageFile.h"

namespace lumipage {

std::string pageTitle(const std::string& path, int page) {
    std::string title = CommentFile::title(path, page);
    if (!title.empty()) return title;
    const FileTypeCode type = fileTypeOf(path);
    if (type == FileTypeCode::PageFileMH || type == FileTypeCode::PageFileBW) return LpPageFile::readTitle(path);
    return {};
}

}  // namespace lumipage
