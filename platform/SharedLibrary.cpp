#include "platform/SharedLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "platform/FileSystem.h"

namespace lumipage {

namespace {

void* openNamed(const std::string& path) {
    if (path.empty()) return nullptr;
    if (path.find('/') != std::string::npos) {
        if (!files::exists(path)) return nullptr;
        return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0) {
        for (const std::string& candidate :
             SharedLibrary::candidatesFor(files::folderOf(std::string(self, size_t(length))), path)) {
            if (!files::exists(candidate)) continue;
            if (void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
        }
    }
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

bool SharedLibrary::open(const std::string& path) {
    close();
    handle_ = openNamed(path);
    return handle_ != nullptr;
}

void SharedLibrary::close() {
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
}

std::vector<std::string> SharedLibrary::candidatesFor(const std::string& programFolder, const std::string& name) {
    return {files::joinPath(programFolder, name),
            files::absolutePath(files::joinPath(programFolder, "../lib/lumipage/" + name))};
}

void* SharedLibrary::symbol(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

}  // namespace lumipage
