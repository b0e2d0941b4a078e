// Moving through the page list, the back target, the selected pages, the
// menu-bar counters and the page list rows, over real files in a view.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/ViewerFixture.h"

namespace lumipage {
namespace {

struct Navigation : test::ViewerFixture, ::testing::Test {
    Navigation() { openNine(); }
};

TEST_F(Navigation, NextAndPreviousStopAtTheEnds) {
    EXPECT_FALSE(navigator.canPrevious());
    EXPECT_FALSE(navigator.canFirst());
    navigator.previousPage();
    EXPECT_EQ(navigator.currentPage(), 1);
    for (int i = 0; i < 8; ++i) navigator.nextPage();
    EXPECT_EQ(navigator.currentPage(), 9);
    EXPECT_FALSE(navigator.canNext());
    EXPECT_FALSE(navigator.canLast());
    navigator.nextPage();
    EXPECT_EQ(navigator.currentPage(), 9);
    EXPECT_TRUE(navigator.canPrevious());
    EXPECT_EQ(navigator.backTarget(), 0) << "next and previous leave no way back";
    EXPECT_EQ(changes, 8);
}

TEST_F(Navigation, PageChangesReachTheViewAcrossFiles) {
    navigator.goToPage(4);  // the fax file
    EXPECT_EQ(doc.path(), one);
    EXPECT_TRUE(view.pageShown());
    EXPECT_EQ(host.status[2], "Pixel: 1728 x 2290");
    navigator.goToPage(3);  // back in the first file
    EXPECT_EQ(doc.path(), three);
    EXPECT_EQ(doc.filePage(), 3);
    EXPECT_EQ(host.status[2], "Pixel: 96 x 40");
    navigator.goToPage(50);
    EXPECT_EQ(navigator.currentPage(), 9);
    EXPECT_EQ(doc.filePage(), 5);
}

TEST_F(Navigation, BackAlternatesBetweenTwoPages) {
    EXPECT_FALSE(navigator.canBack());
    for (int i = 0; i < 4; ++i) navigator.nextPage();
    navigator.firstPage();
    EXPECT_EQ(navigator.currentPage(), 1);
    EXPECT_TRUE(navigator.canBack());
    navigator.back();
    EXPECT_EQ(navigator.currentPage(), 5);
    navigator.back();
    EXPECT_EQ(navigator.currentPage(), 1);
    navigator.lastPage();
    EXPECT_EQ(navigator.backTarget(), 1);
    navigator.jumpTo(6);
    EXPECT_EQ(navigator.backTarget(), 9);
    navigator.back();
    EXPECT_EQ(navigator.currentPage(), 9);
    EXPECT_EQ(navigator.backTarget(), 6);
}

TEST_F(Navigation, JumpRefusesPagesOutsideTheList) {
    navigator.jumpTo(0);
    navigator.jumpTo(10);
    navigator.jumpTo(1);
    EXPECT_EQ(navigator.currentPage(), 1);
    EXPECT_EQ(navigator.backTarget(), 0);
    navigator.jumpTo(9);
    EXPECT_EQ(navigator.currentPage(), 9);
}

TEST_F(Navigation, SelectedPagesAreVisitedInOrder) {
    EXPECT_FALSE(navigator.canNextSelected());
    table.select(3, true);
    table.select(7, true);
    EXPECT_TRUE(navigator.canNextSelected());
    EXPECT_FALSE(navigator.canPreviousSelected());
    navigator.nextSelected();
    EXPECT_EQ(navigator.currentPage(), 3);
    navigator.nextSelected();
    EXPECT_EQ(navigator.currentPage(), 7);
    EXPECT_FALSE(navigator.canNextSelected());
    navigator.nextPage();
    navigator.nextSelected();
    EXPECT_EQ(navigator.currentPage(), 8) << "none after the current page: nothing happens";
    navigator.previousSelected();
    EXPECT_EQ(navigator.currentPage(), 7);
    navigator.previousSelected();
    EXPECT_EQ(navigator.currentPage(), 3);
    EXPECT_FALSE(navigator.canPreviousSelected());
}

TEST_F(Navigation, CountersFollowPagesAndMarks) {
    EXPECT_EQ(navigator.pageCounterText(), "[現頁  1/9]");
    EXPECT_EQ(navigator.selectionCounterText(), "[選択 0]");
    navigator.toggleCurrentSelection();
    EXPECT_EQ(navigator.pageCounterText(), "[現頁 *1/9]");
    navigator.nextPage();
    EXPECT_EQ(navigator.pageCounterText(), "[現頁  2/9]");
    navigator.invertSelection();
    EXPECT_EQ(navigator.selectionCounterText(), "[選択 8]");
    EXPECT_EQ(navigator.pageCounterText(), "[現頁 *2/9]");
    navigator.clearSelection();
    EXPECT_EQ(navigator.selectionCounterText(), "[選択 0]");
    doc.newPage(test::makePage(test::Pattern::Text, 64, 64), "scan", dir + "/scan.TIF", true);
    EXPECT_EQ(navigator.pageCounterText(), "[現頁  ---]");
    doc.closeAll();
    EXPECT_EQ(navigator.pageCounterText(), "[現頁    /  ]");
    EXPECT_EQ(navigator.selectionCounterText(), "[選択  ]");
}

TEST_F(Navigation, PageListRowsNameFilesPagesAndMarks) {
    table.setMarks(2, PageWord::kPrinted | PageWord::kSendError, PageWord::kPrintMarks | PageWord::kSendMarks);
    table.setMarks(4, PageWord::kPrintError | PageWord::kSent, PageWord::kPrintMarks | PageWord::kSendMarks);
    table.select(4, true);
    const std::vector<PageListRow> rows = navigator.pageListRows(PageNavigator::ListMode::All);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[1].pageAndName, " 002\u3000\u3000three.MH(2/3)");
    EXPECT_EQ(rows[1].printed, "済");
    EXPECT_EQ(rows[1].sent, "ｴﾗｰ");
    EXPECT_EQ(rows[3].pageAndName, " 004\u3000\u3000one.FAX");
    EXPECT_EQ(rows[3].printed, "ｴﾗｰ");
    EXPECT_EQ(rows[3].sent, "済");
    EXPECT_TRUE(rows[3].selected);
    EXPECT_EQ(rows[8].pageAndName, " 009\u3000\u3000five.MH(5/5)");
    EXPECT_EQ(rows[8].printed, " ");
    EXPECT_EQ(rows[8].folder, dir);
    const std::vector<PageListRow> selected = navigator.pageListRows(PageNavigator::ListMode::Selected);
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].page, 4);
    EXPECT_EQ(navigator.pageListRow(6).pageAndName, rows[5].pageAndName);
}

TEST_F(Navigation, LongListsNumberPagesWithFourDigits) {
    const std::vector<const PageRaster*> pages(200, &small);
    for (const char* name : {"a.MH", "b.MH", "c.MH", "d.MH", "e.MH"}) ASSERT_TRUE(table.append(writeMH(name, pages, 0)));
    ASSERT_EQ(navigator.pageCount(), 1009);
    EXPECT_EQ(navigator.pageListRow(1).pageAndName, " 0001\u3000\u3000three.MH(1/3)");
    EXPECT_EQ(navigator.pageListRow(1009).pageAndName, " 1009\u3000\u3000e.MH(200/200)");
    EXPECT_EQ(navigator.pageListRows(PageNavigator::ListMode::All)[209].pageAndName, " 0210\u3000\u3000b.MH(1/200)");
}

TEST_F(Navigation, APageThatCannotBeLoadedClosesItsFile) {
    std::filesystem::remove(one);
    navigator.goToPage(4);
    EXPECT_EQ(table.fileCount(), 2);
    EXPECT_EQ(navigator.pageCount(), 8);
    EXPECT_EQ(doc.path(), five) << "the file that took its place is shown";
    EXPECT_TRUE(view.pageShown());
}

TEST_F(Navigation, ChoosingFromTheListSavesTheWayBack) {
    navigator.chooseFromList(6);
    EXPECT_EQ(navigator.currentPage(), 6);
    EXPECT_EQ(navigator.backTarget(), 1);
    navigator.toggleSelection(6);
    navigator.toggleSelection(7);
    EXPECT_EQ(table.counts().selected, 2);
    navigator.toggleSelection(6);
    EXPECT_EQ(table.counts().firstSelected, 7);
}

}  // namespace
}  // namespace lumipage
