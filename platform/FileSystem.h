#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumipage {

// Paths and folders as the core needs them, on POSIX calls. Paths are
// compared exactly (Linux file systems tell case apart); only extensions are
// recognised without regard to case, elsewhere.
namespace files {

// The path made absolute against the working folder, with "." and ".."
// steps and repeated separators removed (nothing is resolved on disk).
std::string absolutePath(std::string_view path);

// The folder part without its trailing separator ("/" for the root); empty
// when the path has no separator.
std::string folderOf(std::string_view path);
// The last component.
std::string fileNameOf(std::string_view path);
// `name` joined to `folder` with exactly one separator between them.
std::string joinPath(std::string_view folder, std::string_view name);

bool exists(const std::string& path);
// What tells one version of a file from the next: its size and the time it
// was last written. Equal stamps: nothing has rewritten the file between.
struct Stamp {
    int64_t size = 0;
    int64_t modifiedNs = 0;
    friend bool operator==(const Stamp&, const Stamp&) = default;
};
std::optional<Stamp> stampOf(const std::string& path);
bool isDirectory(const std::string& path);
// A folder the user may create files in.
bool isWritableFolder(const std::string& path);
// Creates the folder and its parents; true when it exists afterwards.
bool makeFolders(const std::string& path);
// Read-only is "the user may not write it".
bool isReadOnly(const std::string& path);
bool removeFile(const std::string& path);
// Gives the owner write permission; true when the user may write it afterwards.
bool makeWritable(const std::string& path);

// The paths a pattern with wildcards (*, ?, [...]) matches, in the order the
// platform's search returns them; folders end in "/". A pattern without
// wildcards gives itself when it exists.
std::vector<std::string> search(const std::string& pattern);

}  // namespace files
}  // namespace lumipage
