#pragma once
#include <optional>
#include <string>
#include <vector>

namespace lumipage {

struct Settings;

// The arguments (without the program name) with which the program starts
// further copies of itself. Colours go as the settings hold them.
namespace launch_lines {

// The manual or the guide book in a plain 720 x 540 window that saves nothing.
std::vector<std::string> bookViewer(const Settings& settings, const std::string& bookPath);

struct PreviewWindow {
    int left = 0, top = 0, width = 0, height = 0;
};

// A file preview of the file dialog: a top-most copy without bars or menus
// at the given place, titled as a preview; page 0 shows the first page.
std::vector<std::string> preview(const Settings& settings, const PreviewWindow& window, int page,
                                 const std::optional<std::string>& path);

}  // namespace launch_lines
}  // namespace lumipage
