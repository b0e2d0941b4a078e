#include "app/WindowPlacement.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "app/CommandLine.h"

namespace lumipage {

namespace {

constexpr int kMinWidth = 160;
constexpr int kMinHeight = 120;

}  // namespace

std::optional<WindowPlacement> WindowPlacement::parse(const std::string& text) {
    std::array<int, 10> v{};
    const char* p = text.data();
    const char* end = p + text.size();
    for (size_t i = 0; i < v.size(); ++i) {
        if (i > 0) {
            if (p == end || *p != ':') return std::nullopt;
            ++p;
        }
        const auto [next, error] = std::from_chars(p, end, v[i]);
        if (error != std::errc()) return std::nullopt;
        p = next;
    }
    if (p != end) return std::nullopt;
    WindowPlacement w;
    w.flags = v[0];
    w.showCommand = v[1];
    w.minimised = {v[2], v[3]};
    w.maximised = {v[4], v[5]};
    w.normal = {v[6], v[7], v[8], v[9]};
    return w;
}

std::string WindowPlacement::format() const {
    std::string s;
    for (const int v : {flags, showCommand, minimised.x, minimised.y, maximised.x, maximised.y, normal.left,
                        normal.top, normal.right, normal.bottom}) {
        if (!s.empty()) s += ':';
        s += std::to_string(v);
    }
    return s;
}

WindowPlacement WindowPlacement::atExit(const ViewRect& normal, bool maximised) {
    WindowPlacement w;
    w.normal = normal;
    w.flags = maximised ? kRestoreToMaximised : 0;
    w.showCommand = maximised ? kShowMaximised : kShowNormal;
    w.minimised = {-1, -1};
    w.maximised = {-1, -1};
    return w;
}

void WindowPlacement::fitInto(const ViewRect& area) {
    if (normal.right > area.right) {
        const int width = normal.width();
        normal.right = area.right;
        normal.left = std::max(area.left, normal.right - width);
    }
    if (normal.bottom > area.bottom) {
        const int height = normal.height();
        normal.bottom = area.bottom;
        normal.top = std::max(area.top, normal.bottom - height);
    }
}

std::optional<ViewRect> requestedWindowRect(const StartupRequest& request, ViewSize screen) {
    if (!request.windowX && !request.windowY && !request.windowWidth && !request.windowHeight) return std::nullopt;
    int width = screen.cx, height = screen.cy;
    if (request.windowWidth && request.windowHeight) {
        width = *request.windowWidth;
        height = *request.windowHeight;
    } else if (request.windowHeight) {
        height = *request.windowHeight;
        width = height * 4 / 3;
    } else if (request.windowWidth) {
        width = *request.windowWidth;
        height = width * 3 / 4;
    }
    width = std::clamp(width, kMinWidth, std::max(kMinWidth, screen.cx));
    height = std::clamp(height, kMinHeight, std::max(kMinHeight, screen.cy));
    int left = request.windowX ? *request.windowX : (screen.cx - width) / 2;
    int top = request.windowY ? *request.windowY : (screen.cy - height) / 2;
    left = std::clamp(left, 0, std::max(0, screen.cx - width));
    top = std::clamp(top, 0, std::max(0, screen.cy - height));
    return ViewRect{left, top, left + width, top + height};
}

}  // namespace lumipage
