#include "view/PageTurnZones.h"

#include "view/CursorIds.h"

namespace lumipage {

namespace {

using namespace cursor_id;

struct Sides {
    bool top, bottom, left, right;
};

// While edge scrolling is active a strip is part of the scrolling; only its
// limit turns pages.
Sides sidesOf(const PageTurnZone::Input& in) {
    const EdgeState& e = in.edges;
    const bool zones = !in.edgeScrolling;
    return {e.topLimit || (zones && e.top), e.bottomLimit || (zones && e.bottom), e.leftLimit || (zones && e.left),
            e.rightLimit || (zones && e.right)};
}

PageTurnZone fileCorner(const PageTurnZone::Input& in) {
    return {kFileCorner, in.fileFunctions ? ZoneAction::OpenFile : ZoneAction::Contents, ZoneAction::Contents, {}};
}

PageTurnZone commentCorner() { return {kCommentCorner, ZoneAction::Comment, ZoneAction::BookInformation, {}}; }

// The first page cannot go back and the last cannot go on: their half of
// the zone does nothing at once.
PageTurnZone turnZone(const PageTurnZone::Input& in, int first, int last, int middle, std::optional<ViewPoint> jump) {
    if (in.currentPage <= 1) return {first, ZoneAction::NextPage, ZoneAction::None, jump};
    if (in.currentPage >= in.pageCount) return {last, ZoneAction::None, ZoneAction::PreviousPage, jump};
    return {middle, ZoneAction::NextPage, ZoneAction::PreviousPage, jump};
}

std::optional<PageTurnZone> leftToRight(const PageTurnZone::Input& in, const Sides& s) {
    const EdgeState& e = in.edges;
    const int inset = PageTurnZone::kJumpInset;
    if (s.top && s.left) return fileCorner(in);
    if (s.top && s.right) return commentCorner();
    if (e.rightLimit) return PageTurnZone{kBackToLeftEdge, ZoneAction::BackToLeftEdge, ZoneAction::PointerOffPage, {}};
    if ((s.top || s.bottom || s.left || s.right) && in.pageCount > 1) {
        std::optional<ViewPoint> jump;
        if (e.bottomLimit) jump = ViewPoint{inset, inset};
        return turnZone(in, kFirstPage, kLastPage, kTurn, jump);
    }
    return std::nullopt;
}

std::optional<PageTurnZone> rightToLeft(const PageTurnZone::Input& in, const Sides& s) {
    const EdgeState& e = in.edges;
    const int inset = PageTurnZone::kJumpInset;
    if (s.top && s.right) return fileCorner(in);
    if (s.top && s.left) return commentCorner();
    if (e.bottomLimit) return PageTurnZone{kBackToTop, ZoneAction::BackToTop, ZoneAction::PointerOffPage, {}};
    if ((s.top || s.bottom || s.left || s.right) && in.pageCount > 1) {
        std::optional<ViewPoint> jump;
        if (e.leftLimit) jump = ViewPoint{in.clientWidth - inset, inset};
        return turnZone(in, kFirstPageRightToLeft, kLastPageRightToLeft, kTurnRightToLeft, jump);
    }
    return std::nullopt;
}

}  // namespace

PageTurnZone PageTurnZone::at(const Input& in) {
    if (in.overPage) {
        const Sides s = sidesOf(in);
        if (auto zone = in.rightToLeft ? rightToLeft(in, s) : leftToRight(in, s)) return *zone;
    }
    return {in.overPage && in.zoomByMouse ? kZoom : kArrow, ZoneAction::None, ZoneAction::None, {}};
}

}  // namespace lumipage
