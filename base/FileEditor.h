#pragma once
#include <string>

namespace lumipage {

// Hands a file to the program the desktop edits files of its kind with.
class FileEditor {
public:
    virtual ~FileEditor() = default;
    // Whether such a program is known for the file.
    virtual bool knowsProgramFor(const std::string& path) = 0;
    // Starts it on the file and returns when it has ended; false when it could not start.
    virtual bool editAndWait(const std::string& path) = 0;
};

}  // namespace lumipage
