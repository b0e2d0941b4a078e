// Lumipage: a viewer and organiser for monochrome document images.
#include <string>
#include <vector>

#include "app/BatchMode.h"
#include "gui/GuiStartup.h"
#include "gui/ThumbnailCommand.h"

int main(int argc, char** argv) {
    using namespace lumipage;
    // Previews and conversion need no display: they run before any window system is touched.
    if (const auto status = runThumbnailFromCommandLine(argc, argv)) return *status;
    if (const auto status = runBatchFromCommandLine(argc, argv)) return *status;
    const std::vector<std::string> args(argv + 1, argv + argc);
    return runWindow(argc, argv, args);
}
