#include "platform/AppFolders.h"
#include "platform/FileSystem.h"

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
    f.programFolder = files::folderOf(f.programFile);
    f.sharedFolder = installedShareOf(f.programFolder);
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

std::string AppFolders::installedShareOf(const std::string& programFolder) {
    if (programFolder.empty()) return {};
    const std::string share = files::absolutePath(files::joinPath(programFolder, "../share/lumipage"));
    return files::isDirectory(share) ? share : std::string();
}

std::string AppFolders::iniStorePath() const {
    const std::string beside = files::joinPath(programFolder, "Lumipage.ini");
    if (files::isWritableFolder(programFolder)) return beside;
    return files::joinPath(windowsFolder, "Lumipage.ini");
}

}  // namespace lumipage
