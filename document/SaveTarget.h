#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/FileTypeCode.h"

namespace lumipage {

class PageRaster;

// Where a page goes when it is saved or converted, decided from the target's
// file name: the extension chooses the writer (and for page files the
// resolution written); a missing extension or name is filled in per page.
struct SaveTarget {
    std::string folder;      // absolute, without a trailing separator
    std::string name;        // base name as given, without extension; empty or "*" = automatic
    std::string extension;   // with its dot, as given; empty = automatic
    FileTypeCode type = FileTypeCode::PageFileMH;
    int dpi = 0;             // resolution written into page files; 0 = the page's own

    bool nameGiven() const { return !name.empty() && name != "*"; }
    bool extensionGiven() const { return !extension.empty(); }
    // Types that can hold many pages in one file.
    bool holdsManyPages() const {
        return type == FileTypeCode::PageFileBW || type == FileTypeCode::PageFileMH || type == FileTypeCode::Tiff ||
               type == FileTypeCode::Book || type == FileTypeCode::Pdf;
    }
    // A named PDF target takes every page: a PDF document is one file of pages.
    bool takesAllPages() const { return type == FileTypeCode::Book || (type == FileTypeCode::Pdf && nameGiven()); }
};

enum class TargetProblem { None, Unsupported, CannotSave };

inline constexpr const char* kCannotSaveType = "このファイルタイプは保存出来ません";

// The type and page file resolution an extension asks for, by
// case-insensitive prefix: ".BMP", ".LPB", ".FAX", ".TIF", ".BW", ".MH",
// ".PDF".
// An empty extension is an MH page file at the page's own resolution, whose
// extension is chosen per page.
struct TargetKind {
    FileTypeCode type = FileTypeCode::PageFileMH;
    int dpi = 0;
    TargetProblem problem = TargetProblem::None;
};
TargetKind targetKindOf(std::string_view extension);

// Page file resolution from the character after "BW"/"MH": none 300, '1'
// 180, '2' 240, '3' 360; 0 for any other character (not savable).
int pageFileDpiFor(std::string_view extension);

// Makes the target path absolute and splits it. A path naming a folder
// (ending in "/" or an existing folder) leaves the name automatic.
std::optional<SaveTarget> parseSaveTarget(const std::string& given, TargetProblem& problem);

// The extension a page gets when none was given: ".BMP" for a page from a
// colour bitmap, else ".MH" with a digit for the page's resolution.
std::string automaticExtension(int32_t dpi, bool fromColourBitmap);

// What names one written file.
struct PageOrigin {
    std::string sourcePath;  // the file the page came from
    int pageInFile = 1;
    int filePages = 1;
    int32_t dpi = 0;
    bool fromColourBitmap = false;
};

// The writer for one page: an automatic extension makes a page from a colour
// bitmap a bitmap; otherwise the target's type.
FileTypeCode typeFor(const SaveTarget& target, const PageOrigin& origin);

// The full path of the file for one page. `sequence` 0 = no numbering;
// otherwise its number is appended to the name with at least 3 digits.
std::string targetPathFor(const SaveTarget& target, const PageOrigin& origin, int sequence);

}  // namespace lumipage
