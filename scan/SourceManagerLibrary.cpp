#include "scan/SourceManagerLibrary.h"

namespace lumipage {

DlopenSourceManager::DlopenSourceManager(std::string path) : path_(std::move(path)) {}

DlopenSourceManager::~DlopenSourceManager() { unload(); }

DsmEntry DlopenSourceManager::load() {
    unload();
    if (!library_.open(path_)) return {};
    auto entry = reinterpret_cast<twain::DSMENTRYPROC>(library_.symbol("DSM_Entry"));
    if (!entry) {
        unload();
        return {};
    }
    return entry;
}

void DlopenSourceManager::unload() { library_.close(); }

std::vector<std::string> DlopenSourceManager::candidatesFor(const std::string& programFolder,
                                                            const std::string& name) {
    return SharedLibrary::candidatesFor(programFolder, name);
}

}  // namespace lumipage
