#pragma once
#include <array>
#include <functional>
#include <memory>
#include <string>

#include <QAbstractScrollArea>
#include <QImage>

#include "view/MouseHost.h"
#include "view/ViewHost.h"

class QKeyEvent;
class QMouseEvent;
class QTimer;

namespace lumipage {

class CLP98View;
class ViewCursors;
class ViewMouse;

// The frame's client area: paints the view's off-screen bitmap in one blit
// with the workspace and shadow around it, and turns scroll bars, resizing,
// the wheel and the mouse into calls on the view and its mouse handling.
class PageWidget : public QAbstractScrollArea, public ViewHost, public MouseHost {
public:
    explicit PageWidget(QWidget* parent = nullptr);
    ~PageWidget() override;

    // What the mouse handling asks of the frame.
    struct MouseCommands {
        std::function<bool(int)> run;
        std::function<void()> changed;
        std::function<int()> pageCount;
        std::function<int()> currentPage;
        bool fileFunctions = true;
    };
    void setMouse(ViewMouse* mouse, MouseCommands commands);
    // The shape id the pointer shows over the page.
    int cursorId() const { return cursorId_; }

    void setView(CLP98View* view) { view_ = view; }
    // Keys go to the frame, which knows the commands.
    void setKeyHandler(std::function<bool(QKeyEvent*)> handler) { keys_ = std::move(handler); }
    // Status bar panes 1 to 4.
    void setStatusSink(std::function<void(int, const std::string&)> sink) { status_ = std::move(sink); }
    // Called after a resize with the command to run again, when the fitted level changed.
    void setResizeHandler(std::function<void(int command)> handler) { resized_ = std::move(handler); }
    // The frame notes a size change made by the user (not a maximise).
    void noteUserSizing() { userSizing_ = true; }

    // ViewHost
    ViewSize clientSize() const override;
    void invalidate() override;
    void invalidateRect(const ViewRect& client) override;
    void updateNow() override;
    void scrollStateChanged() override;
    void setStatusText(int pane, const std::string& text) override;
    void setCursor(Cursor cursor) override;
    Colour systemColour(SystemColour which) const override;

    // MouseHost (PageWidgetMouse.cpp)
    void startHoldTimer(int id, int milliseconds) override;
    void killHoldTimer(int id) override;
    void movePointer(ViewPoint client) override;
    void setCursorId(int id) override;
    void capturePointer() override;
    void releasePointer() override;
    bool overOtherWindow(ViewPoint client) const override;
    bool runCommand(int id) override;
    void viewChanged() override;
    int pageCount() const override;
    int currentPage() const override;
    bool fileFunctions() const override;

    // The bitmap as it would be painted, for tests and screenshots.
    QImage bitmapImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void syncScrollBars();
    void mouseButton(QMouseEvent* event, bool pressed);

    CLP98View* view_ = nullptr;
    std::function<bool(QKeyEvent*)> keys_;
    std::function<void(int, const std::string&)> status_;
    std::function<void(int)> resized_;
    bool syncing_ = false;
    bool userSizing_ = false;
    // Mouse.
    ViewMouse* mouse_ = nullptr;
    MouseCommands mouseCommands_;
    std::unique_ptr<ViewCursors> cursors_;
    std::array<QTimer*, 3> timers_{};  // by id; 0 unused
    int cursorId_ = -1;
    bool grabbed_ = false;
};

}  // namespace lumipage
