#pragma once
#include <string>
#include <string_view>

#include "comments/FileKind.h"

namespace lumipage {

// The comment text with the standard items of the file's kind appended where
// missing (each label on its own line), and a keyword label always last.
std::string withStandardItems(std::string_view text, FileKind kind);

}  // namespace lumipage
