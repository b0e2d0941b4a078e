#include "view/DirectionJump.h"

#include <cstdlib>

#include "view/CLP98View.h"
#include "view/CursorIds.h"

namespace lumipage {

int DirectionJump::cursorFor(int dx, int dy) {
    using namespace cursor_id;
    if (int64_t(dx) * dx + int64_t(dy) * dy <= kNeutralDistanceSquared) return kJumpCentre;
    const int ax = std::abs(dx), ay = std::abs(dy);
    if (2 * ax < ay) return dy < 0 ? kJumpUp : kJumpDown;
    if (ax / 2 >= ay) return dx > 0 ? kJumpRight : kJumpLeft;
    if (dx > 0) return dy < 0 ? kJumpUpRight : kJumpDownRight;
    return dy < 0 ? kJumpUpLeft : kJumpDownLeft;
}

void DirectionJump::finish(CLP98View& view, int cursor) {
    using namespace cursor_id;
    constexpr int start = CLP98View::kEdgeStart, end = CLP98View::kEdgeEnd;
    switch (cursor) {
        case kJumpUp: view.ScrollVertical(CLP98View::kTop); break;
        case kJumpUpRight: view.ScrollToEdges(end, start); break;
        case kJumpRight: view.ScrollHorizontal(CLP98View::kBottom); break;
        case kJumpDownRight: view.ScrollToEdges(end, end); break;
        case kJumpDown: view.ScrollVertical(CLP98View::kBottom); break;
        case kJumpDownLeft: view.ScrollToEdges(start, end); break;
        case kJumpLeft: view.ScrollHorizontal(CLP98View::kTop); break;
        case kJumpUpLeft: view.ScrollToEdges(start, start); break;
        default: view.ScrollToEdges(CLP98View::kEdgeCentre, CLP98View::kEdgeCentre); break;
    }
}

}  // namespace lumipage
