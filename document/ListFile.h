#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace lumipage {

// "@name.LST" list files: text files naming the files to open.
namespace list_file {

// Whether a path names a list file: a name starting with "@" and ending in ".LST" (any case).
bool isListFile(const std::string& path);
// The names in a list file: separated by any byte up to a blank, ended by NUL
// or 0x1A; each name is CP932 text, returned in UTF-8.
std::vector<std::string> names(const std::vector<uint8_t>& bytes);

}  // namespace list_file

}  // namespace lumipage
