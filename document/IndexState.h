#pragma once
#include <string>

namespace lumipage {

// The index file the page list was read from (or last saved as).
struct IndexState {
    bool inUse = false;
    std::string path;
    std::string folder;
    std::string name;         // file name with extension
    std::string displayName;  // from "FileName:", else the file name
    bool writeProtected = false;
    int pageStartBefore = 0;  // the page start position in force before the index was opened

    void forget() { *this = IndexState{}; }
};

}  // namespace lumipage
