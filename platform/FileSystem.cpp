#include "platform/FileSystem.h"

#include <filesystem>

#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace lumipage::files {

namespace {

std::string workingFolder() {
    std::unique_ptr<char, decltype(&::free)> cwd(::getcwd(nullptr, 0), &::free);
    return cwd ? std::string(cwd.get()) : std::string("/");
}

}  // namespace

std::string absolutePath(std::string_view path) {
    std::string full = path.starts_with('/') ? std::string(path) : workingFolder() + "/" + std::string(path);
    std::vector<std::string_view> parts;
    std::string_view rest(full);
    while (!rest.empty()) {
        const size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (const std::string_view part : parts) {
        out += '/';
        out += part;
    }
    return out.empty() ? std::string("/") : out;
}

std::string folderOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {};
    return slash == 0 ? std::string("/") : std::string(path.substr(0, slash));
}

std::string fileNameOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (out.empty() || out.back() != '/') out += '/';
    while (name.starts_with('/')) name.remove_prefix(1);
    out += name;
    return out;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::optional<Stamp> stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return Stamp{int64_t(st.st_size), int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isWritableFolder(const std::string& path) { return isDirectory(path) && ::access(path.c_str(), W_OK) == 0; }

bool makeFolders(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return isDirectory(path);
}

bool isReadOnly(const std::string& path) { return exists(path) && ::access(path.c_str(), W_OK) != 0; }

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool makeWritable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    if (::access(path.c_str(), W_OK) == 0) return true;
    return ::chmod(path.c_str(), st.st_mode | S_IWUSR) == 0 && ::access(path.c_str(), W_OK) == 0;
}

std::vector<std::string> search(const std::string& pattern) {
    glob_t found{};
    std::vector<std::string> out;
    if (::glob(pattern.c_str(), GLOB_MARK, nullptr, &found) == 0)
        for (size_t i = 0; i < found.gl_pathc; ++i) out.emplace_back(found.gl_pathv[i]);
    ::globfree(&found);
    return out;
}

}  // namespace lumipage::files
