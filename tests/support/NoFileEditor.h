#pragma once
#include "base/FileEditor.h"

namespace lumipage::test {

// A desktop that knows no program to edit page files with.
class NoFileEditor : public FileEditor {
public:
    bool knowsProgramFor(const std::string&) override { return false; }
    bool editAndWait(const std::string&) override { return false; }
};

}  // namespace lumipage::test
