#pragma once
#include <string_view>

namespace lumipage {

// The kind of a file by its extension, compared without regard to case and
// by prefix, so .MH1, .BW2 and .TIFF count too. The numbers are the ones the
// program has always used for the loaded file.
enum class FileTypeCode : int {
    PageFileBW = 0,
    PageFileMH = 1,
    Fax = 2,
    Bitmap = 8,
    Tiff = 9,
    Book = 10,
    Pdf = 20,  // written only: a conversion target, never a loaded file
    Unsupported = 255,
};

// The extension of a path: from its last dot in the last path component, or empty.
std::string_view extensionOf(std::string_view path);

FileTypeCode fileTypeOf(std::string_view path);

// Whether the text begins with `prefix` (given in capitals), letter case of the text ignored.
bool startsWithNoCase(std::string_view text, std::string_view prefix);

inline constexpr const char* kUnsupportedFileType = "このファイルタイプはサポートされていません";

}  // namespace lumipage
