#pragma once
#include <optional>
#include <string>

#include "view/ViewTypes.h"

namespace lumipage {

// Where a modeless dialog stood, as a "Settings" entry keeps it
// ("PaperColorDlg" and its neighbours): five integers joined by ":", the
// open flag (1 when the dialog was open as the program ended), then the
// window rectangle's top, left, bottom and right.
struct DialogPosition {
    bool open = false;
    ViewRect rect{};

    // Null when the text is not five integers.
    static std::optional<DialogPosition> parse(const std::string& text);
    std::string format() const;
};

}  // namespace lumipage
