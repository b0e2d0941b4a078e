#pragma once
#include <optional>
#include <string>

namespace lumipage {

struct StartupRequest;

// The stored start-up window size ("Option" "WindowSize", "mode:width:height"):
// mode 0 keeps the size the window had at the last exit, 1 asks for the
// given width and height, 2 for a maximised window. A width or height of -1
// is missing; the start-up rules then derive it from the other one (4:3).
struct WindowSizeSetting {
    static constexpr int kAtLastExit = 0;
    static constexpr int kGiven = 1;
    static constexpr int kMaximised = 2;
    static constexpr int kMissing = -1;

    int mode = kAtLastExit;
    int width = kMissing;
    int height = kMissing;

    // Nothing for text that is not three numbers joined by ":".
    static std::optional<WindowSizeSetting> parse(const std::string& text);
    std::string format() const;
    bool operator==(const WindowSizeSetting&) const = default;
};

// The stored size is the start-up window request the command line's "W",
// "H" and "WMAX" switches then override.
void applyStoredWindowSize(const std::optional<std::string>& stored, StartupRequest& request);

}  // namespace lumipage
