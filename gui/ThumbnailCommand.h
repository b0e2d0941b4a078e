#pragma once
#include <optional>

namespace lumipage {

// `lumipage --thumbnail INPUT OUTPUT.png SIZE`: page 1 of INPUT as a grey
// PNG of at most SIZE pixels a side, for the desktop's file previews. Runs
// without a display. Nothing when the command line asks for no thumbnail.
std::optional<int> runThumbnailFromCommandLine(int argc, char** argv);

}  // namespace lumipage
