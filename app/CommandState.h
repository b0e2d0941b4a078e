#pragma once
#include <string>

namespace lumipage {

// How a command shows in menus and on buttons right now.
struct CommandState {
    bool enabled = false;
    bool checked = false;
    std::string text;  // empty: the caption of the command table
    friend bool operator==(const CommandState&, const CommandState&) = default;
};

}  // namespace lumipage
