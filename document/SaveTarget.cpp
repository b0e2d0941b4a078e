#include "document/SaveTarget.h"

#include <cstdio>

#include "document/FileTypeCode.h"
#include "platform/FileSystem.h"

namespace lumipage {

namespace {

std::string baseNameOf(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    return std::string(dot == std::string_view::npos ? fileName : fileName.substr(0, dot));
}

}  // namespace

int pageFileDpiFor(std::string_view extension) {
    // ".MH" / ".BW" and the one character after them.
    if (extension.size() <= 3) return 300;
    switch (extension[3]) {
        case '1': return 180;
        case '2': return 240;
        case '3': return 360;
        default: return 0;
    }
}

TargetKind targetKindOf(std::string_view extension) {
    if (extension.empty()) return {FileTypeCode::PageFileMH, 0, TargetProblem::None};
    struct Prefix {
        std::string_view text;
        FileTypeCode type;
    };
    static constexpr Prefix kPrefixes[] = {
        {".BMP", FileTypeCode::Bitmap}, {".LPB", FileTypeCode::Book},     {".FAX", FileTypeCode::Fax},
        {".TIF", FileTypeCode::Tiff},   {".BW", FileTypeCode::PageFileBW}, {".MH", FileTypeCode::PageFileMH},
        {".PDF", FileTypeCode::Pdf},
    };
    for (const Prefix& p : kPrefixes) {
        if (!startsWithNoCase(extension, p.text)) continue;
        if (p.type == FileTypeCode::Fax) return {p.type, 200, TargetProblem::None};
        if (p.type != FileTypeCode::PageFileBW && p.type != FileTypeCode::PageFileMH)
            return {p.type, 0, TargetProblem::None};
        const int dpi = pageFileDpiFor(extension);
        return {p.type, dpi, dpi == 0 ? TargetProblem::CannotSave : TargetProblem::None};
    }
    return {FileTypeCode::Unsupported, 0, TargetProblem::Unsupported};
}

std::optional<SaveTarget> parseSaveTarget(const std::string& given, TargetProblem& problem) {
    SaveTarget target;
    const std::string path = files::absolutePath(given);
    const bool folderOnly = given.ends_with('/') || files::isDirectory(path);
    const std::string fileName = folderOnly ? std::string() : files::fileNameOf(path);
    target.folder = folderOnly ? path : files::folderOf(path);
    const size_t dot = fileName.rfind('.');
    target.name = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    target.extension = dot == std::string::npos ? std::string() : fileName.substr(dot);
    const TargetKind kind = targetKindOf(target.extension);
    problem = kind.problem;
    if (problem != TargetProblem::None) return std::nullopt;
    target.type = kind.type;
    target.dpi = kind.dpi;
    return target;
}

std::string automaticExtension(int32_t dpi, bool fromColourBitmap) {
    if (fromColourBitmap) return ".BMP";
    if (dpi == 300 || dpi >= 500) return ".MH";
    if (dpi < 100) return ".MH0";
    if (dpi < 200) return ".MH1";
    if (dpi < 300) return ".MH2";
    if (dpi < 400) return ".MH3";
    return ".MH4";
}

FileTypeCode typeFor(const SaveTarget& target, const PageOrigin& origin) {
    return !target.extensionGiven() && origin.fromColourBitmap ? FileTypeCode::Bitmap : target.type;
}

std::string targetPathFor(const SaveTarget& target, const PageOrigin& origin, int sequence) {
    std::string name = target.nameGiven() ? target.name : baseNameOf(files::fileNameOf(origin.sourcePath));
    if (sequence > 0) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%03d", sequence);
        name += digits;
    } else if (!target.nameGiven() && origin.filePages > 1) {
        name += std::to_string(origin.pageInFile);
    }
    const std::string extension =
        target.extensionGiven() ? target.extension : automaticExtension(origin.dpi, origin.fromColourBitmap);
    return files::joinPath(target.folder, name + extension);
}

}  // namespace lumipage
