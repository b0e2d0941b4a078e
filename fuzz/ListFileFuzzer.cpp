// "@name.LST" list files: any bytes, read as the command line and dropped
// files read them. Every name is whole text: never empty, never holding a
// blank, a control byte or a NUL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "document/ListFile.h"

using namespace lumipage;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 16)) return 0;
    const std::vector<uint8_t> bytes(data, data + size);
    size_t total = 0;
    for (const std::string& name : list_file::names(bytes)) {
        if (name.empty()) std::abort();
        for (const char c : name)
            if (uint8_t(c) <= 0x20) std::abort();
        total += name.size();
        list_file::isListFile(name);
    }
    // A CP932 byte becomes at most three UTF-8 bytes.
    if (total > 3 * size) std::abort();
    return 0;
}
