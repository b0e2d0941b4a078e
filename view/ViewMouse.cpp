#include "view/ViewMouse.h"

#include <algorithm>
#include <utility>

#include "base/CommandIds.h"
#include "base/Settings.h"
#include "view/CLP98View.h"
#include "view/CursorIds.h"
#include "view/DirectionJump.h"
#include "view/MouseHost.h"

namespace lumipage {

namespace {

using namespace cursor_id;

int64_t distanceSquared(ViewPoint a, ViewPoint b) {
    const int64_t dx = a.x - b.x, dy = a.y - b.y;
    return dx * dx + dy * dy;
}

ViewPoint minus(ViewPoint a, ViewPoint b) { return {a.x - b.x, a.y - b.y}; }

bool contains(const ViewRect& r, ViewPoint p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

int timerOf(ViewMouse::Button b) { return b == ViewMouse::Button::Left ? ViewMouse::kLeftHoldTimer : ViewMouse::kRightHoldTimer; }

}  // namespace

ViewMouse::ViewMouse(MouseHost& host, CLP98View& view, const Settings& settings)
    : host_(host), view_(view), settings_(settings) {}

EdgeScroller::Geometry ViewMouse::geometry() const {
    return {view_.imageOnScreen(), view_.bitmapSize(), view_.scrollPosition(), view_.maxScroll()};
}

bool ViewMouse::overImage(ViewPoint p) const {
    return host_.pageCount() > 0 && view_.hasBitmap() && contains(view_.imageOnScreen(), p);
}

bool ViewMouse::edgeScrollingOn(bool shift) const { return (settings_.autoScroll != 0) != shift; }

void ViewMouse::setCursor(int id) {
    if (id == cursor_) return;
    cursor_ = id;
    host_.setCursorId(id);
}

void ViewMouse::capture() {
    if (captured_) return;
    captured_ = true;
    host_.capturePointer();
}

void ViewMouse::releaseCapture() {
    if (!captured_) return;
    captured_ = false;
    host_.releasePointer();
}

// Every pointer move the program makes stays inside the client area.
void ViewMouse::warpTo(ViewPoint p) {
    const ViewSize client = view_.clientSize();
    warpUnclamped({std::clamp(p.x, 0, std::max(0, client.cx - 1)), std::clamp(p.y, 0, std::max(0, client.cy - 1))});
}

void ViewMouse::warpUnclamped(ViewPoint p) {
    pointerKnown_ = true;
    if (p == pointer_) return;
    pointer_ = p;
    host_.movePointer(p);
}

// The pointer over the page image is captured and shows the shape of its
// zone; moved into an edge strip it may scroll the view first.
void ViewMouse::hover(ViewPoint p, bool mayScroll) {
    if (!overImage(p) || host_.overOtherWindow(p)) {
        releaseCapture();
        scroller_.disarm();
        edges_ = {};
        zone_ = {};
        setCursor(kArrow);
        return;
    }
    capture();
    const bool active = edgeScrollingOn(shift_) && scroller_.armed();
    ViewPoint scrolled{};
    if (mayScroll) {
        const ViewPoint want = scroller_.scrollFor(p, geometry(), edgeScrollingOn(shift_));
        if (want != ViewPoint{}) scrolled = view_.scrollByClamped(want);
        if (scrolled != ViewPoint{}) warpTo(minus(p, scrolled));
    }
    edges_ = scroller_.settle(pointer_, geometry(), scrolled);
    evaluateZone(active);
}

void ViewMouse::evaluateZone(bool edgeScrolling) {
    PageTurnZone::Input in;
    in.edges = edges_;
    in.edgeScrolling = edgeScrolling;
    in.rightToLeft = settings_.pageStartPosition == 3;
    in.pageCount = host_.pageCount();
    in.currentPage = host_.currentPage();
    in.fileFunctions = host_.fileFunctions();
    in.overPage = view_.pageShown();
    in.zoomByMouse = view_.zoomByMouse();
    in.clientWidth = view_.clientSize().cx;
    zone_ = PageTurnZone::at(in);
    setCursor(zone_.cursor);
}

void ViewMouse::move(const Event& e) {
    // The window reports the program's own pointer moves too; they are
    // already accounted for.
    if (pointerKnown_ && e.point == pointer_ && e.shift == shift_) return;
    const ViewPoint previous = pointer_;
    pointerKnown_ = true;
    pointer_ = e.point;
    shift_ = e.shift;
    if (gesture_ == Gesture::DirectionJump) {
        const ViewPoint d = minus(pointer_, pressPoint_);
        setCursor(DirectionJump::cursorFor(d.x, d.y));
        return;
    }
    if (gesture_ != Gesture::None) {
        dragTo(pointer_);
        return;
    }
    if ((leftDown_ || rightDown_) && maybeStartGesture()) return;
    hover(pointer_, !leftDown_ && !rightDown_ && previous != pointer_);
}

// A button held down and moved far enough starts its gesture before the
// hold timer does.
bool ViewMouse::maybeStartGesture() {
    if (pressActed_ || chordDone_ || (leftDown_ && rightDown_)) return false;
    const bool far = distanceSquared(pointer_, pressPoint_) >= kDragDistanceSquared;
    if (view_.frameShown()) {
        if (!far && !leftHoldFired_) return false;
        startFrameDrag();
        return true;
    }
    if (!far || (cursor_ != kZoom && cursor_ != kArrow && cursor_ != kUnset)) return false;
    leftDown_ ? startDrag() : startDirectionJump();
    return true;
}

void ViewMouse::startDrag() {
    host_.killHoldTimer(kLeftHoldTimer);
    savedCursor_ = cursor_;
    if (settings_.catchScroll) {
        gesture_ = Gesture::CatchDrag;
        anchor_ = view_.bitmapPoint(pressPoint_);
        setCursor(kCatchDrag);
    } else {
        gesture_ = Gesture::PushDrag;
        setCursor(kPushDrag);
    }
    capture();
    dragTo(pointer_);
}

void ViewMouse::startFrameDrag() {
    host_.killHoldTimer(kLeftHoldTimer);
    host_.killHoldTimer(kRightHoldTimer);
    savedCursor_ = cursor_;
    gesture_ = Gesture::FrameDrag;
    setCursor(kFrameDrag);
    capture();
    dragTo(pointer_);
}

void ViewMouse::startDirectionJump() {
    host_.killHoldTimer(kRightHoldTimer);
    savedCursor_ = cursor_;
    gesture_ = Gesture::DirectionJump;
    capture();
    const ViewPoint d = minus(pointer_, pressPoint_);
    setCursor(DirectionJump::cursorFor(d.x, d.y));
}

// A catch drag holds the paper point under the pointer; a push drag moves
// the view by the pointer's movement and puts the pointer back by as much
// as the view moved, so the page slides under a resting pointer. The frame
// follows the pointer, and the pointer follows any scroll that needs.
void ViewMouse::dragTo(ViewPoint p) {
    switch (gesture_) {
        case Gesture::CatchDrag: view_.scrollToClamped(minus(anchor_, p)); break;
        case Gesture::PushDrag: {
            const ViewPoint scrolled = view_.scrollByClamped(minus(p, pressPoint_));
            if (scrolled != ViewPoint{}) warpTo(minus(p, scrolled));
            pressPoint_ = pointer_;
            break;
        }
        case Gesture::FrameDrag: {
            const ViewPoint scrolled = view_.centreFrameOn(p);
            if (scrolled != ViewPoint{}) warpTo(minus(p, scrolled));
            break;
        }
        default: break;
    }
}

void ViewMouse::endGesture() {
    if (gesture_ == Gesture::None) return;
    gesture_ = Gesture::None;
    setCursor(savedCursor_);
}

void ViewMouse::timerFired(int id) {
    host_.killHoldTimer(id);
    if (gesture_ != Gesture::None || pressActed_ || chordDone_ || (leftDown_ && rightDown_)) return;
    if (id == kLeftHoldTimer && leftDown_) {
        leftHoldFired_ = true;
        view_.frameShown() ? startFrameDrag() : startDrag();
    } else if (id == kRightHoldTimer && rightDown_) {
        view_.frameShown() ? startFrameDrag() : startDirectionJump();
    }
}

void ViewMouse::press(Button button, const Event& e) {
    const bool otherDown = button == Button::Left ? rightDown_ : leftDown_;
    (button == Button::Left ? leftDown_ : rightDown_) = true;
    if (otherDown) return;  // the second button of a pair only counts at its release
    shift_ = e.shift;
    pointerKnown_ = true;
    pointer_ = e.point;
    hover(pointer_, false);  // the page or the view may have changed since the last move
    pressPoint_ = pointer_;
    leftHoldFired_ = false;
    pressActed_ = false;
    chordDone_ = false;
    if (button == Button::Left) {
        if (host_.pageCount() == 0) {
            pressActed_ = true;
            if (host_.fileFunctions()) runDialogCommand(command::kOpen);
            return;
        }
        // A click beside the page switches the zoom frame on and off; when
        // it goes off, clicks zoom again.
        if (view_.pageShown() && !overImage(pointer_)) {
            pressActed_ = true;
            view_.toggleZoomFrame();
            if (!view_.zoomFrameMode() && !view_.zoomByMouse()) view_.toggleZoomByMouse();
            host_.viewChanged();
            return;
        }
    }
    if (runZoneAction(button)) {
        pressActed_ = true;
        return;
    }
    host_.startHoldTimer(timerOf(button), kHoldMilliseconds);
}

void ViewMouse::release(Button button, const Event& e) {
    bool& down = button == Button::Left ? leftDown_ : rightDown_;
    if (!down) return;  // its press went elsewhere (a dialog took it)
    down = false;
    host_.killHoldTimer(timerOf(button));
    pointerKnown_ = true;
    pointer_ = e.point;
    shift_ = e.shift;
    if (button == Button::Left ? rightDown_ : leftDown_) {
        chord(button);
        return;
    }
    if (std::exchange(chordDone_, false) || std::exchange(pressActed_, false)) {
        hover(pointer_, false);
        return;
    }
    button == Button::Left ? leftClick(e) : rightClick(e);
}

// Releasing one button while the other is still down: the left one opens a
// file, the right one the table of contents; the gesture under way ends.
void ViewMouse::chord(Button released) {
    const bool dragging = gesture_ != Gesture::None && gesture_ != Gesture::DirectionJump;
    endGesture();
    host_.killHoldTimer(kLeftHoldTimer);
    host_.killHoldTimer(kRightHoldTimer);
    chordDone_ = true;
    if (released == Button::Left) {
        if (!dragging && host_.fileFunctions()) runDialogCommand(command::kOpen);
    } else if (host_.pageCount() > 0) {
        runDialogCommand(command::kContents);
    }
}

// No page-turn, drag or jump shape: the arrow, or none chosen yet.
bool ViewMouse::plainCursor() const { return cursor_ == kArrow || cursor_ == kUnset; }

void ViewMouse::leftClick(const Event& e) {
    const Gesture was = gesture_;
    endGesture();
    if (was == Gesture::FrameDrag) {
        view_.zoomIntoFrame();
    } else if (was == Gesture::None && cursor_ == kZoom) {
        if (e.ctrl) view_.toggleOneToOneAt(pointer_);
        else view_.zoomByMouseAt(view_.level() + (e.shift ? 2 : 1), pointer_);
    } else if (was == Gesture::None && view_.frameShown() && overImage(pointer_)) {
        view_.enlargeFrame();
    } else if (was == Gesture::None && view_.zoomFrameMode() && !view_.frameShown() && plainCursor()) {
        view_.returnFromFrameZoom();
    }
    host_.viewChanged();
    hover(pointer_, false);
}

void ViewMouse::rightClick(const Event& e) {
    const Gesture was = gesture_;
    const int shape = cursor_;
    endGesture();
    if (was == Gesture::DirectionJump) {
        DirectionJump::finish(view_, shape);
    } else if (was == Gesture::None && cursor_ == kZoom) {
        const int level = e.ctrl ? view_.FitLevel(CLP98View::kFitWholePage) : view_.level() - (e.shift ? 2 : 1);
        view_.zoomByMouseAt(level, pointer_);
    } else if (was == Gesture::None && view_.frameShown() && overImage(pointer_)) {
        view_.shrinkFrame();
    } else if (was == Gesture::None && view_.zoomFrameMode() && !view_.frameShown() && plainCursor()) {
        view_.returnFromFrameZoom();
    }
    host_.viewChanged();
    hover(pointer_, false);
}

bool ViewMouse::runZoneAction(Button button) {
    if (gesture_ != Gesture::None) return false;
    const ZoneAction action = button == Button::Left ? zone_.left : zone_.right;
    switch (action) {
        case ZoneAction::None: return false;
        case ZoneAction::OpenFile: runDialogCommand(command::kOpen); break;
        case ZoneAction::Contents: runDialogCommand(command::kContents); break;
        case ZoneAction::Comment: runDialogCommand(command::kEditComment); break;
        case ZoneAction::BookInformation: runDialogCommand(command::kBookInformation); break;
        case ZoneAction::BackToLeftEdge:
            view_.ScrollHorizontal(CLP98View::kTop);
            warpTo({PageTurnZone::kJumpInset, pointer_.y});
            hover(pointer_, false);
            break;
        case ZoneAction::BackToTop:
            view_.ScrollVertical(CLP98View::kTop);
            warpTo({pointer_.x, PageTurnZone::kJumpInset});
            hover(pointer_, false);
            break;
        case ZoneAction::PointerOffPage:
            warpUnclamped(kOffPage);
            hover(pointer_, false);
            break;
        case ZoneAction::NextPage: turnPage(command::kNextPage); break;
        case ZoneAction::PreviousPage: turnPage(command::kPreviousPage); break;
    }
    return true;
}

void ViewMouse::turnPage(int command) {
    const std::optional<ViewPoint> jump = zone_.afterTurn;
    host_.runCommand(command);
    if (jump) warpTo(*jump);
    hover(pointer_, false);
}

void ViewMouse::pageChanged() {
    if (gesture_ == Gesture::None && pointerKnown_) hover(pointer_, false);
}

// A dialog takes the pointer and, while it is open, the buttons' releases.
void ViewMouse::runDialogCommand(int command) {
    releaseCapture();
    host_.runCommand(command);
    resetButtons();
}

void ViewMouse::resetButtons() {
    host_.killHoldTimer(kLeftHoldTimer);
    host_.killHoldTimer(kRightHoldTimer);
    endGesture();
    leftDown_ = rightDown_ = false;
    leftHoldFired_ = false;
}

void ViewMouse::left() {
    if (gesture_ != Gesture::None || leftDown_ || rightDown_) return;
    releaseCapture();
    scroller_.disarm();
    edges_ = {};
    zone_ = {};
    pointerKnown_ = false;
    setCursor(kArrow);
}

}  // namespace lumipage
