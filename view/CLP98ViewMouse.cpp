#include <algorithm>

#include "view/CLP98View.h"

// The operations of the page view that the mouse gestures call.

namespace lumipage {

ViewRect CLP98View::imageOnScreen() const {
    if (!hasBitmap()) return {};
    return ViewRect::at(imageOrigin(), bitmapSize()).intersect(ViewRect::at({}, clientSize()));
}

ViewPoint CLP98View::bitmapPoint(ViewPoint client) const {
    const ViewPoint o = imageOrigin();
    return {client.x - o.x, client.y - o.y};
}

void CLP98View::zoomByMouseAt(int level, ViewPoint client) {
    if (!pageShown()) return;
    savedLevel_ = -1;
    fitMode_ = kFitNone;
    ZoomAtPoint(level, client.x, client.y);
}

void CLP98View::toggleOneToOneAt(ViewPoint client) {
    if (!pageShown()) return;
    if (level_ == zoom::kOneToOne) {
        if (savedLevel_ < 0) return;
        const int back = savedLevel_;
        fitMode_ = savedFitMode_;
        savedLevel_ = -1;
        ZoomAtPoint(back, client.x, client.y);
        return;
    }
    savedLevel_ = level_;
    savedFitMode_ = fitMode_;
    fitMode_ = kFitNone;
    ZoomAtPoint(zoom::kOneToOne, client.x, client.y);
}

ViewPoint CLP98View::scrollToClamped(ViewPoint position) {
    const ViewPoint before = scrollPosition();
    userScrollTo(position);
    const ViewPoint after = scrollPosition();
    return {after.x - before.x, after.y - before.y};
}

ViewPoint CLP98View::scrollByClamped(ViewPoint delta) {
    const ViewPoint at = scrollPosition();
    return scrollToClamped({at.x + delta.x, at.y + delta.y});
}

ViewPoint CLP98View::centreFrameOn(ViewPoint client) {
    if (!frameShown()) return {};
    const ViewPoint before = scrollPosition();
    const ViewPoint centre = bitmapPoint(client);
    const ViewSize size = bitmapSize();
    const int x = std::clamp(centre.x - frame_.width() / 2, 0, std::max(0, size.cx - frame_.width()));
    const int y = std::clamp(centre.y - frame_.height() / 2, 0, std::max(0, size.cy - frame_.height()));
    invalidateFrame(frame_);
    frame_ = ViewRect::at({x, y}, {frame_.width(), frame_.height()});
    showFrameInWindow();
    keepFrameInside();
    invalidateFrame(frame_);
    const ViewPoint after = scrollPosition();
    return {after.x - before.x, after.y - before.y};
}

}  // namespace lumipage
