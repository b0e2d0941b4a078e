#pragma once
#include <functional>
#include <string>

#include "document/FileTypeCode.h"

namespace lumipage {

// The title a file's page goes by, in the caption and in index files: the
// title item of its comment; without one, for a page file (.MH, .BW), the
// title stored in the file's header. `page` 0 is the file part of the comment.
std::string pageTitle(const std::string& path, int page);

// The same rule for a file whose comment title is known: `headerTitle`
// gives the header's title, and is asked only for a page file without one.
std::string pageTitle(std::string commentTitle, FileTypeCode type, const std::function<std::string()>& headerTitle);

}  // namespace lumipage
