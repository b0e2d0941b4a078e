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
#include "platform/File.h"

extern char** environ;

namespace lumipage::shell_registration {

namespace {

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

std::vector<std::string> registeredFiles() {
    const std::string id = kProgramId;
    std::vector<std::string> list{"applications/" + id + ".desktop", "mime/packages/" + id + ".xml",
                                  "thumbnailers/lumipage.thumbnailer", "icons/hicolor/scalable/apps/" + id + ".svg"};
    for (const char* size : {"16x16", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"})
        list.push_back(std::string("icons/hicolor/") + size + "/apps/" + id + ".png");
    return list;
}

std::string shareFolderFor(const std::string& programFolder) {
    const std::string desktop = std::string("applications/") + kProgramId + ".desktop";
    for (const std::string& candidate : {files::absolutePath(files::joinPath(programFolder, "../share")),
                                         files::joinPath(programFolder, "share")}) {
        if (files::exists(files::joinPath(candidate, desktop))) return candidate;
    }
    return {};
}

std::string withProgram(const std::string& text, const std::string& programFile) {
    std::string out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string line = text.substr(start, end - start);
        start = end;
        for (const char* key : {"Exec=", "TryExec="}) {
            if (!line.starts_with(key)) continue;
            // The program is the first word; the arguments after it stay.
            const size_t keyLength = std::char_traits<char>::length(key);
            const size_t space = line.find_first_of(" \n", keyLength);
            const std::string rest = space == std::string::npos ? std::string() : line.substr(space);
            line = key + (key[0] == 'T' ? programFile : execArgument(programFile)) + rest;
            break;
        }
        out += line;
    }
    return out;
}

bool registerProgram(const std::string& programFile, const std::string& shareFolder, const std::string& dataHome) {
    if (shareFolder.empty()) return false;
    for (const std::string& name : registeredFiles()) {
        std::vector<uint8_t> bytes;
        if (!File::readAll(files::joinPath(shareFolder, name), bytes)) return false;
        std::string text(bytes.begin(), bytes.end());
        if (name.ends_with(".desktop")) text = withProgram(text, programFile);
        // Previews come from the small thumbnailer installed beside the program.
        if (name.ends_with(".thumbnailer"))
            text = withProgram(text, files::joinPath(files::folderOf(programFile), kThumbnailerName));
        if (!writeText(files::joinPath(dataHome, name), text)) return false;
    }
    refresh("update-mime-database", files::joinPath(dataHome, "mime"));
    refresh("update-desktop-database", files::joinPath(dataHome, "applications"));
    return true;
}

}  // namespace lumipage::shell_registration
