#include <algorithm>

#include "view/CLP98View.h"

// Turning, mirroring and inverting the page on screen.

namespace lumipage {

// The part of the page in view stays in view: the visible rectangle is
// turned with the page and becomes the new scroll position.
void CLP98View::ApplyRotation(int angle) {
    if (!pageShown() || angle < 0 || angle > 3) return;
    const WaitCursor wait(host_);
    const ViewRect v = visibleBitmapRect();
    const ViewSize size = bitmapSize();
    const int clientWidth = host_.clientSize().cx;
    ViewPoint p = scrollPosition();
    switch ((angle - rotation() + 4) % 4) {
        case 1: p = {v.top, size.cx - v.right}; break;
        case 2: p = {size.cx - v.right, size.cy - v.bottom}; break;
        case 3: p = {std::max(0, size.cy - v.top - clientWidth), v.left}; break;
        default: break;
    }
    if (!orientation_.SetRotation(angle)) return;
    storePageWord();
    ClearDisplayBitmap(orientation_.inverted());
    const int level = FitLevel(fitMode_);
    if (level != level_) p = {zoom::rescale(p.x, level_, level), zoom::rescale(p.y, level_, level)};
    if (!BuildDisplayBitmap(level)) return;
    level_ = level;
    raiseFrameLevel();
    scrollTo(p);
    resizeFrame();
    keepFrameInside();
    RenderPage();
    host_.invalidate();
    repaintPending_ = true;
}

void CLP98View::rotateTo(int angle, PageScope scope) {
    if (!pageShown()) return;
    if (rotation() != angle) ApplyRotation(angle);
    if (scope == PageScope::AllPages) document_.setTransformOfAll(uint16_t(rotation()), PageOrientation::kRotationBits);
}

// The page is rebuilt at the same level and scroll position.
template <class Change>
void CLP98View::changeTransform(Change change, uint16_t flag, PageScope scope) {
    if (!pageShown()) return;
    const ViewPoint scroll = scrollPosition();
    if (!change()) return;
    storePageWord();
    ClearDisplayBitmap(orientation_.inverted());
    if (BuildDisplayBitmap(level_)) {
        scrollTo(scroll);
        RenderPage();
        host_.invalidate();
        repaintPending_ = true;
    }
    if (scope == PageScope::AllPages) document_.setTransformOfAll(uint16_t(orientation_.word() & flag), flag);
}

void CLP98View::toggleInverted(PageScope scope) {
    changeTransform([this] { return orientation_.SetInverted(!orientation_.inverted()); }, PageOrientation::kInverted,
                    scope);
}

void CLP98View::toggleMirrorLeftRight(PageScope scope) {
    changeTransform([this] { return orientation_.SetMirrorLeftRight(!orientation_.mirroredLeftRight()); },
                    PageOrientation::kMirroredLeftRight, scope);
}

void CLP98View::toggleMirrorUpDown(PageScope scope) {
    changeTransform([this] { return orientation_.SetMirrorUpDown(!orientation_.mirroredUpDown()); },
                    PageOrientation::kMirroredUpDown, scope);
}

}  // namespace lumipage
