// The command handlers: which commands are offered with and without pages,
// their check marks, and commands that reach every page's word.
#include <gtest/gtest.h>

#include "base/CommandIds.h"
#include "app/CommandTable.h"
#include "support/ViewerFixture.h"

namespace lumipage {
namespace {

using namespace command;

struct Commands : test::ViewerFixture, ::testing::Test {
    bool on(int id) const { return commands.state(id).enabled; }
    bool ticked(int id) const { return commands.state(id).checked; }
};

TEST_F(Commands, WithoutPagesOnlyFittingOpeningAndSettingsAreOffered) {
    view.ShowCurrentPage();
    for (const int id : {kOpen, kExit, kFitPageWidth, kFitWholePage, kFitTwicePageWidth, kAutoScroll, kCatchScroll,
                         kViewCenter, kViewFrameShadow})
        EXPECT_TRUE(on(id)) << id;
    for (const int id : {kNextPage, kPreviousPage, kFirstPage, kLastPage, kJump, kBack, kNextSelected,
                         kPreviousSelected, kPageCounter, kSelectionCounter, kToggleSelection, kSelectAll,
                         kClearSelection, kInvertSelection, kClearPrintedMarks, kClearSentMarks, kZoomIn, kZoomOut,
                         kZoomByMouse, kTurnLeft, kRotate90, kRotateAll0, kInvert, kMirrorUpDownAll, kCloseCurrent,
                         kCloseAll})
        EXPECT_FALSE(on(id)) << id;
    EXPECT_FALSE(commands.run(kNextPage));
    EXPECT_EQ(commands.state(kPageCounter).text, "[現頁    /  ]");
}

TEST_F(Commands, WithPagesNavigationFollowsThePosition) {
    openNine();
    for (const int id : {kNextPage, kLastPage, kJump, kPageCounter, kToggleSelection, kSelectAll, kClearSelection,
                         kInvertSelection, kZoomOut, kTurnLeft, kRotate180, kInvertAll, kCloseCurrent, kCloseAll})
        EXPECT_TRUE(on(id)) << id;
    for (const int id : {kPreviousPage, kFirstPage, kBack, kNextSelected, kPreviousSelected, kSelectionCounter,
                         kClearPrintedMarks, kClearSentMarks, kCloseSelected})
        EXPECT_FALSE(on(id)) << id;
    EXPECT_TRUE(commands.run(kLastPage));
    EXPECT_TRUE(on(kBack));
    EXPECT_FALSE(on(kNextPage));
    EXPECT_TRUE(commands.run(kSelectAll));
    EXPECT_TRUE(on(kSelectionCounter));
    EXPECT_TRUE(ticked(kToggleSelection));
    EXPECT_EQ(commands.state(kSelectionCounter).text, "[選択 9]");
    table.setMarks(2, PageWord::kPrintError, PageWord::kPrintMarks);
    EXPECT_TRUE(on(kClearPrintedMarks));
    EXPECT_TRUE(commands.run(kClearPrintedMarks));
    EXPECT_FALSE(on(kClearPrintedMarks));
    EXPECT_FALSE(commands.run(kPrintAll)) << "printing is not offered yet";
}

TEST_F(Commands, ZoomCommandsCheckTheFitModeAndStopAtTheEnds) {
    openNine();
    navigator.goToPage(4);  // the fax page, larger than the window
    EXPECT_TRUE(ticked(kFitPageWidth));
    EXPECT_TRUE(commands.run(kFitWholePage));
    EXPECT_TRUE(ticked(kFitWholePage));
    EXPECT_FALSE(ticked(kFitPageWidth));
    while (on(kZoomIn)) commands.run(kZoomIn);
    EXPECT_EQ(view.level(), 12);
    EXPECT_FALSE(ticked(kFitWholePage));
    EXPECT_EQ(host.status[4], "Zoom: 1/1");
    int broadcasts = 0;
    commands.setBroadcaster([&](int code, int value) {
        ++broadcasts;
        EXPECT_EQ(code, 261);
        EXPECT_EQ(value, 0);
    });
    commands.run(kViewCenter);
    EXPECT_FALSE(ticked(kViewCenter));
    EXPECT_FALSE(ticked(kViewFrameShadow)) << "no shadow without centring";
    EXPECT_EQ(broadcasts, 1);
}

TEST_F(Commands, AllPagesCommandsGiveEveryPageTheCurrentState) {
    openNine();
    commands.run(kRotateAll90);
    EXPECT_TRUE(ticked(kRotate90));
    EXPECT_TRUE(ticked(kRotateAll90));
    commands.run(kInvertAll);
    EXPECT_TRUE(ticked(kInvert));
    for (int page = 1; page <= 9; ++page) EXPECT_EQ(table.word(page).transform(), 0x81) << page;
    commands.run(kMirrorLeftRight);
    EXPECT_EQ(table.word(1).transform(), 0x85);
    EXPECT_EQ(table.word(2).transform(), 0x81);
    commands.run(kNextPage);
    EXPECT_EQ(view.rotation(), 1) << "the next page opens turned";
    EXPECT_TRUE(ticked(kInvert));
    EXPECT_FALSE(ticked(kMirrorLeftRight));
    commands.run(kInvertAll);
    for (int page = 1; page <= 9; ++page) EXPECT_FALSE(table.word(page).transform() & 0x80) << page;
}

TEST_F(Commands, ClosingFilesShowsWhatRemains) {
    openNine();
    commands.run(kCloseCurrent);
    EXPECT_EQ(navigator.pageCount(), 6);
    EXPECT_EQ(doc.path(), one);
    EXPECT_TRUE(view.pageShown());
    table.select(1, true);
    commands.run(kCloseSelected);
    EXPECT_EQ(table.fileCount(), 1);
    commands.run(kCloseAll);
    EXPECT_FALSE(view.pageShown());
    EXPECT_EQ(host.status[2], "Pixel: ");
    EXPECT_EQ(changes, 3);
}

TEST(CommandTable, MenuHoldsEveryCommandOnceAndTheButtonsToo) {
    std::vector<int> ids;
    for (const MenuLine& line : mainMenu())
        if (line.id != 0) ids.push_back(line.id);
    std::vector<int> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    for (const int button : toolBarButtons())
        if (button != 0) {
            EXPECT_NE(captionOf(button), nullptr) << button;
        }
    EXPECT_STREQ(captionOf(kTurnHalf), "半回転(&I)");
    EXPECT_EQ(captionOf(12345), nullptr);
}

TEST(CommandTable, StartupModesShapeMenusAndButtons) {
    StartupRequest request;
    MenuShape full = MenuShape::of(request, 1280);
    EXPECT_TRUE(full.menuBar && full.fileMenu && full.scanMenus && full.faxMenu);
    EXPECT_TRUE(full.removesItem(kPrintDirect));
    EXPECT_TRUE(full.hidesButton(kContents) && full.hidesButton(kKeywordIndex));
    EXPECT_FALSE(full.hidesButton(kOpen));

    request.fileMenu = false;
    request.scanning = false;
    request.fax = false;
    MenuShape bare = MenuShape::of(request, 640);
    EXPECT_FALSE(bare.fileMenu || bare.scanMenus || bare.faxMenu);
    for (const int id : {kOpen, kEditComment, kScanNew, kCopyDirect, kPreviousSelected, kNextSelected, kFaxSend,
                         kVoiceCall})
        EXPECT_TRUE(bare.hidesButton(id)) << id;
    EXPECT_TRUE(bare.removesItem(kFaxFromScanner));
    EXPECT_FALSE(MenuShape::of(request, 641).hidesButton(kNextSelected));

    request.menuMode = 0;
    MenuShape none = MenuShape::of(request, 1280);
    EXPECT_FALSE(none.menuBar);
    EXPECT_FALSE(none.hidesButton(kContents));
}

}  // namespace
}  // namespace lumipage
