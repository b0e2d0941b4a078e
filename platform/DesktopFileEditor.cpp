#include "platform/DesktopFileEditor.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/File.h"

extern char** environ;

namespace lumipage {

namespace {

constexpr auto kWaitStep = std::chrono::milliseconds(100);

std::vector<char*> argvOf(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

// Runs a program found on PATH and returns the first line it prints.
std::optional<std::string> firstLineOf(std::vector<std::string> args) {
    int fds[2];
    if (::pipe(fds) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", 0, 0);
    std::vector<char*> argv = argvOf(args);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    std::string out;
    char buffer[512];
    for (ssize_t n; spawned == 0 && (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, size_t(n));
    ::close(fds[0]);
    int status = 0;
    if (spawned != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    out = out.substr(0, out.find('\n'));
    if (out.empty()) return std::nullopt;
    return out;
}

std::vector<std::string> applicationFolders() {
    std::vector<std::string> folders;
    const char* home = std::getenv("HOME");
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome) folders.push_back(std::string(dataHome) + "/applications");
    else if (home && *home) folders.push_back(std::string(home) + "/.local/share/applications");
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string_view rest = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    while (!rest.empty()) {
        const size_t colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        if (!dir.empty()) folders.push_back(std::string(dir) + "/applications");
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return folders;
}

}  // namespace

std::optional<std::string> DesktopFileEditor::execLineOf(std::string_view text) {
    bool inEntry = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.starts_with('[')) inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.starts_with("Exec=")) return std::string(line.substr(5));
    }
    return std::nullopt;
}

std::vector<std::string> DesktopFileEditor::execArguments(std::string_view exec, const std::string& path) {
    std::vector<std::string> args;
    bool placed = false;
    size_t i = 0;
    while (i < exec.size()) {
        while (i < exec.size() && exec[i] == ' ') ++i;
        if (i >= exec.size()) break;
        std::string arg;
        bool dropped = false;
        const bool quoted = exec[i] == '"';
        if (quoted) ++i;
        for (; i < exec.size() && (quoted ? exec[i] != '"' : exec[i] != ' '); ++i) {
            const char c = exec[i];
            if (quoted && c == '\\' && i + 1 < exec.size()) {
                arg += exec[++i];
            } else if (c == '%' && i + 1 < exec.size()) {
                const char code = exec[++i];
                if (code == '%') arg += '%';
                else if (code == 'f' || code == 'F' || code == 'u' || code == 'U') arg += path, placed = true;
                else dropped = arg.empty();  // %i, %c, %k and deprecated codes
            } else {
                arg += c;
            }
        }
        if (quoted && i < exec.size()) ++i;
        if (!arg.empty() || (quoted && !dropped)) args.push_back(std::move(arg));
    }
    if (!placed && !args.empty()) args.push_back(path);
    return args;
}

std::optional<std::vector<std::string>> DesktopFileEditor::commandFor(const std::string& path) const {
    const auto type = firstLineOf({"xdg-mime", "query", "filetype", path});
    if (!type) return std::nullopt;
    const auto entry = firstLineOf({"xdg-mime", "query", "default", *type});
    if (!entry || entry->find('/') != std::string::npos) return std::nullopt;
    for (const std::string& folder : applicationFolders()) {
        std::vector<uint8_t> bytes;
        if (!File::readAll(folder + "/" + *entry, bytes)) continue;
        const auto exec = execLineOf(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        if (!exec) return std::nullopt;
        std::vector<std::string> args = execArguments(*exec, path);
        if (args.empty()) return std::nullopt;
        return args;
    }
    return std::nullopt;
}

bool DesktopFileEditor::editAndWait(const std::string& path) {
    auto command = commandFor(path);
    if (!command) return false;
    std::vector<char*> argv = argvOf(*command);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (pump_) pump_();
        std::this_thread::sleep_for(kWaitStep);
    }
    return true;
}

}  // namespace lumipage
