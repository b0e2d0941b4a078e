#pragma once
#include <string>

namespace lumipage {

// Makes the program known to the desktop: a desktop entry that opens files
// with it, and MIME types for its own file kinds (index files, books, page
// files, fax files), installed for this user under `dataHome`
// ($XDG_DATA_HOME). The desktop's caches are refreshed when their tools are
// installed. False when the files could not be written.
namespace shell_registration {

constexpr const char* kDesktopFile = "applications/lumipage.desktop";
constexpr const char* kMimeFile = "mime/packages/lumipage.xml";

bool registerProgram(const std::string& programFile, const std::string& dataHome);

// The program path as a desktop entry's Exec key takes it: quoted, with the
// characters the desktop entry format reserves escaped.
std::string execArgument(const std::string& programFile);

}  // namespace shell_registration
}  // namespace lumipage
