#pragma once
#include <functional>
#include <string>

#include "app/CommandState.h"

namespace lumipage {

class CLP98Doc;
class CLP98View;
class OpenFileTable;
class PageNavigator;
struct Settings;

// The viewer's commands: what each does and when it is offered. The window
// asks `state` before it shows a menu and when idle, and hands every
// command to `run`; commands that need a dialog of the window (open, jump,
// page lists, exit) are the window's, but their enabling is decided here.
// Commands not built yet are shown disabled.
class ViewerCommands {
public:
    ViewerCommands(CLP98View& view, PageNavigator& navigator, CLP98Doc& document, OpenFileTable& table,
                   Settings& settings)
        : view_(view), navigator_(navigator), document_(document), table_(table), settings_(settings) {}

    // Told when a setting other running copies follow changed: the request
    // code (257 AutoScroll, 258 CatchScroll, 261 view flags) and the value.
    void setBroadcaster(std::function<void(int code, int value)> broadcast) { broadcast_ = std::move(broadcast); }
    // Told after commands that change the page list or the page shown.
    void setChangeListener(std::function<void()> listener) { changed_ = std::move(listener); }

    CommandState state(int id) const;
    // Whether the command's menu item carries a check mark.
    static bool hasCheckMark(int id);
    // Carries the command out; false when it is not one of these commands or
    // it is disabled now.
    bool run(int id);

    static constexpr int kRequestAutoScroll = 257;
    static constexpr int kRequestCatchScroll = 258;
    static constexpr int kRequestViewFlags = 261;

private:
    bool enabled(int id) const;
    bool checked(int id) const;
    bool runView(int id);
    bool runPages(int id);
    bool runFiles(int id);
    void afterFileChange();
    void broadcast(int code, int value);

    CLP98View& view_;
    PageNavigator& navigator_;
    CLP98Doc& document_;
    OpenFileTable& table_;
    Settings& settings_;
    std::function<void(int, int)> broadcast_;
    std::function<void()> changed_;
};

}  // namespace lumipage
