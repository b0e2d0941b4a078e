#pragma once
#include <memory>
#include <string>
#include <vector>

namespace lumipage {

struct StartupRequest;

// Everything a windowed run needs, built in start-up order: settings from
// the store, the page list and its document, the files of the command line
// and the main window; the settings go back to the store at exit.
// Returns the program's exit status.
int runWindow(int argc, char** argv, const std::vector<std::string>& args);

// Batch commands (print, fax or convert all) run without a window.
int runBatch(const StartupRequest& request);

}  // namespace lumipage
