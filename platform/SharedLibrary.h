#pragma once
#include <string>

namespace lumipage {

// A shared library loaded at run time. A name with a folder must exist; a
// bare name is looked for beside the program first, then where the dynamic
// linker looks.
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

private:
    void* handle_ = nullptr;
};

}  // namespace lumipage
