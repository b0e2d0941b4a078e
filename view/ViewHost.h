#pragma once
#include <string>

#include "view/ViewTypes.h"

namespace lumipage {

// What the view needs from the window that shows it. The window turns its
// events into calls on the view and paints the view's bitmap; the view asks
// it for its size and tells it what to repaint and show.
class ViewHost {
public:
    enum class SystemColour { AppWorkspace, Window, WindowText };
    enum class Cursor { Arrow, Wait };

    virtual ~ViewHost() = default;
    virtual ViewSize clientSize() const = 0;
    // Repaint everything, or a rectangle of the client area, when idle.
    virtual void invalidate() = 0;
    virtual void invalidateRect(const ViewRect& client) = 0;
    // Paint what is pending now.
    virtual void updateNow() = 0;
    // The scroll sizes or position changed: the scroll bars follow and the
    // window repaints what moved.
    virtual void scrollStateChanged() = 0;
    // Status bar panes 1 to 4.
    virtual void setStatusText(int pane, const std::string& text) = 0;
    virtual void setCursor(Cursor cursor) = 0;
    virtual Colour systemColour(SystemColour which) const = 0;
};

// Shows the wait cursor for as long as it lives.
class WaitCursor {
public:
    explicit WaitCursor(ViewHost& host) : host_(host) { host_.setCursor(ViewHost::Cursor::Wait); }
    ~WaitCursor() { host_.setCursor(ViewHost::Cursor::Arrow); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    ViewHost& host_;
};

}  // namespace lumipage
