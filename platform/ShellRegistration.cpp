#include "platform/ShellRegistration.h"
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <span>
#include <vector>

#include "platform/AppFolders.h"
#include "platform/AtomicFile.h"

extern char** environ;

namespace lumipage::shell_registration {

namespace {

// The program's own kinds; ".MH1".."MH9" and ".BW1".. carry a resolution digit.
// shared-mime-info compares globs without regard to case by default.
constexpr const char* kMimeTypes = R"(<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-lumipage-index">
    <comment>Lumipage index file</comment>
    <glob pattern="*.lpx"/>
  </mime-type>
  <mime-type type="application/x-lumipage-book">
    <comment>Lumipage book</comment>
    <glob pattern="*.lpb"/>
  </mime-type>
  <mime-type type="image/x-lumipage-page">
    <comment>Lumipage page file</comment>
    <glob pattern="*.mh"/>
    <glob pattern="*.mh?"/>
    <glob pattern="*.bw"/>
    <glob pattern="*.bw?"/>
  </mime-type>
  <mime-type type="image/x-lumipage-fax">
    <comment>Lumipage fax file</comment>
    <glob pattern="*.fax"/>
  </mime-type>
</mime-info>
)";

constexpr const char* kMimeTypeList =
    "application/x-lumipage-index;application/x-lumipage-book;image/x-lumipage-page;image/x-lumipage-fax;"
    "image/tiff;image/bmp;";

bool writeText(const std::string& path, const std::string& text) {
    if (!files::makeFolders(files::folderOf(path))) return false;
    return writeFileAtomically(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

// Runs a cache tool when it is installed; its absence or failure is no error.
void refresh(const char* tool, const std::string& folder) {
    std::vector<std::string> words{tool, folder};
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    ::posix_spawn_file_actions_init(&quiet);
    ::posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, tool, &quiet, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) return;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

std::string execArgument(const std::string& programFile) {
    std::string quoted = "\"";
    for (const char c : programFile) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    // The desktop entry format reads "\\" in a value as one backslash.
    std::string escaped;
    for (const char c : quoted) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped;
}

bool registerProgram(const std::string& programFile, const std::string& dataHome) {
    const std::string desktop = "[Desktop Entry]\nType=Application\nName=Lumipage\nExec=" +
                                execArgument(programFile) + " %F\nTerminal=false\nMimeType=" + kMimeTypeList +
                                "\nCategories=Graphics;Viewer;\n";
    const std::string desktopPath = files::joinPath(dataHome, kDesktopFile);
    const std::string mimePath = files::joinPath(dataHome, kMimeFile);
    if (!writeText(desktopPath, desktop) || !writeText(mimePath, kMimeTypes)) return false;
    refresh("update-mime-database", files::folderOf(files::folderOf(mimePath)));
    refresh("update-desktop-database", files::folderOf(desktopPath));
    return true;
}

}  // namespace lumipage::shell_registration
