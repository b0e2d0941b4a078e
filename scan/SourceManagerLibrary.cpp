#include "scan/SourceManagerLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "platform/FileSystem.h"

namespace lumipage {

DlopenSourceManager::DlopenSourceManager(std::string path) : path_(std::move(path)) {}

DlopenSourceManager::~DlopenSourceManager() { unload(); }

void* DlopenSourceManager::open() const {
    if (path_.empty()) return nullptr;
    if (path_.find('/') != std::string::npos) {
        if (!files::exists(path_)) return nullptr;
        return dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0) {
        for (const std::string& candidate : candidatesFor(files::folderOf(std::string(self, size_t(length))), path_)) {
            if (!files::exists(candidate)) continue;
            if (void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
        }
    }
    return dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
}

std::vector<std::string> DlopenSourceManager::candidatesFor(const std::string& programFolder,
                                                            const std::string& name) {
    return {files::joinPath(programFolder, name),
            files::absolutePath(files::joinPath(programFolder, "../lib/lumipage/" + name))};
}

DsmEntry DlopenSourceManager::load() {
    unload();
    handle_ = open();
    if (!handle_) return {};
    auto entry = reinterpret_cast<twain::DSMENTRYPROC>(dlsym(handle_, "DSM_Entry"));
    if (!entry) {
        unload();
        return {};
    }
    return entry;
}

void DlopenSourceManager::unload() {
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
}

}  // namespace lumipage
