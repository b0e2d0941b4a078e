#pragma once
#include <functional>
#include <map>

#include "app/CommandState.h"

namespace lumipage {

// The one table every command goes through while the window runs: for
// each command id its update handler (enabled, checked, text) and its
// handler. The core registers the update handlers; the window registers the
// handlers of the commands that need its dialogs. Commands without an entry
// go to the viewer's commands.
class CommandRouter {
public:
    using Update = std::function<CommandState()>;
    using Handler = std::function<void()>;

    void setUpdate(int id, Update update) { entries_[id].update = std::move(update); }
    void setHandler(int id, Handler handler) { entries_[id].handler = std::move(handler); }
    // Where commands without an entry go: their state and their run.
    void setFallback(std::function<CommandState(int)> update, std::function<bool(int)> run) {
        fallbackUpdate_ = std::move(update);
        fallbackRun_ = std::move(run);
    }

    // Disabled for a command nobody knows.
    CommandState state(int id) const;
    // Runs the command when it is enabled; false when it is disabled or nobody runs it.
    bool run(int id);
    // Whether an update handler of its own decides the command (for tests of the table).
    bool decides(int id) const;

private:
    struct Entry {
        Update update;
        Handler handler;
    };
    std::map<int, Entry> entries_;
    std::function<CommandState(int)> fallbackUpdate_;
    std::function<bool(int)> fallbackRun_;
};

}  // namespace lumipage
