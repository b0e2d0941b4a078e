#include "platform/AppFolders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace lumipage {

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : std::string();
}

std::string home() {
    std::string h = env("HOME");
    return h.empty() ? std::string("/tmp") : h;
}

}  // namespace

AppFolders AppFolders::find() {
    AppFolders f;
    std::error_code ec;
    f.programFile = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    f.programFolder = fs_util::folderOf(f.programFile);
    std::string config = env("XDG_CONFIG_HOME");
    if (config.empty()) config = home() + "/.config";
    std::string data = env("XDG_DATA_HOME");
    if (data.empty()) data = home() + "/.local/share";
    std::string temp = env("TMPDIR");
    if (temp.empty()) temp = "/tmp";
    while (temp.size() > 1 && temp.back() == '/') temp.pop_back();
    f.windowsFolder = config + "/Quor";
    f.dataFolder = data + "/Quor/Lumipage";
    f.dataHome = data;
    f.faxWorkFolder = temp + "/LpFax";
    f.currentFolder = std::filesystem::current_path(ec).string();
    return f;
}

std::string AppFolders::iniStorePath() const {
    const std::string beside = fs_util::join(programFolder, "Lumipage.ini");
    if (fs_util::isWritableFolder(programFolder)) return beside;
    return fs_util::join(windowsFolder, "Lumipage.ini");
}

namespace fs_util {

bool isFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool isWritableFolder(const std::string& path) { return isFolder(path) && ::access(path.c_str(), W_OK) == 0; }

bool makeFolders(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return isFolder(path);
}

std::string join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string absolute(const std::string& path, const std::string& base) {
    std::filesystem::path p(path);
    if (p.is_relative()) p = std::filesystem::path(base) / p;
    return p.lexically_normal().string();
}

}  // namespace fs_util
}  // namespace lumipage
