#include "platform/ProcessLauncher.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

extern char** environ;

namespace lumipage::process {

bool startDetached(const std::string& program, const std::vector<std::string>& args) {
    // The shell below would report success for a program that cannot run.
    if (::access(program.c_str(), X_OK) != 0) return false;
    // A short-lived shell starts the program in the background and ends at
    // once; the program is then adopted by the system, so it outlives this
    // process and never becomes a zombie here. The arguments reach it as the
    // shell's positional parameters, untouched by any quoting.
    std::vector<std::string> words{"sh", "-c", "\"$0\" \"$@\" </dev/null >/dev/null 2>&1 &", program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string selfExecutable() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).string();
}

}  // namespace lumipage::process
