// The stored window placement and the window the command line asks for.
#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/WindowPlacement.h"

namespace lumipage {
namespace {

TEST(WindowPlacement, StoredTextRoundTripsAndRejectsDamage) {
    const auto w = WindowPlacement::parse("2:3:-1:-1:-8:-30:100:50:900:700");
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isMaximised());
    EXPECT_EQ(w->maximised, (ViewPoint{-8, -30}));
    EXPECT_EQ(w->normal, (ViewRect{100, 50, 900, 700}));
    EXPECT_EQ(w->format(), "2:3:-1:-1:-8:-30:100:50:900:700");
    for (const char* bad : {"", "1:2:3", "0:1:0:0:0:0:0:0:10:10:5", "0:1:0:0:0:0:0:0:10:x", "0:1:0:0:0:0:0:0:10:10:"})
        EXPECT_FALSE(WindowPlacement::parse(bad)) << bad;
    EXPECT_EQ(WindowPlacement::atExit({1, 2, 3, 4}, true).format(), "2:3:-1:-1:-1:-1:1:2:3:4");
    EXPECT_EQ(WindowPlacement::atExit({1, 2, 3, 4}, false).format(), "0:1:-1:-1:-1:-1:1:2:3:4");
}

TEST(WindowPlacement, NormalRectangleIsFittedIntoTheWorkArea) {
    WindowPlacement w;
    w.normal = {200, 100, 2200, 600};  // wider than the area
    w.fitInto({0, 0, 1280, 1000});
    EXPECT_EQ(w.normal, (ViewRect{0, 100, 1280, 600}));
    w.normal = {900, 800, 1300, 1100};  // sticks out right and below
    w.fitInto({0, 0, 1280, 1000});
    EXPECT_EQ(w.normal, (ViewRect{880, 700, 1280, 1000}));
    w.normal = {10, 10, 400, 300};
    w.fitInto({0, 0, 1280, 1000});
    EXPECT_EQ(w.normal, (ViewRect{10, 10, 400, 300}));
}

TEST(WindowPlacement, CommandLineSizesFillInAndStayOnScreen) {
    StartupRequest r;
    const ViewSize screen{1280, 1024};
    EXPECT_FALSE(requestedWindowRect(r, screen));
    r.windowWidth = 720;
    r.windowHeight = 540;
    EXPECT_EQ(requestedWindowRect(r, screen), (ViewRect{280, 242, 1000, 782}));
    r.windowHeight.reset();
    EXPECT_EQ(requestedWindowRect(r, screen)->height(), 540);
    r.windowWidth.reset();
    r.windowHeight = 300;
    EXPECT_EQ(requestedWindowRect(r, screen)->width(), 400);
    r.windowHeight = 50;
    r.windowX = 2000;
    r.windowY = 10;
    const ViewRect small = *requestedWindowRect(r, screen);
    EXPECT_EQ(small.height(), 120);
    EXPECT_EQ(small.width(), 160) << "66 pixels wide is raised to the least width";
    EXPECT_EQ(small.right, 1280);
    EXPECT_EQ(small.top, 10);
    r = StartupRequest{};
    r.windowX = 0;
    EXPECT_EQ(requestedWindowRect(r, screen), (ViewRect{0, 0, 1280, 1024}));
}

}  // namespace
}  // namespace lumipage
