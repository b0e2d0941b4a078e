#pragma once
#include <optional>
#include <string>

#include "view/ViewTypes.h"

namespace lumipage {

struct StartupRequest;

// Where the main window stands, as the "WindowPos" setting keeps it: ten
// integers joined by ":" in the order flags, show command, minimised x, y,
// maximised x, y, and the normal rectangle's left, top, right, bottom.
struct WindowPlacement {
    static constexpr int kRestoreToMaximised = 2;  // flag bit
    static constexpr int kShowNormal = 1;
    static constexpr int kShowMaximised = 3;

    int flags = 0;
    int showCommand = kShowNormal;
    ViewPoint minimised{};
    ViewPoint maximised{};
    ViewRect normal{};

    bool isMaximised() const { return showCommand == kShowMaximised; }
    // Null when the text is not ten integers.
    static std::optional<WindowPlacement> parse(const std::string& text);
    std::string format() const;
    // The placement written at exit.
    static WindowPlacement atExit(const ViewRect& normal, bool maximised);

    // Moves the normal rectangle back into the work area, keeping its size
    // when it fits: a right or bottom edge beyond the area is pulled in and
    // the opposite edge follows as far as the area allows.
    void fitInto(const ViewRect& workArea);
};

// The window rectangle the command line asks for ("X", "Y", "W", "H"), or
// null when it asks for none.
std::optional<ViewRect> requestedWindowRect(const StartupRequest& request, ViewSize screen);

}  // namespace lumipage
