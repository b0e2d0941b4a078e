#pragma once
#include <functional>
#include <string>

#include <QAbstractScrollArea>
#include <QImage>

#include "view/ViewHost.h"

class QKeyEvent;

namespace lumipage {

class CLP98View;

// The frame's client area: paints the view's off-screen bitmap in one blit
// with the workspace and shadow around it, and turns scroll bars, resizing
// and the wheel into calls on the view.
class PageWidget : public QAbstractScrollArea, public ViewHost {
public:
    explicit PageWidget(QWidget* parent = nullptr);

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

    // The bitmap as it would be painted, for tests and screenshots.
    QImage bitmapImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void syncScrollBars();

    CLP98View* view_ = nullptr;
    std::function<bool(QKeyEvent*)> keys_;
    std::function<void(int, const std::string&)> status_;
    std::function<void(int)> resized_;
    bool syncing_ = false;
    bool userSizing_ = false;
};

}  // namespace lumipage
