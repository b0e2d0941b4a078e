#pragma once
#include <optional>

#include "view/EdgeScroller.h"
#include "view/ViewTypes.h"

namespace lumipage {

// What a press does in a zone of the page image.
enum class ZoneAction {
    None,            // nothing at once: the press starts the hold timer
    OpenFile,        // the open-file command
    Contents,        // the table of contents
    Comment,         // the comment window
    BookInformation, // the book information, when the book offers it
    BackToLeftEdge,  // scroll to the left end, pointer to x = 16
    BackToTop,       // scroll to the top, pointer to y = 16
    PointerOffPage,  // the pointer moves just above the client area
    NextPage,
    PreviousPage,
};

// The zones at the edges of the page image with their pointer shapes: the
// corners open a file or the comments, the sides turn the page, and the far
// end of a line of reading goes back to its start. Pages placed at their
// top-right corner (right-to-left reading) mirror the layout.
struct PageTurnZone {
    // How far from the client's edges the pointer goes after a page turn.
    static constexpr int kJumpInset = 16;

    struct Input {
        EdgeState edges;
        bool edgeScrolling = false;  // edge zones then count only at their limits
        bool rightToLeft = false;    // PageStartPosition 3
        int pageCount = 0;
        int currentPage = 0;  // 1-based
        bool fileFunctions = true;
        bool overPage = false;
        bool zoomByMouse = false;
        int clientWidth = 0;
    };

    int cursor = 0;
    ZoneAction left = ZoneAction::None;
    ZoneAction right = ZoneAction::None;
    // Where the pointer goes after this zone turned the page.
    std::optional<ViewPoint> afterTurn;

    static PageTurnZone at(const Input& in);
};

}  // namespace lumipage
