#pragma once
#include <string>
#include <vector>

namespace lumipage {

// Makes the program known to the desktop for this user: copies the files an
// install puts under share/ (desktop entry, MIME types, icons, thumbnailer)
// into `dataHome` ($XDG_DATA_HOME), with their command lines naming this
// program file, and refreshes the desktop's caches when their tools are
// installed. The files come from `shareFolder`: share/ of the prefix the
// program is installed in, or share/ of the build folder.
namespace shell_registration {

inline constexpr const char* kProgramId = "org.lumipage.Lumipage";
// The preview maker installed beside the program.
inline constexpr const char* kThumbnailerName = "lumipage-thumbnailer";

// The files registration copies, relative to the share folder.
std::vector<std::string> registeredFiles();

// The share folder for a program in `programFolder`: ../share of an
// installed program (which holds lumipage/), else share/ beside it; empty
// when neither holds the desktop entry.
std::string shareFolderFor(const std::string& programFolder);

// False when a file could not be read or written.
bool registerProgram(const std::string& programFile, const std::string& shareFolder, const std::string& dataHome);

// The program path as a desktop entry's Exec key takes it: quoted, with the
// characters the desktop entry format reserves escaped.
std::string execArgument(const std::string& programFile);

// The text of a desktop entry or thumbnailer with the program of its Exec
// and TryExec lines replaced by `programFile`.
std::string withProgram(const std::string& text, const std::string& programFile);

}  // namespace shell_registration
}  // namespace lumipage
