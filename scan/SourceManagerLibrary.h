#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/SharedLibrary.h"
#include "twain/TwainTypes.h"

namespace lumipage {

// The entry point of a TWAIN source manager, as the session calls it.
using DsmEntry = std::function<twain::TW_UINT16(twain::TW_IDENTITY* origin, twain::TW_IDENTITY* destination,
                                                 twain::TW_UINT32 dg, twain::TW_UINT16 dat, twain::TW_UINT16 msg,
                                                 twain::TW_MEMREF data)>;

// Where the session gets its source manager from: a shared library in the
// program, a scripted stand-in in tests.
class SourceManagerLibrary {
public:
    virtual ~SourceManagerLibrary() = default;
    // Loads the manager; an empty function when it cannot be loaded.
    virtual DsmEntry load() = 0;
    virtual void unload() = 0;
};

// A source manager in a shared library with the entry point "DSM_Entry". A
// bare name is looked for beside the program first (the build tree), then
// in lib/lumipage of the prefix the program is installed in, then where the
// dynamic linker looks; a name with a folder must exist.
class DlopenSourceManager : public SourceManagerLibrary {
public:
    explicit DlopenSourceManager(std::string path);
    ~DlopenSourceManager() override;
    DlopenSourceManager(const DlopenSourceManager&) = delete;
    DlopenSourceManager& operator=(const DlopenSourceManager&) = delete;

    DsmEntry load() override;
    void unload() override;

    // The files a bare `name` may be for a program in `programFolder`, in the order they are tried.
    static std::vector<std::string> candidatesFor(const std::string& programFolder, const std::string& name);

private:
    std::string path_;
    SharedLibrary library_;
};

}  // namespace lumipage
