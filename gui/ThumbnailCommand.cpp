#include "gui/ThumbnailCommand.h"

#include <cstring>

#include "app/PageThumbnail.h"

namespace lumipage {

std::optional<int> runThumbnailFromCommandLine(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--thumbnail") != 0) return std::nullopt;
    return runThumbnailCommand(argc - 2, argv + 2);
}

}  // namespace lumipage
