#pragma once
#include "view/ViewTypes.h"

namespace lumipage {

// What the page view's mouse handling needs from the window: timers, the
// pointer and its shape, and the window's commands. Points are in client
// coordinates.
class MouseHost {
public:
    virtual ~MouseHost() = default;

    // One-shot timers; a started timer replaces a running one of its id.
    virtual void startHoldTimer(int id, int milliseconds) = 0;
    virtual void killHoldTimer(int id) = 0;
    // Puts the pointer on a client point.
    virtual void movePointer(ViewPoint client) = 0;
    virtual void setCursorId(int id) = 0;
    // While captured, every move of the pointer reaches the view, also
    // outside the window.
    virtual void capturePointer() = 0;
    virtual void releasePointer() = 0;
    // The pointer is over another of the program's windows lying on the view.
    virtual bool overOtherWindow(ViewPoint client) const = 0;

    // Runs a window command by its id; false when it is not available.
    virtual bool runCommand(int id) = 0;
    // Pages, mode and modes changed by a gesture: menus and counters follow.
    virtual void viewChanged() = 0;
    virtual int pageCount() const = 0;
    virtual int currentPage() const = 0;  // 1-based, 0 without pages
    // False when the start-up switches took the file functions away.
    virtual bool fileFunctions() const = 0;
};

}  // namespace lumipage
