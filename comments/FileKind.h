#pragma once
#include <string_view>

namespace lumipage {

// The kind of a file by its extension group, as the comments' standard
// items and the file dialog see files. Shortcuts resolved to an existing
// target would be 7 + the target's kind; Linux links need no such step, so
// a ".LNK" file stays a shortcut.
enum class FileKind : int {
    Other = 0,
    Data = 1,
    Index = 2,
    Book = 3,
    Program = 4,
    System = 5,
    Shortcut = 6,
};

// The extension counts when it has 1 to 4 characters after the last dot of
// the last component; it is compared without regard to case.
FileKind fileKindOf(std::string_view path);

// Data, index and book files: those the page list takes.
inline bool isListable(FileKind kind) {
    return kind == FileKind::Data || kind == FileKind::Index || kind == FileKind::Book;
}

}  // namespace lumipage
