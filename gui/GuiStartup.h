#pragma once
#include <memory>
#include <string>
#include <vector>

namespace lumipage {

// A run with the window: the application object starts up (settings,
// command line, files, a print-all batch command), the main window answers
// the user and the other running copies, and the settings are written at
// the end. Returns the program's exit status.
int runWindow(int argc, char** argv, const std::vector<std::string>& args);

}  // namespace lumipage
