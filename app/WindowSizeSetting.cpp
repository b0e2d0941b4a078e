#include "app/WindowSizeSetting.h"

#include <charconv>
#include <string_view>

#include "app/CommandLine.h"

namespace lumipage {

namespace {

// One decimal number, the whole of `text`.
std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<WindowSizeSetting> WindowSizeSetting::parse(const std::string& text) {
    const std::string_view all(text);
    const size_t first = all.find(':');
    if (first == std::string_view::npos) return std::nullopt;
    const size_t second = all.find(':', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const auto mode = wholeNumber(all.substr(0, first));
    const auto width = wholeNumber(all.substr(first + 1, second - first - 1));
    const auto height = wholeNumber(all.substr(second + 1));
    if (!mode || !width || !height) return std::nullopt;
    return WindowSizeSetting{*mode, *width, *height};
}

std::string WindowSizeSetting::format() const {
    return std::to_string(mode) + ":" + std::to_string(width) + ":" + std::to_string(height);
}

void applyStoredWindowSize(const std::optional<std::string>& stored, StartupRequest& request) {
    if (!stored) return;
    const auto size = WindowSizeSetting::parse(*stored);
    if (!size) return;
    if (size->mode == WindowSizeSetting::kMaximised) {
        request.windowSizeMode = WindowSizeSetting::kMaximised;
    } else if (size->mode == WindowSizeSetting::kGiven && (size->width > 0 || size->height > 0)) {
        request.windowSizeMode = WindowSizeSetting::kGiven;
        if (size->width > 0) request.windowWidth = size->width;
        if (size->height > 0) request.windowHeight = size->height;
    }
}

}  // namespace lumipage
