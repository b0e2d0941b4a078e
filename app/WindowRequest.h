#pragma once
#include <optional>

namespace lumipage {

struct StartupRequest;

// Where the main window goes when the command line asks for a size or a
// position ("X", "Y", "W", "H").
struct WindowRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const WindowRect&) const = default;
};

// Nothing when no size or position was asked for. A missing width is the
// height x 4 / 3, a missing height the width x 3 / 4, neither the screen's
// size; the width is kept within 160..screen width and the height within
// 120..screen height; a missing left or top centres the window, and the
// window is moved to lie on the screen.
std::optional<WindowRect> requestedWindow(const StartupRequest& request, int screenWidth, int screenHeight);

}  // namespace lumipage
