#include "comments/FileKind.h"

#include <array>
#include <string>

namespace lumipage {

namespace {

struct Group {
    FileKind kind;
    std::array<std::string_view, 9> entries;  // "*" at the end matches any rest
};

constexpr std::array<Group, 6> kGroups{{
    {FileKind::Data, {".MH*", ".BW*", ".TIF", ".TIFF", ".BMP", ".FAX"}},
    {FileKind::Index, {".LPX"}},
    {FileKind::Book, {".LPB"}},
    {FileKind::Program, {".EXE", ".COM", ".BAT"}},
    {FileKind::System, {".OCX", ".DLL", ".SYS", ".VXD", ".DRV", ".INI", ".REG", ".ICN", ".FNT"}},
    {FileKind::Shortcut, {".LNK"}},
}};

bool matches(std::string_view ext, std::string_view entry) {
    if (entry.ends_with('*')) return ext.starts_with(entry.substr(0, entry.size() - 1));
    return ext == entry;
}

}  // namespace

FileKind fileKindOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return FileKind::Other;
    const size_t length = name.size() - dot - 1;
    if (length < 1 || length > 4) return FileKind::Other;
    std::string ext(name.substr(dot));
    for (char& c : ext)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    for (const Group& g : kGroups)
        for (const std::string_view entry : g.entries)
            if (!entry.empty() && matches(ext, entry)) return g.kind;
    return FileKind::Other;
}

}  // namespace lumipage
