#pragma once
#include <algorithm>
#include <cstdint>

namespace lumipage {

// Window and bitmap geometry of the view, in pixels. Rectangles are
// half-open: they hold left <= x < right and top <= y < bottom.
struct ViewPoint {
    int x = 0, y = 0;
    bool operator==(const ViewPoint&) const = default;
};

struct ViewSize {
    int cx = 0, cy = 0;
    bool operator==(const ViewSize&) const = default;
};

struct ViewRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ViewRect&) const = default;

    static ViewRect at(ViewPoint p, ViewSize s) { return {p.x, p.y, p.x + s.cx, p.y + s.cy}; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    ViewRect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    // The common part; an empty rectangle when they do not meet.
    ViewRect intersect(const ViewRect& o) const {
        ViewRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        return r.empty() ? ViewRect{} : r;
    }
};

// A colour as 0x00BBGGRR, the form the settings store.
using Colour = uint32_t;
constexpr Colour rgb(int r, int g, int b) { return Colour(r & 255) | Colour(g & 255) << 8 | Colour(b & 255) << 16; }
constexpr int redOf(Colour c) { return int(c & 255); }
constexpr int greenOf(Colour c) { return int(c >> 8 & 255); }
constexpr int blueOf(Colour c) { return int(c >> 16 & 255); }

}  // namespace lumipage
