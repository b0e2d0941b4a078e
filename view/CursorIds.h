#pragma once

namespace lumipage::cursor_id {

// The pointer shapes of the page view, by the resource numbers the program
// has always used for them. The window draws one distinct shape per number.

constexpr int kUnset = -1;  // nothing chosen yet: the next move chooses
constexpr int kArrow = 0;   // the standard arrow

constexpr int kZoom = 130;       // a click zooms in, a right click out
constexpr int kFrameDrag = 135;  // the zoom frame follows the pointer

// Page turning at the edges of the page image. The right-to-left layout
// (pages placed at their top-right corner) has its own set.
constexpr int kTurnRightToLeft = 169;       // next or previous page
constexpr int kTurn = 170;                  // next or previous page
constexpr int kBackToLeftEdge = 171;        // at the right end: back to the left edge
constexpr int kBackToTop = 172;             // at the bottom (right-to-left): back to the top
constexpr int kFirstPageRightToLeft = 173;  // on page 1: next page only
constexpr int kLastPageRightToLeft = 174;   // on the last page: previous page only
constexpr int kFirstPage = 175;             // on page 1: next page only
constexpr int kLastPage = 176;              // on the last page: previous page only
constexpr int kFileCorner = 177;            // open a file, or the table of contents
constexpr int kCommentCorner = 178;         // the comment window, or the book information

constexpr int kPushDrag = 179;   // the drag pushes the view; the pointer stays put
constexpr int kCatchDrag = 190;  // the drag carries the paper with the pointer

// The direction jump: neutral, then the eight directions clockwise from up.
constexpr int kJumpCentre = 181;
constexpr int kJumpUp = 182;
constexpr int kJumpUpRight = 183;
constexpr int kJumpRight = 184;
constexpr int kJumpDownRight = 185;
constexpr int kJumpDown = 186;
constexpr int kJumpDownLeft = 187;
constexpr int kJumpLeft = 188;
constexpr int kJumpUpLeft = 189;

// Every shape the view shows besides the arrow.
inline constexpr int kAll[] = {
    kZoom,          kFrameDrag,    kTurnRightToLeft, kTurn,       kBackToLeftEdge, kBackToTop,
    kFirstPageRightToLeft, kLastPageRightToLeft, kFirstPage, kLastPage, kFileCorner, kCommentCorner,
    kPushDrag,      kCatchDrag,    kJumpCentre,      kJumpUp,     kJumpUpRight,    kJumpRight,
    kJumpDownRight, kJumpDown,     kJumpDownLeft,    kJumpLeft,   kJumpUpLeft,
};
static_assert(sizeof(kAll) / sizeof(kAll[0]) == 23);

}  // namespace lumipage::cursor_id
