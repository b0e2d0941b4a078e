#include <algorithm>

#include "base/Settings.h"
#include "view/CLP98View.h"

// Zoom levels, fitting, scrolling and the zoom frame of the page view.

namespace lumipage {

namespace {

ViewPoint rescale(ViewPoint p, int fromLevel, int toLevel) {
    return {zoom::rescale(p.x, fromLevel, toLevel), zoom::rescale(p.y, fromLevel, toLevel)};
}

}  // namespace

// The whole-page level is the closest one at which the page fits the
// window both ways, the width level the closest at which its width fits.
int CLP98View::FitLevel(int mode) const {
    const PageRaster* page = displayedPage();
    if (mode == kFitNone || !page) return level_;
    const ViewSize client = host_.clientSize();
    int widthLevel = 0, wholeLevel = 0;
    for (int l = 0; l < zoom::kLevels; ++l) {
        const int64_t d = zoom::divisor(l);
        if (client.cx < int64_t(page->width) * 10 / d) continue;
        widthLevel = l;
        if (client.cy >= int64_t(page->height) * 10 / d) wholeLevel = l;
    }
    if (mode == kFitWholePage) return wholeLevel;
    if (mode == kFitPageWidth) return widthLevel;
    return std::min(widthLevel + 2, int(zoom::kOneToOne));
}

void CLP98View::raiseFrameLevel() {
    if (level_ >= frameLevel_) frameLevel_ = std::min(level_ + 1, int(zoom::kOneToOne));
}

void CLP98View::SetZoomLevel(int level) { zoomTo(level, {0, 0}); }

void CLP98View::ZoomAtPoint(int level, int x, int y) { zoomTo(level, {x, y}); }

// The page point at client point `anchor` stays there: the scroll position
// and the frame are carried over to the new level's coordinates.
void CLP98View::zoomTo(int level, ViewPoint anchor) {
    level = std::clamp(level, 0, int(zoom::kOneToOne));
    if (level == level_) return;
    const int old = level_;
    const ViewPoint oldScroll = scrollPosition();
    // The bitmap pixel under the anchor: the anchor plus the scroll position,
    // or less the margin when a page narrower than the window is centred.
    const ViewPoint scaled = rescale(bitmapPoint(anchor), old, level);
    const ViewPoint framePosition = rescale({frame_.left, frame_.top}, old, level);
    ClearDisplayBitmap(orientation_.inverted());
    if (!BuildDisplayBitmap(level)) {
        rebuildAt(old, oldScroll);
        return;
    }
    level_ = level;
    raiseFrameLevel();
    scrollTo({scaled.x - anchor.x, scaled.y - anchor.y});
    frame_ = ViewRect::at(framePosition, frameSize());
    keepFrameInside();
    RenderPage();
    host_.invalidate();
    repaintPending_ = true;
}

// The way back when a bitmap cannot be built at a new level.
void CLP98View::rebuildAt(int level, ViewPoint scroll) {
    if (!BuildDisplayBitmap(level)) return;
    scrollTo(scroll);
    RenderPage();
    host_.invalidate();
    repaintPending_ = true;
}

void CLP98View::ScrollToEdges(int horizontal, int vertical) {
    const ViewPoint most = maxScroll();
    const ViewSize size = bitmapSize();
    auto position = [](int code, int end) { return code == kEdgeEnd ? end : code == kEdgeCentre ? end / 2 : 0; };
    auto framePosition = [](int code, int end, int current) {
        return code == kEdgeStart ? 0 : code == kEdgeEnd ? end : code == kEdgeCentre ? end / 2 : current;
    };
    frame_ = ViewRect::at({framePosition(horizontal, size.cx - frame_.width(), frame_.left),
                           framePosition(vertical, size.cy - frame_.height(), frame_.top)},
                          {frame_.width(), frame_.height()});
    scrollTo({position(horizontal, most.x), position(vertical, most.y)});
    host_.invalidate();
}

void CLP98View::ScrollHorizontal(int code) { scrollBy(code, Axis::Horizontal); }
void CLP98View::ScrollVertical(int code) { scrollBy(code, Axis::Vertical); }

// Without the frame the codes act as the scroll bars; with it they move the
// frame, and the view follows when the frame would leave the window.
void CLP98View::scrollBy(int code, Axis axis) {
    const bool horizontal = axis == Axis::Horizontal;
    const bool frame = frameShown();
    const ViewSize size = bitmapSize();
    const int line = horizontal ? lineSize().cx : lineSize().cy;
    const int page = horizontal ? pageSize().cx : pageSize().cy;
    const int current = frame ? (horizontal ? frame_.left : frame_.top)
                              : (horizontal ? scrollPosition().x : scrollPosition().y);
    const int end = frame ? (horizontal ? size.cx - frame_.width() : size.cy - frame_.height())
                          : (horizontal ? maxScroll().x : maxScroll().y);
    int next = current;
    switch (code) {
        case kLineUp: next = current - line; break;
        case kLineDown: next = current + line; break;
        case kPageUp: next = current - page; break;
        case kPageDown: next = current + page; break;
        case kTop: next = 0; break;
        case kBottom: next = end; break;
        default: return;
    }
    next = std::clamp(next, 0, std::max(end, 0));
    if (!frame) {
        ViewPoint p = scrollPosition();
        (horizontal ? p.x : p.y) = next;
        scrollTo(p);
        return;
    }
    invalidateFrame(frame_);
    frame_ = horizontal ? frame_.offset(next - frame_.left, 0) : frame_.offset(0, next - frame_.top);
    showFrameInWindow();
    invalidateFrame(frame_);
}

void CLP98View::userScrollTo(ViewPoint position) {
    const ViewPoint before = scrollPosition();
    scrollTo(position);
    const ViewPoint after = scrollPosition();
    frame_ = frame_.offset(after.x - before.x, after.y - before.y);
    keepFrameInside();
}

// What the window would show at the frame level, in the present level's pixels.
ViewSize CLP98View::frameSize() const {
    const ViewSize client = host_.clientSize();
    const int64_t frameDivisor = zoom::divisor(frameLevel_), divisor = zoom::divisor(level_);
    const int64_t visibleWidth = std::min<int64_t>(client.cx, int64_t(geometry_.pageBytesPerRow) * 80 / frameDivisor);
    const int64_t visibleHeight = std::min<int64_t>(client.cy, int64_t(geometry_.pageHeight) * 10 / frameDivisor);
    return {int(frameDivisor * std::max<int64_t>(visibleWidth, 0) / divisor),
            int(frameDivisor * std::max<int64_t>(visibleHeight, 0) / divisor)};
}

void CLP98View::resizeFrame() { frame_ = ViewRect::at({frame_.left, frame_.top}, frameSize()); }

// A frame left of or above the visible part moves to its edge; one past its
// right or bottom moves back to end there.
void CLP98View::keepFrameInside() {
    const ViewRect visible = visibleBitmapRect();
    int x = frame_.left, y = frame_.top;
    if (frame_.right > visible.right) x = visible.right - frame_.width();
    if (frame_.bottom > visible.bottom) y = visible.bottom - frame_.height();
    x = std::max(x, visible.left);
    y = std::max(y, visible.top);
    frame_ = frame_.offset(x - frame_.left, y - frame_.top);
}

// Scrolls just enough that the frame lies inside the window.
void CLP98View::showFrameInWindow() {
    const ViewSize client = host_.clientSize();
    ViewPoint s = scrollPosition();
    if (frame_.right > s.x + client.cx) s.x = frame_.right - client.cx;
    if (frame_.left < s.x) s.x = frame_.left;
    if (frame_.bottom > s.y + client.cy) s.y = frame_.bottom - client.cy;
    if (frame_.top < s.y) s.y = frame_.top;
    if (s == scrollPosition()) return;
    scrollTo(s);
    host_.invalidate();
}

std::optional<ViewRect> CLP98View::frameOnScreen() const {
    if (!frameShown()) return std::nullopt;
    const ViewPoint o = imageOrigin();
    return frame_.offset(o.x, o.y);
}

void CLP98View::invalidateFrame(const ViewRect& frame) {
    const ViewPoint o = imageOrigin();
    host_.invalidateRect(frame.offset(o.x, o.y));
}

void CLP98View::moveFrameTo(ViewPoint topLeft) {
    invalidateFrame(frame_);
    frame_ = ViewRect::at(topLeft, {frame_.width(), frame_.height()});
    keepFrameInside();
    invalidateFrame(frame_);
}

void CLP98View::enlargeFrame() {
    if (!canEnlargeFrame()) return;
    invalidateFrame(frame_);
    --frameLevel_;
    resizeFrame();
    keepFrameInside();
    invalidateFrame(frame_);
}

void CLP98View::shrinkFrame() {
    if (!canShrinkFrame()) return;
    invalidateFrame(frame_);
    ++frameLevel_;
    resizeFrame();
    keepFrameInside();
    invalidateFrame(frame_);
}

// The frame's part of the page fills the window at the frame level; the
// level, fit mode and scroll position are kept for the way back.
void CLP98View::zoomIntoFrame() {
    if (!frameShown()) return;
    const WaitCursor wait(host_);
    const int old = level_;
    const ViewPoint oldScroll = scrollPosition();
    const ViewPoint target = rescale({frame_.left, frame_.top}, old, frameLevel_);
    ClearDisplayBitmap(orientation_.inverted());
    if (!BuildDisplayBitmap(frameLevel_)) {
        rebuildAt(old, oldScroll);
        return;
    }
    savedLevel_ = old;
    savedFitMode_ = fitMode_;
    savedScroll_ = oldScroll;
    fitMode_ = kFitNone;
    level_ = frameLevel_;
    scrollTo(target);
    RenderPage();
    host_.invalidate();
    repaintPending_ = true;
}

// Back to the level before the frame zoom, with the frame around the part
// of the page that was just shown.
void CLP98View::returnFromFrameZoom() {
    if (savedLevel_ < 0) return;
    const WaitCursor wait(host_);
    const int old = level_;
    const ViewPoint oldScroll = scrollPosition();
    const ViewPoint framePosition = rescale(oldScroll, old, savedLevel_);
    ClearDisplayBitmap(orientation_.inverted());
    if (!BuildDisplayBitmap(savedLevel_)) {
        rebuildAt(old, oldScroll);
        return;
    }
    level_ = savedLevel_;
    raiseFrameLevel();
    frame_ = ViewRect::at(framePosition, frameSize());
    scrollTo(savedScroll_);
    showFrameInWindow();
    keepFrameInside();
    fitMode_ = savedFitMode_;
    savedLevel_ = -1;
    RenderPage();
    host_.invalidate();
    repaintPending_ = true;
}

void CLP98View::zoomIn() {
    if (!canZoomIn()) return;
    const WaitCursor wait(host_);
    savedLevel_ = -1;
    fitMode_ = kFitNone;
    SetZoomLevel(level_ + 1);
}

void CLP98View::zoomOut() {
    if (!canZoomOut()) return;
    const WaitCursor wait(host_);
    savedLevel_ = -1;
    fitMode_ = kFitNone;
    SetZoomLevel(level_ - 1);
}

void CLP98View::fitCommand(int mode) {
    fitMode_ = mode;
    if (!pageShown()) return;
    const WaitCursor wait(host_);
    savedLevel_ = -1;
    SetZoomLevel(FitLevel(mode));
}

void CLP98View::toggleOneToOne() {
    if (!pageShown()) return;
    const WaitCursor wait(host_);
    if (level_ == zoom::kOneToOne) {
        if (savedLevel_ < 0) return;
        const int back = savedLevel_;
        fitMode_ = savedFitMode_;
        savedLevel_ = -1;
        SetZoomLevel(back);
        return;
    }
    savedLevel_ = level_;
    savedFitMode_ = fitMode_;
    fitMode_ = kFitNone;
    SetZoomLevel(zoom::kOneToOne);
}

void CLP98View::enterKey(KeyPress press) {
    if (press == KeyPress::AutoRepeat || !pageShown()) return;
    if (!zoomFrameMode_) {
        toggleOneToOne();
    } else if (frameShown()) {
        zoomIntoFrame();
    } else {
        returnFromFrameZoom();
    }
}

void CLP98View::toggleZoomByMouse() {
    zoomByMouse_ = !zoomByMouse_;
    if (zoomByMouse_) zoomFrameMode_ = false;
    host_.invalidate();
}

void CLP98View::toggleZoomFrame() {
    zoomFrameMode_ = !zoomFrameMode_;
    if (zoomFrameMode_) {
        zoomByMouse_ = false;
        resizeFrame();
        keepFrameInside();
    }
    host_.invalidate();
}

void CLP98View::toggleViewCenter() {
    settings_.viewCenter = !settings_.viewCenter;
    if (!settings_.viewCenter) settings_.viewFrameShadow = 0;
    setCentring(settings_.viewCenter != 0);
    host_.invalidate();
}

void CLP98View::toggleViewFrameShadow() {
    settings_.viewFrameShadow = !settings_.viewFrameShadow;
    if (settings_.viewFrameShadow) settings_.viewCenter = 1;
    setCentring(settings_.viewCenter != 0);
    host_.invalidate();
}

}  // namespace lumipage
