#pragma once
#include "view/EdgeScroller.h"
#include "view/PageTurnZones.h"
#include "view/ViewTypes.h"

namespace lumipage {

class CLP98View;
class MouseHost;
struct Settings;

// The mouse on the page view. A click zooms (or sizes the zoom frame), a
// hold or a move of 8 pixels with the left button drags the page, with the
// right button starts the direction jump; with the zoom frame shown both
// drag the frame. Both buttons together open a file or the table of
// contents. Moving near the edges scrolls the view, and the edges and
// corners turn pages and open files and comments with a press.
//
// The window feeds it presses, releases, moves and timer expiries; it acts
// on the view and asks the host for timers, the pointer and commands.
class ViewMouse {
public:
    enum class Button { Left, Right };
    enum class Gesture { None, CatchDrag, PushDrag, DirectionJump, FrameDrag };
    struct Event {
        ViewPoint point;
        bool shift = false;
        bool ctrl = false;
    };

    static constexpr int kLeftHoldTimer = 1;
    static constexpr int kRightHoldTimer = 2;
    static constexpr int kHoldMilliseconds = 500;
    // A press followed by a move this far (squared) is a drag, not a click.
    static constexpr int kDragDistanceSquared = 64;
    // Where the pointer goes to leave the page: just above the client area.
    static constexpr ViewPoint kOffPage{10, -10};

    ViewMouse(MouseHost& host, CLP98View& view, const Settings& settings);

    void press(Button button, const Event& e);
    void release(Button button, const Event& e);
    void move(const Event& e);
    void timerFired(int id);
    // The pointer left the window.
    void left();
    // The page or the zoom changed under a resting pointer (a key, a menu):
    // its zone and shape are looked at again.
    void pageChanged();
    // Before a dialog opens: the pointer is the dialog's again.
    void releaseCapture();

    int cursorId() const { return cursor_; }
    Gesture gesture() const { return gesture_; }
    bool captured() const { return captured_; }
    const EdgeState& edges() const { return edges_; }

private:
    EdgeScroller::Geometry geometry() const;
    bool overImage(ViewPoint p) const;
    bool edgeScrollingOn(bool shift) const;
    void hover(ViewPoint p, bool mayScroll);
    void evaluateZone(bool edgeScrolling);
    void setCursor(int id);
    void capture();
    void warpTo(ViewPoint p);
    void warpUnclamped(ViewPoint p);

    bool maybeStartGesture();
    void startDrag();
    void startFrameDrag();
    void startDirectionJump();
    void dragTo(ViewPoint p);
    void endGesture();
    void chord(Button released);

    bool runZoneAction(Button button);
    void turnPage(int command);
    void runDialogCommand(int command);
    void resetButtons();

    void leftClick(const Event& e);
    void rightClick(const Event& e);
    bool plainCursor() const;

    MouseHost& host_;
    CLP98View& view_;
    const Settings& settings_;
    EdgeScroller scroller_;
    EdgeState edges_;
    PageTurnZone zone_;

    int cursor_ = -1;
    int savedCursor_ = 0;
    bool pointerKnown_ = false;
    ViewPoint pointer_;
    bool shift_ = false;
    ViewPoint pressPoint_;  // also the reference of a push drag
    ViewPoint anchor_;      // the paper point a catch drag holds, in bitmap coordinates
    bool leftDown_ = false, rightDown_ = false;
    bool leftHoldFired_ = false;
    bool pressActed_ = false;  // the press did its work at once; its release does nothing
    bool chordDone_ = false;   // both buttons ended a gesture; the last release does nothing
    Gesture gesture_ = Gesture::None;
    bool captured_ = false;
};

}  // namespace lumipage
