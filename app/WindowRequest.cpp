#include "app/WindowRequest.h"

#include <algorithm>
#include <cstdint>

#include "app/CommandLine.h"

namespace lumipage {

namespace {

constexpr int kMinWidth = 160;
constexpr int kMinHeight = 120;

// Within lo..hi; a screen smaller than the minimum wins over the minimum.
int limit(int value, int lo, int hi) { return std::max(std::min(value, hi), std::min(lo, hi)); }

}  // namespace

std::optional<WindowRect> requestedWindow(const StartupRequest& r, int screenWidth, int screenHeight) {
    if (!r.windowWidth && !r.windowHeight && !r.windowX && !r.windowY) return std::nullopt;
    int width = screenWidth;
    int height = screenHeight;
    if (r.windowWidth && r.windowHeight) {
        width = *r.windowWidth;
        height = *r.windowHeight;
    } else if (r.windowWidth) {
        width = *r.windowWidth;
        height = int(int64_t(width) * 3 / 4);
    } else if (r.windowHeight) {
        height = *r.windowHeight;
        width = int(int64_t(height) * 4 / 3);
    }
    width = limit(width, kMinWidth, screenWidth);
    height = limit(height, kMinHeight, screenHeight);
    const int left = r.windowX ? *r.windowX : (screenWidth - width) / 2;
    const int top = r.windowY ? *r.windowY : (screenHeight - height) / 2;
    return WindowRect{std::clamp(left, 0, screenWidth - width), std::clamp(top, 0, screenHeight - height), width,
                      height};
}

}  // namespace lumipage
