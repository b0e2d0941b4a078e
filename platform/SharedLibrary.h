#pragma once
#include <string>
#include <vector>

namespace lumipage {

// A shared library loaded at run time. A name with a folder must exist; a
// bare name is looked for beside the program first (the build tree), then in
// lib/lumipage of the prefix the program is installed in, then where the
// dynamic linker looks.
class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary() { close(); }
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    bool open(const std::string& path);
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    // The address of an exported symbol, or null.
    void* symbol(const char* name) const;

    // The files a bare `name` may be for a program in `programFolder`, in the order they are tried.
    static std::vector<std::string> candidatesFor(const std::string& programFolder, const std::string& name);

private:
    void* handle_ = nullptr;
};

}  // namespace lumipage
