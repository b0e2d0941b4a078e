#pragma once
#include <cstdio>
#include <optional>

namespace lumipage {

class Messages;
struct Settings;
struct StartupRequest;

// Batch conversion: `lumipage -=OUT FILES...` converts every page of the
// files to OUT and ends without a window; no display is needed. Without
// "-ONE" each page gets its own file (numbered when OUT names one); with it
// all pages go into one file. Index files given add the files they list. Existing files are never replaced in this
// mode: each one is named on standard error and passed over. Messages go to
// `messages` (standard error); progress goes to `progress` when it is given.
// Returns 0 when at least one page was written, 1 otherwise.
int runBatch(const StartupRequest& request, Settings& settings, Messages& messages, std::FILE* progress);

// The program's entry for batch runs: parses the command line, reads the
// settings (not written back), and runs the conversion when "-=" was given,
// with progress on standard error when that is a terminal. Nothing when the
// command line asks for no conversion.
std::optional<int> runBatchFromCommandLine(int argc, char** argv);

}  // namespace lumipage
