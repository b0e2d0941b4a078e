#pragma once
#include <string>

namespace lumipage {

// What the page list and the document tell the rest of the program: the file
// dialog (it lists open files and the index in use), the recent-file list and
// scanning. Every notice does nothing unless overridden.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    virtual void pathLeftList(const std::string& /*path*/) {}
    virtual void indexChanged() {}
    virtual void fileWritten(const std::string& /*path*/) {}
    virtual void addRecentFile(const std::string& /*path*/) {}
    virtual void removeRecentFile(const std::string& /*path*/) {}
    // A missing .TIF was opened: scanning creates it (new scan command).
    virtual void scanNewFile(const std::string& /*path*/) {}
};

}  // namespace lumipage
