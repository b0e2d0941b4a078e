#include "document/FileTypeCode.h"

#include <array>
#include <utility>

namespace lumipage {

namespace {

// Checked in this order; the first prefix that matches decides.
constexpr std::array<std::pair<std::string_view, FileTypeCode>, 6> kByExtension{{
    {".BW", FileTypeCode::PageFileBW},
    {".MH", FileTypeCode::PageFileMH},
    {".BMP", FileTypeCode::Bitmap},
    {".FAX", FileTypeCode::Fax},
    {".TIF", FileTypeCode::Tiff},
    {".LPB", FileTypeCode::Book},
}};

}  // namespace

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c != prefix[i]) return false;
    }
    return true;
}

std::string_view extensionOf(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
    return path.substr(dot);
}

FileTypeCode fileTypeOf(std::string_view path) {
    const std::string_view ext = extensionOf(path);
    for (const auto& [prefix, type] : kByExtension)
        if (startsWithNoCase(ext, prefix)) return type;
    return FileTypeCode::Unsupported;
}

}  // namespace lumipage
