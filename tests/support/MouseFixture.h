#pragma once
#include <map>
#include <memory>
#include <vector>

#include "base/CommandIds.h"
#include "base/Settings.h"
#include "support/TestImages.h"
#include "support/ViewFakes.h"
#include "view/CLP98View.h"
#include "view/MouseHost.h"
#include "view/ViewMouse.h"

namespace lumipage::test {

// A window for the mouse handling with a clock the test moves: timers fire
// when the test advances time past them. It records pointer moves, shapes
// and commands, and turns pages as the window would.
class FakeMouseHost : public MouseHost {
public:
    int64_t now = 0;
    std::map<int, int64_t> timers;  // id -> due time
    std::vector<ViewPoint> warps;
    int cursor = -1;
    bool captured = false;
    std::vector<int> commands;
    int pages = 3;
    int current = 2;
    bool files = true;
    int changes = 0;
    CLP98View* view = nullptr;

    void startHoldTimer(int id, int milliseconds) override { timers[id] = now + milliseconds; }
    void killHoldTimer(int id) override { timers.erase(id); }
    void movePointer(ViewPoint p) override { warps.push_back(p); }
    void setCursorId(int id) override { cursor = id; }
    void capturePointer() override { captured = true; }
    void releasePointer() override { captured = false; }
    bool overOtherWindow(ViewPoint) const override { return false; }
    bool runCommand(int id) override {
        commands.push_back(id);
        if (id == command::kNextPage && current < pages) ++current;
        else if (id == command::kPreviousPage && current > 1) --current;
        else return true;
        if (view) view->ShowCurrentPage();
        return true;
    }
    void viewChanged() override { ++changes; }
    int pageCount() const override { return pages; }
    int currentPage() const override { return current; }
    bool fileFunctions() const override { return files; }
};

// A 1600 x 1200 page shown 1:1 in an 800 x 600 window: the view can scroll
// 800 pixels across and 600 down.
struct MouseFixture {
    using Button = ViewMouse::Button;
    static constexpr Button L = Button::Left;
    static constexpr Button R = Button::Right;

    FakeViewHost viewHost;
    FakeViewDocument document;
    Settings settings;
    std::unique_ptr<CLP98View> view;
    FakeMouseHost host;
    std::unique_ptr<ViewMouse> mouse;

    explicit MouseFixture(int width = 1600, int height = 1200, ViewSize client = {800, 600}) {
        settings.autoScroll = 0;
        viewHost.client = client;
        document.page = makePage(Pattern::Text, width, height, 3);
        document.page.dpi = 200;
        view = std::make_unique<CLP98View>(viewHost, document, settings);
        view->OnInitialUpdate();
        view->setFitMode(CLP98View::kFitNone);
        view->ShowCurrentPage();
        host.view = view.get();
        mouse = std::make_unique<ViewMouse>(host, *view, settings);
    }

    void scrollTo(int x, int y) { view->scrollTo({x, y}); }
    ViewPoint scroll() const { return view->scrollPosition(); }
    void moveTo(int x, int y, bool shift = false) { mouse->move({{x, y}, shift, false}); }
    void press(Button b, int x, int y, bool shift = false, bool ctrl = false) { mouse->press(b, {{x, y}, shift, ctrl}); }
    void release(Button b, int x, int y, bool shift = false, bool ctrl = false) {
        mouse->release(b, {{x, y}, shift, ctrl});
    }
    void click(Button b, int x, int y, bool shift = false, bool ctrl = false) {
        press(b, x, y, shift, ctrl);
        release(b, x, y, shift, ctrl);
    }
    // Moves the clock, firing the timers that fall due on the way.
    void advance(int milliseconds) {
        host.now += milliseconds;
        for (;;) {
            auto due = host.timers.end();
            for (auto it = host.timers.begin(); it != host.timers.end(); ++it)
                if (it->second <= host.now && (due == host.timers.end() || it->second < due->second)) due = it;
            if (due == host.timers.end()) return;
            const int id = due->first;
            host.timers.erase(due);
            mouse->timerFired(id);
        }
    }
    bool allWarpsInside() const {
        for (const ViewPoint& p : host.warps)
            if (p.x < 0 || p.y < 0 || p.x >= viewHost.client.cx || p.y >= viewHost.client.cy) return false;
        return true;
    }
};

}  // namespace lumipage::test
