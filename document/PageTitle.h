#pragma once
#include <string>

namespace lumipage {

// The title a file's page goes by, in the caption and in index files: the
// title item of its comment; without one, for a page file (.MH, .BW), the
// title stored in the file's header. `page` 0 is the file part of the comment.
std::string pageTitle(const std::string& path, int page);

}  // namespace lumipage
