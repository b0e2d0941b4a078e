#include "twaindsm/SourceDialog.h"

#include <dlfcn.h>

#include <string>

namespace lumipage::twaindsm {

namespace {

using Entry = int (*)(SANE_Handle, const char*);

constexpr const char* kLibrary = "libtwaindsm-options.so";

Entry loadEntry() {
    Dl_info self{};
    if (!dladdr(reinterpret_cast<void*>(&showSourceDialog), &self) || !self.dli_fname) return nullptr;
    std::string path = self.dli_fname;
    const size_t slash = path.rfind('/');
    path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + kLibrary;
    // Kept loaded: a library of window code cannot be unloaded safely.
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    return library ? reinterpret_cast<Entry>(dlsym(library, "lumipage_sane_options_dialog")) : nullptr;
}

}  // namespace

SourceDialogAnswer showSourceDialog(SANE_Handle handle, const char* device) {
    static const Entry entry = loadEntry();
    if (!entry) return SourceDialogAnswer::NotShown;
    switch (entry(handle, device)) {
    case 1: return SourceDialogAnswer::Scan;
    case 0: return SourceDialogAnswer::Cancelled;
    default: return SourceDialogAnswer::NotShown;
    }
}

}  // namespace lumipage::twaindsm
