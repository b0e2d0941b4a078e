#pragma once
#include "view/ViewTypes.h"

namespace lumipage {

// Where the pointer is among the edge zones of the page image, and which of
// them are at their limit: the pointer is in the zone and the view cannot
// scroll further that way.
struct EdgeState {
    bool top = false, bottom = false, left = false, right = false;
    bool topLimit = false, bottomLimit = false, leftLimit = false, rightLimit = false;

    bool inAnyZone() const { return top || bottom || left || right; }
};

// Automatic scrolling at the edges of the page image. The zones are strips
// along the sides of the visible part of the image, as wide as the margin
// of that direction; a pointer moved into one scrolls the view by how deep
// it went into the strip. The scrolling only follows a move that started in
// the inner part (or that scrolled itself), so a pointer coming in from
// outside the window lands in a zone without moving the page.
class EdgeScroller {
public:
    static constexpr int kMostMargin = 32;
    static constexpr int kLeastMargin = 2;

    // The view as the scroller sees it, in client coordinates.
    struct Geometry {
        ViewRect area;  // the page image's visible part
        ViewSize bitmap;
        ViewPoint scroll;
        ViewPoint maxScroll;
    };

    // A third of the bitmap's side, at least 2 and at most 32 pixels.
    static int margin(int bitmapSide);

    // The scroll a move to `p` asks for, (0, 0) when none; `switchedOn`
    // says whether edge scrolling is active for this move.
    ViewPoint scrollFor(ViewPoint p, const Geometry& g, bool switchedOn) const;
    // After the move (and the scroll it caused, `scrolled`), with the view
    // as it is now: the zones and limits at `p`, and whether the next move
    // may scroll.
    EdgeState settle(ViewPoint p, const Geometry& g, ViewPoint scrolled);
    // The pointer left the page image.
    void disarm() { armed_ = false; }
    bool armed() const { return armed_; }

private:
    EdgeState zonesAt(ViewPoint p, const Geometry& g) const;

    bool armed_ = false;
    bool bottomReached_ = false;  // scrolled to the end: stays at the limit until the pointer leaves the strip
};

}  // namespace lumipage
