// The document over real files: moving through the list, the caption,
// opening and adding by name, closing, new pages.
#include <gtest/gtest.h>

#include "support/DocumentFixture.h"
#include "support/LibtiffFiles.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

struct Document : test::DocumentFixture, ::testing::Test {
    PageRaster page = test::makePage(test::Pattern::Text, 96, 40, 1);
    PageRaster fax = test::makePage(test::Pattern::Text, 1728, 2290, 2);
    std::string three, one, five;

    Document() {
        startup.menuMode = 0;
        three = writeMH("three.MH", {&page, &page, &page}, 0);
        one = writeFax("one.FAX", fax);
        five = writeMH("five.Mh2", {&page, &page, &page, &page, &page}, 0);
    }
    void openThree() {
        ASSERT_TRUE(table.append(three));
        ASSERT_TRUE(table.append(one));
        ASSERT_TRUE(table.append(five));
    }
};

TEST_F(Document, CaptionShowsGlobalAndFilePagesAndMarks) {
    openThree();
    ASSERT_TRUE(doc.goToPage(4));
    table.setMarks(4, PageWord::kSendError | PageWord::kPrinted, PageWord::kSendMarks | PageWord::kPrintMarks);
    writeText("one.FAX.()", "Title:Cover  \r\n");
    ASSERT_TRUE(doc.goToPage(4));
    EXPECT_EQ(doc.caption(), "(4/9) [ one.FAX Cover ]  送信エラー 印刷済");
    ASSERT_TRUE(doc.goToPage(7));
    EXPECT_EQ(doc.caption(), "(7/9) [ five.Mh2(3/5) ] ");
    EXPECT_EQ(test::firstDifferentRow(doc.raster(), page), -1);
    startup.menuMode = 1;
    EXPECT_EQ(doc.caption(), " [ five.Mh2(3/5) ] ");
    ASSERT_TRUE(doc.goToPage(0));
    EXPECT_EQ(table.currentPage(), 1);
    ASSERT_TRUE(doc.goToPage(14));
    EXPECT_EQ(table.currentPage(), 9);
}

TEST_F(Document, ClosingTheCurrentFileShowsItsNeighbour) {
    openThree();
    ASSERT_TRUE(doc.goToPage(9));
    doc.closeCurrent();
    EXPECT_EQ(doc.path(), one);
    EXPECT_EQ(table.currentPage(), 4);
    ASSERT_TRUE(table.append(five));
    ASSERT_TRUE(doc.goToPage(2));
    doc.closeCurrent();
    EXPECT_EQ(doc.path(), one);  // the entry that moved into its place, on its first page
    EXPECT_EQ(table.currentPage(), 1);
    doc.closeCurrent();
    doc.closeCurrent();
    EXPECT_TRUE(table.empty());
    EXPECT_FALSE(doc.isLoaded());
    EXPECT_EQ(observer.left.size(), 4u);
}

TEST_F(Document, AnEntryThatWillNotOpenIsClosedInTurn) {
    openThree();
    writeText("broken.MH", "not a page file at all, but long enough to be counted as one page..."
                           + std::string(300, ' '));
    ASSERT_TRUE(table.insert(2, dir + "/broken.MH", 0));
    ASSERT_TRUE(doc.goToPage(1));
    doc.closeCurrent();
    EXPECT_EQ(messages.last(), "Failed to load file");
    EXPECT_EQ(table.fileCount(), 2);
    EXPECT_EQ(doc.path(), one);
}

TEST_F(Document, CloseSelectedKeepsFilesWithAnUnselectedPage) {
    openThree();
    for (int p : {1, 2, 4, 5, 6, 7, 8}) table.select(p, true);
    ASSERT_TRUE(doc.goToPage(4));
    doc.closeSelected();
    ASSERT_EQ(table.fileCount(), 2);
    EXPECT_EQ(table.entry(1).path, three);
    EXPECT_EQ(table.entry(2).path, five);
    EXPECT_TRUE(doc.isLoaded());
}

TEST_F(Document, AddingByNameTakesQuotesWildcardsAndListFiles) {
    writeText("@batch.lst", "\"" + one + "\"\t" + dir + "/*.MH\r\n  " + dir + "/@batch.lst\x1A" + five);
    // The list names itself: it is followed to a fixed depth, then no further.
    EXPECT_EQ(doc.addByName("\"" + dir + "/@*.lst\""), 2 * CLP98Doc::kMaxListNesting);
    EXPECT_EQ(table.entry(1).path, one);
    EXPECT_EQ(table.entry(2).path, three);
    doc.closeAll();
    EXPECT_EQ(doc.addByName(dir + "/*.jpg"), 0);
    EXPECT_EQ(messages.last(), dir + "/*.jpgが見つかりません");
    writeText("photo.jpg", "x");
    EXPECT_EQ(doc.addByName(dir + "/photo.jpg"), 0);
    EXPECT_TRUE(table.empty());
}

TEST_F(Document, OpeningPathsAndChosenFiles) {
    ASSERT_TRUE(doc.openChosen({five, one, three}));
    EXPECT_EQ(table.entry(1).path, five);  // sorted: "five" < "one" < "three"
    EXPECT_EQ(table.entry(3).path, three);
    EXPECT_EQ(settings.openPath, dir);
    ASSERT_TRUE(doc.openPath(three, 2));
    EXPECT_EQ(table.currentPage(), 8);
    EXPECT_FALSE(doc.openPath(dir + "/scan.TIF"));
    EXPECT_EQ(observer.scans, std::vector<std::string>{dir + "/scan.TIF"});
    writeText("pic.JPG", "x");
    EXPECT_FALSE(doc.open(dir + "/pic.JPG", 1));
    EXPECT_EQ(messages.last(), "このファイルタイプはサポートされていません");
}

TEST_F(Document, NewPagesInMemoryAndAsFiles) {
    openThree();
    ASSERT_TRUE(doc.goToPage(2));
    ASSERT_TRUE(doc.newPage(test::makePage(test::Pattern::Black, 64, 64), "scan", dir + "/scan.TIF", true));
    EXPECT_TRUE(doc.unsavedPage());
    EXPECT_EQ(doc.caption(), "(----) [ scan.TIF scan ] ");
    doc.closeCurrent();
    EXPECT_FALSE(doc.unsavedPage());
    EXPECT_EQ(doc.path(), three);

    ASSERT_TRUE(doc.newPage(test::makePage(test::Pattern::Black, 64, 64), "again", one, false));
    EXPECT_EQ(table.fileCount(), 3);
    EXPECT_EQ(table.entry(2).path, one);
    EXPECT_EQ(table.currentFile(), 2);

    PageRaster huge;
    huge.setSize(16001, 10);
    EXPECT_FALSE(doc.newPage(std::move(huge), "", dir + "/big.TIF", false));
    EXPECT_EQ(messages.last(), dir + "/big.TIF\nデータサイズが制限値を超えています");
}

// A TIFF's chain of page directories is walked once, when the page list
// counts the file: showing its pages, going to another file and coming
// back use the table that counting made. A file rewritten meanwhile is
// walked again, and its new pages are shown.
TEST_F(Document, ATiffIsWalkedOnceWhileItIsUnchanged) {
    PageSourceStats stats;
    counter.setStats(&stats);
    doc.setSourceStats(&stats);
    const PageRaster a = test::makePage(test::Pattern::Text, 200, 120, 1);
    const PageRaster b = test::makePage(test::Pattern::Noise, 200, 120, 2);
    const PageRaster c = test::makePage(test::Pattern::ThinLines, 200, 120, 3);
    const std::string tiff = dir + "/pages.tif";
    ASSERT_TRUE(test::writeTiffWithLibtiff(tiff, {{&a}, {&b}, {&c}}));
    ASSERT_TRUE(table.append(tiff));
    ASSERT_TRUE(table.append(three));
    EXPECT_EQ(stats.directoryWalks, 1);

    const PageRaster* expected[] = {&a, &b, &c};
    for (int g = 1; g <= 3; ++g) {
        ASSERT_TRUE(doc.goToPage(g));
        EXPECT_EQ(test::firstDifferentRow(doc.raster(), *expected[g - 1]), -1) << "page " << g;
    }
    ASSERT_TRUE(doc.goToPage(4));  // the page file
    ASSERT_TRUE(doc.goToPage(2));  // the TIFF opened again
    EXPECT_EQ(test::firstDifferentRow(doc.raster(), b), -1);
    EXPECT_EQ(stats.directoryWalks, 1);

    ASSERT_TRUE(test::writeTiffWithLibtiff(tiff, {{&c}, {&a}}));
    ASSERT_TRUE(doc.goToPage(4));
    ASSERT_TRUE(doc.goToPage(1));
    EXPECT_EQ(test::firstDifferentRow(doc.raster(), c), -1);
    ASSERT_TRUE(doc.goToPage(2));
    EXPECT_EQ(test::firstDifferentRow(doc.raster(), a), -1);
    EXPECT_EQ(stats.directoryWalks, 2);
    EXPECT_TRUE(messages.said.empty());
}

}  // namespace
}  // namespace lumipage
