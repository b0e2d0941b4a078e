// The edges of the page image under the mouse: page-turn and corner zones
// in both layouts, and automatic edge scrolling.
#include <gtest/gtest.h>

#include "support/MouseFixture.h"
#include "view/CursorIds.h"
#include "view/EdgeScroller.h"

namespace lumipage {
namespace {

using namespace cursor_id;
using namespace command;
using test::MouseFixture;
constexpr auto L = MouseFixture::L;
constexpr auto R = MouseFixture::R;

// A press that acts at once: its command (0 when none) and whether it left
// a hold timer running instead.
struct Pressed {
    int command;
    bool timer;
};

Pressed pressAt(MouseFixture& f, MouseFixture::Button b, int x, int y) {
    f.host.commands.clear();
    f.host.timers.clear();
    f.press(b, x, y);
    Pressed p{f.host.commands.empty() ? 0 : f.host.commands.back(), !f.host.timers.empty()};
    f.release(b, x, y);
    return p;
}

TEST(ViewMouseZones, CornersOpenFilesAndComments) {
    MouseFixture f;
    f.scrollTo(400, 300);
    f.moveTo(5, 5);
    EXPECT_EQ(f.host.cursor, kFileCorner);
    EXPECT_EQ(pressAt(f, L, 5, 5).command, kOpen);
    EXPECT_EQ(pressAt(f, R, 5, 5).command, kContents);
    f.host.files = false;
    EXPECT_EQ(pressAt(f, L, 5, 5).command, kContents);
    f.moveTo(795, 5);
    EXPECT_EQ(f.host.cursor, kCommentCorner);
    EXPECT_EQ(pressAt(f, L, 795, 5).command, kEditComment);
    EXPECT_EQ(pressAt(f, R, 795, 5).command, kBookInformation);
    EXPECT_EQ(f.view->level(), zoom::kOneToOne);

    // Pages placed at their top-right corner swap the two corners.
    f.settings.pageStartPosition = 3;
    f.host.files = true;
    f.moveTo(794, 6);
    EXPECT_EQ(f.host.cursor, kFileCorner);
    EXPECT_EQ(pressAt(f, L, 794, 6).command, kOpen);
    f.moveTo(6, 6);
    EXPECT_EQ(f.host.cursor, kCommentCorner);
    EXPECT_EQ(pressAt(f, R, 6, 6).command, kBookInformation);
}

TEST(ViewMouseZones, SidesTurnPagesAndTheEndPagesFallBackToTheHold) {
    MouseFixture f;
    f.scrollTo(400, 300);
    f.moveTo(5, 300);
    EXPECT_EQ(f.host.cursor, kTurn);
    EXPECT_EQ(pressAt(f, L, 5, 300).command, kNextPage);
    EXPECT_EQ(f.host.current, 3);
    EXPECT_EQ(f.host.cursor, cursor_id::kLastPage) << "the zone is looked at again after the turn";
    const Pressed onLast = pressAt(f, L, 5, 300);
    EXPECT_EQ(onLast.command, 0);
    EXPECT_TRUE(onLast.timer);
    EXPECT_EQ(pressAt(f, R, 5, 300).command, kPreviousPage);
    EXPECT_EQ(f.host.cursor, kTurn);
    f.host.current = 1;
    f.moveTo(6, 300);
    EXPECT_EQ(f.host.cursor, cursor_id::kFirstPage);
    const Pressed onFirst = pressAt(f, R, 6, 300);
    EXPECT_EQ(onFirst.command, 0);
    EXPECT_TRUE(onFirst.timer);
    EXPECT_TRUE(f.host.warps.empty()) << "no pointer jump away from the bottom";
    // A page turned by a key: the resting pointer's shape follows.
    f.host.current = 3;
    f.mouse->pageChanged();
    EXPECT_EQ(f.host.cursor, cursor_id::kLastPage);
    f.host.current = 1;

    // At the bottom limit the turn puts the pointer at the top-left.
    f.host.current = 2;
    f.scrollTo(400, 600);
    f.moveTo(400, 595);
    EXPECT_EQ(f.host.cursor, kTurn);
    EXPECT_EQ(pressAt(f, L, 400, 595).command, kNextPage);
    ASSERT_FALSE(f.host.warps.empty());
    EXPECT_EQ(f.host.warps.back(), (ViewPoint{16, 16}));

    // One page: the sides zoom like the rest of the page.
    MouseFixture one;
    one.host.pages = one.host.current = 1;
    one.scrollTo(400, 300);
    one.moveTo(5, 300);
    EXPECT_EQ(one.host.cursor, kZoom);
}

TEST(ViewMouseZones, TheFarEndOfALineLeadsBackToItsStart) {
    MouseFixture f;
    f.scrollTo(800, 300);
    f.moveTo(795, 300);
    EXPECT_EQ(f.host.cursor, kBackToLeftEdge);
    EXPECT_EQ(pressAt(f, L, 795, 300).command, 0);
    EXPECT_EQ(f.scroll(), (ViewPoint{0, 300}));
    EXPECT_EQ(f.host.warps.back(), (ViewPoint{16, 300}));
    f.scrollTo(800, 300);
    f.moveTo(796, 300);
    f.press(R, 796, 300);
    EXPECT_EQ(f.host.warps.back(), ViewMouse::kOffPage);
    EXPECT_EQ(f.scroll(), (ViewPoint{800, 300}));
    EXPECT_TRUE(f.host.timers.empty());
    f.release(R, 796, 300);

    // Right to left: the bottom is the end of a line.
    MouseFixture g;
    g.settings.pageStartPosition = 3;
    g.scrollTo(400, 600);
    g.moveTo(400, 595);
    EXPECT_EQ(g.host.cursor, kBackToTop);
    pressAt(g, L, 400, 595);
    EXPECT_EQ(g.scroll(), (ViewPoint{400, 0}));
    EXPECT_EQ(g.host.warps.back(), (ViewPoint{400, 16}));
}

TEST(ViewMouseZones, RightToLeftPagesTurnTheOtherWay) {
    MouseFixture f;
    f.settings.pageStartPosition = 3;
    f.scrollTo(400, 300);
    f.moveTo(5, 300);
    EXPECT_EQ(f.host.cursor, kTurnRightToLeft);
    f.host.current = 1;
    f.moveTo(6, 300);
    EXPECT_EQ(f.host.cursor, kFirstPageRightToLeft);
    EXPECT_TRUE(pressAt(f, R, 6, 300).timer);
    f.host.current = 3;
    f.moveTo(5, 300);
    EXPECT_EQ(f.host.cursor, kLastPageRightToLeft);
    EXPECT_TRUE(pressAt(f, L, 5, 300).timer);
    EXPECT_EQ(pressAt(f, R, 5, 300).command, kPreviousPage);
    // At the left limit the turn puts the pointer at the top-right.
    f.scrollTo(0, 300);
    f.moveTo(6, 300);
    EXPECT_EQ(pressAt(f, L, 6, 300).command, kNextPage);
    EXPECT_EQ(f.host.warps.back(), (ViewPoint{800 - 16, 16}));
    EXPECT_EQ(f.scroll(), (ViewPoint{800, 0})) << "the new page shows its top-right corner";
}

TEST(ViewMouseZones, EdgeMarginIsAThirdOfTheBitmapWithinTwoAndThirtyTwo) {
    EXPECT_EQ(EdgeScroller::margin(1600), 32);
    EXPECT_EQ(EdgeScroller::margin(96), 32);
    EXPECT_EQ(EdgeScroller::margin(90), 30);
    EXPECT_EQ(EdgeScroller::margin(7), 2);
    EXPECT_EQ(EdgeScroller::margin(1), 2);
}

TEST(ViewMouseZones, EdgeScrollingFollowsAutoScrollAndShift) {
    MouseFixture f;
    f.settings.autoScroll = 1;
    f.scrollTo(400, 300);
    // Straight into the strip from outside: no scrolling, the page-turn shape.
    f.moveTo(400, 590);
    EXPECT_EQ(f.scroll(), (ViewPoint{400, 300}));
    EXPECT_EQ(f.host.cursor, kTurn);
    // From the inner part: scrolled by the depth, the pointer put back.
    f.moveTo(400, 300);
    f.moveTo(400, 590);
    EXPECT_EQ(f.scroll(), (ViewPoint{400, 322}));
    EXPECT_EQ(f.host.warps.back(), (ViewPoint{400, 568}));
    EXPECT_EQ(f.host.cursor, kZoom);
    f.moveTo(400, 10);
    EXPECT_EQ(f.scroll(), (ViewPoint{400, 300}));
    EXPECT_EQ(f.host.warps.back(), (ViewPoint{400, 32}));
    f.moveTo(790, 300);
    EXPECT_EQ(f.scroll(), (ViewPoint{422, 300}));
    // Shift switches it off.
    f.moveTo(400, 300, true);
    f.moveTo(400, 590, true);
    EXPECT_EQ(f.scroll(), (ViewPoint{422, 300}));
    EXPECT_EQ(f.host.cursor, kTurn);

    MouseFixture g;
    g.scrollTo(400, 300);
    g.moveTo(400, 300);
    g.moveTo(400, 590);
    EXPECT_EQ(g.scroll(), (ViewPoint{400, 300})) << "AutoScroll is off";
    g.moveTo(400, 300, true);
    g.moveTo(400, 590, true);
    EXPECT_EQ(g.scroll(), (ViewPoint{400, 322})) << "Shift switches it on";
}

TEST(ViewMouseZones, EdgeScrollingStopsAtTheEndsAndTheLimitTurnsThePage) {
    MouseFixture f;
    f.settings.autoScroll = 1;
    f.scrollTo(10, 590);
    f.moveTo(400, 300);
    f.moveTo(400, 599);  // 31 deep, 10 left
    EXPECT_EQ(f.scroll(), (ViewPoint{10, 600}));
    EXPECT_EQ(f.host.warps.back(), (ViewPoint{400, 589}));
    EXPECT_EQ(f.host.cursor, kTurn) << "the bottom limit turns pages";
    EXPECT_TRUE(f.mouse->edges().bottomLimit);
    f.moveTo(400, 597);
    EXPECT_EQ(f.scroll(), (ViewPoint{10, 600}));
    EXPECT_EQ(f.host.cursor, kTurn);
    f.moveTo(400, 300);
    f.moveTo(3, 300);  // 29 deep, 10 left
    EXPECT_EQ(f.scroll(), (ViewPoint{0, 600}));
    EXPECT_EQ(f.host.warps.back(), (ViewPoint{13, 300}));
    EXPECT_TRUE(f.mouse->edges().leftLimit);
    EXPECT_TRUE(f.allWarpsInside());
    // Leaving the window clears the way in.
    f.moveTo(400, 300);
    f.mouse->left();
    EXPECT_FALSE(f.host.captured);
    EXPECT_EQ(f.host.cursor, kArrow);
    f.moveTo(795, 200);  // room to scroll right, but the pointer came from outside
    EXPECT_EQ(f.scroll(), (ViewPoint{0, 600}));
    EXPECT_TRUE(f.host.captured);
}

}  // namespace
}  // namespace lumipage
