// The page view's mouse gestures: clicks against holds and drags, the two
// drags, the direction jump, the zoom frame and both buttons together.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/MouseFixture.h"
#include "view/CursorIds.h"
#include "view/DirectionJump.h"

namespace lumipage {
namespace {

using namespace cursor_id;
using test::MouseFixture;
using Gesture = ViewMouse::Gesture;
constexpr auto L = MouseFixture::L;
constexpr auto R = MouseFixture::R;

// The page pixel under a client point.
ViewPoint pagePointAt(const CLP98View& view, ViewPoint client) {
    const ViewPoint b = view.bitmapPoint(client);
    const int d = zoom::divisor(view.level());
    return {b.x * d / 10, b.y * d / 10};
}

void expectNear(ViewPoint a, ViewPoint b, int tolerance) {
    EXPECT_LE(std::abs(a.x - b.x), tolerance) << a.x << " vs " << b.x;
    EXPECT_LE(std::abs(a.y - b.y), tolerance) << a.y << " vs " << b.y;
}

TEST(ViewMouse, ClicksZoomAtThePointerAndHoldsDrag) {
    MouseFixture f(3200, 2400);
    f.view->SetZoomLevel(10);
    f.scrollTo(100, 80);
    f.moveTo(300, 200);
    EXPECT_EQ(f.host.cursor, kZoom);
    EXPECT_TRUE(f.host.captured);

    // A press released within the hold time, having moved less than 8 pixels, is a click.
    const ViewPoint under = pagePointAt(*f.view, {300, 200});
    f.press(L, 300, 200);
    f.advance(300);
    f.moveTo(305, 205);  // 50 squared: still a click
    f.release(L, 305, 205);
    EXPECT_EQ(f.view->level(), 11);
    EXPECT_EQ(f.view->fitMode(), CLP98View::kFitNone);
    expectNear(pagePointAt(*f.view, {305, 205}), {under.x + 10, under.y + 10}, 4);
    EXPECT_TRUE(f.host.timers.empty());

    f.click(R, 305, 205, /*shift*/ true);
    EXPECT_EQ(f.view->level(), 9);
    f.click(L, 305, 205, /*shift*/ true);
    EXPECT_EQ(f.view->level(), 11);
    // Ctrl: to 1:1 and back at the pointer; Ctrl with the right button fits the whole page.
    const ViewPoint before = pagePointAt(*f.view, {305, 205});
    f.click(L, 305, 205, false, /*ctrl*/ true);
    EXPECT_EQ(f.view->level(), zoom::kOneToOne);
    expectNear(pagePointAt(*f.view, {305, 205}), before, 2);
    f.click(L, 305, 205, false, true);
    EXPECT_EQ(f.view->level(), 11);
    f.click(R, 305, 205, false, true);
    EXPECT_EQ(f.view->level(), f.view->FitLevel(CLP98View::kFitWholePage));

    // A page centred in a wider window keeps its point too.
    MouseFixture centred(3200, 2400, {700, 500});
    centred.view->SetZoomLevel(7);  // 533 x 400
    const ViewPoint paper = pagePointAt(*centred.view, {400, 300});
    centred.click(L, 400, 300);
    EXPECT_EQ(centred.view->level(), 8);
    expectNear(pagePointAt(*centred.view, {400, 300}), paper, 4);

    // Held for 500 ms: a drag, and no zoom at the release.
    const int level = f.view->level();
    f.press(L, 300, 200);
    f.advance(499);
    EXPECT_EQ(f.mouse->gesture(), Gesture::None);
    f.advance(1);
    EXPECT_EQ(f.mouse->gesture(), Gesture::PushDrag);
    EXPECT_EQ(f.host.cursor, kPushDrag);
    f.release(L, 300, 200);
    EXPECT_EQ(f.view->level(), level);
    EXPECT_EQ(f.host.cursor, kZoom) << "the previous shape comes back";

    // Moved 8 pixels before the timer: a drag at once.
    f.press(L, 300, 200);
    f.moveTo(307, 200);
    EXPECT_EQ(f.mouse->gesture(), Gesture::None);
    f.moveTo(308, 200);
    EXPECT_EQ(f.mouse->gesture(), Gesture::PushDrag);
    EXPECT_TRUE(f.host.timers.empty());
    f.release(L, 308, 200);
    EXPECT_EQ(f.view->level(), level);
}

TEST(ViewMouse, CatchDragKeepsThePaperUnderThePointer) {
    MouseFixture f;
    f.settings.catchScroll = 1;
    f.scrollTo(400, 300);
    f.moveTo(400, 300);
    const ViewPoint held = f.view->bitmapPoint({400, 300});
    f.press(L, 400, 300);
    f.moveTo(350, 260);
    EXPECT_EQ(f.mouse->gesture(), Gesture::CatchDrag);
    EXPECT_EQ(f.host.cursor, kCatchDrag);
    EXPECT_EQ(f.scroll(), (ViewPoint{450, 340}));
    EXPECT_EQ(f.view->bitmapPoint({350, 260}), held);
    f.moveTo(480, 390);
    EXPECT_EQ(f.view->bitmapPoint({480, 390}), held);
    // Past the bitmap's ends the view stops.
    f.moveTo(-900, -900);
    EXPECT_EQ(f.scroll(), (ViewPoint{800, 600}));
    f.moveTo(1500, 1500);
    EXPECT_EQ(f.scroll(), (ViewPoint{0, 0}));
    EXPECT_TRUE(f.host.warps.empty()) << "the pointer moves freely";
    f.release(L, 1500, 1500);
    EXPECT_EQ(f.mouse->gesture(), Gesture::None);
}

TEST(ViewMouse, PushDragPutsThePointerBackByWhatScrolled) {
    MouseFixture f;
    f.scrollTo(400, 300);
    f.moveTo(400, 300);
    f.press(L, 400, 300);
    f.moveTo(390, 320);  // a move left and down scrolls left and down
    EXPECT_EQ(f.mouse->gesture(), Gesture::PushDrag);
    EXPECT_EQ(f.scroll(), (ViewPoint{390, 320}));
    ASSERT_EQ(f.host.warps.size(), 1u);
    EXPECT_EQ(f.host.warps.back(), (ViewPoint{400, 300}));
    // The pointer's report of the warp itself changes nothing.
    f.moveTo(400, 300);
    EXPECT_EQ(f.scroll(), (ViewPoint{390, 320}));
    // Only 30 pixels are left above: the pointer keeps the rest of its move.
    f.scrollTo(30, 320);
    f.moveTo(350, 300);
    EXPECT_EQ(f.scroll(), (ViewPoint{0, 320}));
    EXPECT_EQ(f.host.warps.back(), (ViewPoint{380, 300}));
    // Dragged out of the window: the pointer comes back no further than its edge.
    f.scrollTo(0, 590);
    f.moveTo(380, 640);
    EXPECT_EQ(f.scroll().y, 600);
    EXPECT_EQ(f.host.warps.back(), (ViewPoint{380, 599}));
    const size_t warps = f.host.warps.size();
    f.moveTo(380, 700);  // nothing left to scroll: the pointer is not moved
    EXPECT_EQ(f.host.warps.size(), warps);
    EXPECT_TRUE(f.allWarpsInside());
    f.release(L, 380, 700);
    EXPECT_EQ(f.mouse->gesture(), Gesture::None);
}

TEST(ViewMouse, DirectionShapesFollowTheTwoToOneRule) {
    struct Case {
        int dx, dy, cursor;
    };
    const Case cases[] = {
        {0, 0, kJumpCentre},     {8, 0, kJumpCentre},     {5, 6, kJumpCentre},      {6, 6, kJumpDownRight},  {0, -9, kJumpUp},
        {10, 21, kJumpDown},     {10, 20, kJumpDownRight}, {20, 10, kJumpRight},    {21, 11, kJumpDownRight},
        {-21, 10, kJumpLeft},    {-21, -11, kJumpUpLeft},  {30, -40, kJumpUpRight}, {-30, 40, kJumpDownLeft},
        {-3, -100, kJumpUp},     {100, 49, kJumpRight},    {100, 51, kJumpDownRight},
    };
    for (const Case& c : cases) EXPECT_EQ(DirectionJump::cursorFor(c.dx, c.dy), c.cursor) << c.dx << "," << c.dy;
}

TEST(ViewMouse, DirectionJumpScrollsToTheEdgeItPoints) {
    struct Case {
        int dx, dy;
        ViewPoint end;  // -1 keeps the position of the middle
    };
    const Case cases[] = {{0, -50, {-1, 0}},    {50, -50, {800, 0}},  {50, 0, {800, -1}}, {50, 50, {800, 600}},
                          {0, 50, {-1, 600}},   {-50, 50, {0, 600}},  {-50, 0, {0, -1}},  {-50, -50, {0, 0}},
                          {5, 5, {400, 300}}};
    for (const Case& c : cases) {
        MouseFixture f;
        f.scrollTo(123, 234);
        f.moveTo(400, 300);
        f.press(R, 400, 300);
        f.advance(500);
        EXPECT_EQ(f.mouse->gesture(), Gesture::DirectionJump);
        EXPECT_EQ(f.host.cursor, kJumpCentre);
        f.moveTo(400 + c.dx, 300 + c.dy);
        f.release(R, 400 + c.dx, 300 + c.dy);
        const ViewPoint want{c.end.x < 0 ? 123 : c.end.x, c.end.y < 0 ? 234 : c.end.y};
        EXPECT_EQ(f.scroll(), want) << c.dx << "," << c.dy;
        EXPECT_EQ(f.view->level(), zoom::kOneToOne) << "no zoom after a jump";
        EXPECT_EQ(f.mouse->gesture(), Gesture::None);
    }
    // An 8-pixel move with the right button starts the jump without the timer.
    MouseFixture f;
    f.moveTo(400, 300);
    f.press(R, 400, 300);
    f.moveTo(400, 308);
    EXPECT_EQ(f.mouse->gesture(), Gesture::DirectionJump);
    f.moveTo(400, 360);
    EXPECT_EQ(f.host.cursor, kJumpDown);
    f.release(R, 400, 360);
    EXPECT_EQ(f.scroll().y, 600);
}

TEST(ViewMouse, ZoomFrameIsSizedByClicksAndDraggedByHolds) {
    MouseFixture f;
    f.view->SetZoomLevel(9);
    f.view->toggleZoomFrame();
    ASSERT_TRUE(f.view->frameShown());
    f.moveTo(200, 200);
    EXPECT_EQ(f.host.cursor, kArrow);
    const int frameLevel = f.view->frameLevel();
    f.click(L, 200, 200);
    EXPECT_EQ(f.view->frameLevel(), frameLevel - 1);
    f.click(R, 200, 200);
    EXPECT_EQ(f.view->frameLevel(), frameLevel);
    EXPECT_EQ(f.view->level(), 9);

    f.press(L, 200, 200);
    f.advance(500);
    EXPECT_EQ(f.mouse->gesture(), Gesture::FrameDrag);
    EXPECT_EQ(f.host.cursor, kFrameDrag);
    f.moveTo(400, 300);
    const ViewRect frame = *f.view->frameOnScreen();
    EXPECT_NEAR((frame.left + frame.right) / 2, 400, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, 300, 1);
    const ViewPoint corner = f.view->bitmapPoint({frame.left, frame.top});
    f.release(L, 400, 300);
    EXPECT_EQ(f.view->level(), frameLevel) << "the release zooms into the frame";
    EXPECT_EQ(f.scroll(), f.view->clampScroll({zoom::rescale(corner.x, 9, frameLevel),
                                               zoom::rescale(corner.y, 9, frameLevel)}));
    // Back out with a plain click while the frame is not shown.
    ASSERT_FALSE(f.view->frameShown());
    f.click(L, 250, 240);
    EXPECT_EQ(f.view->level(), 9);

    // The right button drags the frame too, and its release does not zoom.
    f.press(R, 200, 200);
    f.moveTo(200, 230);
    EXPECT_EQ(f.mouse->gesture(), Gesture::FrameDrag);
    f.release(R, 200, 230);
    EXPECT_EQ(f.view->level(), 9);
    EXPECT_TRUE(f.allWarpsInside());
}

TEST(ViewMouse, FrameDragScrollsTheViewAndTheFrameStaysUnderThePointer) {
    MouseFixture g(3200, 2400);
    g.view->SetZoomLevel(10);  // 1600 x 1200 bitmap in 800 x 600
    g.view->toggleZoomFrame();
    g.moveTo(400, 300);
    g.press(L, 400, 300);
    g.advance(500);
    g.moveTo(790, 300);  // the frame would leave the window on the right
    EXPECT_GT(g.scroll().x, 0);
    const ViewRect frame = *g.view->frameOnScreen();
    EXPECT_LE(frame.right, 800);
    ASSERT_FALSE(g.host.warps.empty());
    const ViewPoint pointer = g.host.warps.back();
    EXPECT_NEAR((frame.left + frame.right) / 2, pointer.x, 1);
    EXPECT_TRUE(g.allWarpsInside());
}

TEST(ViewMouse, BothButtonsOpenAFileOrTheContents) {
    MouseFixture f;
    f.moveTo(400, 300);
    f.press(R, 400, 300);
    f.press(L, 400, 300);  // ignored while the right button is down
    f.release(L, 400, 300);
    EXPECT_EQ(f.host.commands, (std::vector<int>{command::kOpen}));
    f.release(R, 400, 300);
    EXPECT_EQ(f.view->level(), zoom::kOneToOne);
    EXPECT_EQ(f.mouse->gesture(), Gesture::None);

    f.host.commands.clear();
    f.view->SetZoomLevel(10);
    f.press(L, 400, 300);
    f.press(R, 400, 300);
    f.release(R, 400, 300);
    EXPECT_EQ(f.host.commands, (std::vector<int>{command::kContents}));
    f.release(L, 400, 300);
    EXPECT_EQ(f.view->level(), 10) << "the last release of the pair does not zoom";

    // Not during a drag, and not with the file functions switched off.
    f.host.commands.clear();
    f.view->SetZoomLevel(zoom::kOneToOne);
    f.press(L, 400, 300);
    f.moveTo(420, 300);
    ASSERT_EQ(f.mouse->gesture(), Gesture::PushDrag);
    f.press(R, 420, 300);
    f.release(L, 420, 300);
    EXPECT_EQ(f.mouse->gesture(), Gesture::None);
    f.release(R, 420, 300);
    f.host.files = false;
    f.press(R, 420, 300);
    f.press(L, 420, 300);
    f.release(L, 420, 300);
    f.release(R, 420, 300);
    EXPECT_TRUE(f.host.commands.empty());
    // With no pages the contents are not asked for either.
    f.host.pages = 0;
    f.press(L, 420, 300);
    f.press(R, 420, 300);
    f.release(R, 420, 300);
    f.release(L, 420, 300);
    EXPECT_TRUE(f.host.commands.empty());
}

TEST(ViewMouse, PressesBesideThePageOrWithoutPages) {
    MouseFixture f(600, 400);  // centred in the window with room around it
    f.moveTo(20, 20);
    EXPECT_EQ(f.host.cursor, kArrow);
    EXPECT_FALSE(f.host.captured);
    f.click(L, 20, 20);
    EXPECT_TRUE(f.view->zoomFrameMode());
    EXPECT_FALSE(f.view->zoomByMouse());
    f.click(L, 20, 20);
    EXPECT_FALSE(f.view->zoomFrameMode());
    EXPECT_TRUE(f.view->zoomByMouse());
    EXPECT_TRUE(f.host.timers.empty());

    f.host.pages = 0;
    f.click(L, 400, 300);
    EXPECT_EQ(f.host.commands, (std::vector<int>{command::kOpen}));
    f.host.files = false;
    f.click(L, 400, 300);
    EXPECT_EQ(f.host.commands.size(), 1u);
}

}  // namespace
}  // namespace lumipage
