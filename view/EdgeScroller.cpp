#include "view/EdgeScroller.h"

#include <algorithm>

namespace lumipage {

namespace {

bool contains(const ViewRect& r, ViewPoint p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

}  // namespace

int EdgeScroller::margin(int bitmapSide) { return std::min(kMostMargin, std::max(kLeastMargin, bitmapSide / 3)); }

EdgeState EdgeScroller::zonesAt(ViewPoint p, const Geometry& g) const {
    EdgeState s;
    if (!contains(g.area, p)) return s;
    const int mx = margin(g.bitmap.cx), my = margin(g.bitmap.cy);
    s.top = p.y < g.area.top + my;
    s.bottom = p.y >= g.area.bottom - my;
    s.left = p.x < g.area.left + mx;
    s.right = p.x >= g.area.right - mx;
    return s;
}

// Up and left by the depth of the pointer in the strip, down and right by
// how far it is past the strip's inner line; never past either end.
ViewPoint EdgeScroller::scrollFor(ViewPoint p, const Geometry& g, bool switchedOn) const {
    if (!switchedOn || !armed_) return {};
    const EdgeState z = zonesAt(p, g);
    const int mx = margin(g.bitmap.cx), my = margin(g.bitmap.cy);
    ViewPoint d;
    if (z.top && g.scroll.y > 0) d.y = -std::min(g.area.top + my - p.y, g.scroll.y);
    else if (z.bottom && g.scroll.y < g.maxScroll.y && !bottomReached_)
        d.y = std::min(p.y + my - g.area.bottom, g.maxScroll.y - g.scroll.y);
    if (z.left && g.scroll.x > 0) d.x = -std::min(g.area.left + mx - p.x, g.scroll.x);
    else if (z.right && g.scroll.x < g.maxScroll.x) d.x = std::min(p.x + mx - g.area.right, g.maxScroll.x - g.scroll.x);
    return d;
}

EdgeState EdgeScroller::settle(ViewPoint p, const Geometry& g, ViewPoint scrolled) {
    EdgeState s = zonesAt(p, g);
    if (!s.bottom) bottomReached_ = false;
    if (scrolled.y > 0 && g.scroll.y >= g.maxScroll.y) bottomReached_ = true;
    s.topLimit = s.top && g.scroll.y <= 0;
    s.bottomLimit = s.bottom && (g.scroll.y >= g.maxScroll.y || bottomReached_);
    s.leftLimit = s.left && g.scroll.x <= 0;
    s.rightLimit = s.right && g.scroll.x >= g.maxScroll.x;
    const bool inner = contains(g.area, p) && !s.inAnyZone();
    armed_ = inner || scrolled != ViewPoint{};
    return s;
}

}  // namespace lumipage
