// The page list alone: numbering, closing, limits, marks and sorting, with
// page counts given by the test instead of files.
#include <gtest/gtest.h>

#include <map>

#include "document/OpenFileTable.h"
#include "document/PageCounter.h"

namespace lumipage {
namespace {

class FakeCounter : public PageCounter {
public:
    std::map<std::string, int> pages;
    std::map<std::string, std::vector<PageWord>> stored;
    FileCount count(const std::string& path) override { return {pages.contains(path) ? pages[path] : 0, nullptr}; }
    std::vector<PageWord> storedPageWords(const std::string& path, int count) override {
        std::vector<PageWord> w = stored[path];
        if (int(w.size()) > count) w.resize(size_t(count));
        return w;
    }
};

struct Table : ::testing::Test {
    FakeCounter counter;
    OpenFileTable table{counter};

    void add(const std::string& path, int pages) {
        counter.pages[path] = pages;
        ASSERT_TRUE(table.append(path));
    }
};

TEST_F(Table, GlobalPagesRunAcrossFilesAndClamp) {
    add("/a.TIF", 3);
    add("/b.FAX", 1);
    add("/c.MH", 5);
    EXPECT_EQ(table.totalPages(), 9);
    EXPECT_EQ(table.firstPageOf(2), 4);
    EXPECT_EQ(table.firstPageOf(3), 5);
    EXPECT_EQ(table.firstPageOf(4), 0);
    EXPECT_EQ(table.moveTo(4), 2);
    EXPECT_EQ(table.pageInFile(), 1);
    EXPECT_EQ(table.moveTo(7), 3);
    EXPECT_EQ(table.pageInFile(), 3);
    table.moveTo(0);
    EXPECT_EQ(table.currentPage(), 1);
    table.moveTo(14);
    EXPECT_EQ(table.currentPage(), 9);
    EXPECT_EQ(table.currentFile(), 3);
    EXPECT_EQ(table.pageInFile(), 5);
    EXPECT_EQ(table.find("/b.FAX"), 2);
    EXPECT_EQ(table.find("/B.FAX"), 0);  // paths are told apart by case
}

TEST_F(Table, ClosingTheLastEntryLeavesThePreviousOnItsLastPage) {
    add("/a.TIF", 3);
    add("/b.FAX", 1);
    add("/c.MH", 5);
    table.setMarks(6, PageWord::kPrinted, PageWord::kPrintMarks);
    table.moveTo(7);
    table.remove(3);
    EXPECT_EQ(table.fileCount(), 2);
    EXPECT_EQ(table.totalPages(), 4);
    EXPECT_EQ(table.currentFile(), 2);
    EXPECT_EQ(table.currentPage(), 4);
    EXPECT_EQ(table.pageInFile(), 1);
    EXPECT_EQ(table.counts().printed, 0);
}

TEST_F(Table, ClosingInTheMiddleMovesLaterPagesAndTheirWordsDown) {
    add("/a.TIF", 3);
    add("/b.FAX", 1);
    add("/c.MH", 5);
    table.setMarks(5, PageWord::kSent, PageWord::kSendMarks);
    table.setMarks(9, PageWord::kSelected, PageWord::kSelected);
    table.moveTo(4);
    table.remove(2);
    EXPECT_EQ(table.currentFile(), 2);  // the entry that moved into its place
    EXPECT_EQ(table.currentPage(), 4);
    EXPECT_EQ(table.pageInFile(), 1);
    EXPECT_TRUE(table.word(4).has(PageWord::kSent));
    EXPECT_TRUE(table.word(8).has(PageWord::kSelected));
    EXPECT_EQ(table.counts().firstSelected, 8);

    // Closing before the current file moves the position down with it.
    table.moveTo(6);
    table.remove(1);
    EXPECT_EQ(table.currentFile(), 1);
    EXPECT_EQ(table.currentPage(), 3);
    EXPECT_EQ(table.pageInFile(), 3);
    table.remove(1);
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(table.currentPage(), 1);
}

TEST_F(Table, PagesAreCutToTheListLimit) {
    add("/big.TIF", 9998);
    counter.pages["/five.MH"] = 5;
    ASSERT_TRUE(table.append("/five.MH"));
    EXPECT_EQ(table.entry(2).pages, 2);
    EXPECT_EQ(table.totalPages(), 10000);
    counter.pages["/one.FAX"] = 1;
    EXPECT_FALSE(table.append("/one.FAX"));
    EXPECT_FALSE(table.append("/missing.TIF"));
    EXPECT_FALSE(table.insert(1, "/one.FAX", 1));  // inserting never cuts
}

TEST_F(Table, StoredBookWordsAreCopiedOnlyAsFarAsPagesFit) {
    add("/big.TIF", 9998);
    counter.pages["/book.LPB"] = 5;
    counter.stored["/book.LPB"] = {PageWord{0x0101}, PageWord{0x0002}, PageWord{0x0103}, PageWord{0x0104},
                                   PageWord{0x0105}};
    ASSERT_TRUE(table.append("/book.LPB"));
    EXPECT_EQ(table.word(9999).bits, 0x0101);
    EXPECT_EQ(table.word(10000).bits, 0x0002);
    EXPECT_EQ(table.counts().selected, 1);
}

TEST_F(Table, InsertingBeforeTheCurrentFileMovesTheCurrentPage) {
    add("/a.TIF", 3);
    add("/b.FAX", 1);
    table.moveTo(4);
    counter.pages["/new.TIF"] = 2;
    ASSERT_TRUE(table.insert(1, "/new.TIF", 0));
    EXPECT_EQ(table.currentFile(), 3);
    EXPECT_EQ(table.currentPage(), 6);
    EXPECT_EQ(table.entry(1).path, "/new.TIF");
}

TEST_F(Table, CloseByMarkTakesOnlyFullyMarkedFiles) {
    add("/a.TIF", 3);
    add("/b.FAX", 1);
    add("/c.MH", 2);
    table.select(1, true);
    table.select(2, true);  // page 3 stays unselected
    table.select(4, true);
    table.select(5, true);
    table.select(6, true);
    EXPECT_EQ(table.closeByMark(PageWord::kSelected), 2);
    ASSERT_EQ(table.fileCount(), 1);
    EXPECT_EQ(table.entry(1).path, "/a.TIF");
    EXPECT_EQ(table.counts().selected, 2);
    EXPECT_EQ(table.closeByMark(PageWord::kAllMarks), 0);
}

TEST_F(Table, SendAndPrintResultsReplaceEachOther) {
    add("/a.TIF", 3);
    table.setMarks(2, PageWord::kSendError, PageWord::kSendMarks);
    table.setMarks(2, PageWord::kSent, PageWord::kSendMarks);
    EXPECT_TRUE(table.word(2).has(PageWord::kSent));
    EXPECT_FALSE(table.word(2).has(PageWord::kSendError));
    table.setMarks(1, PageWord::kSendError, PageWord::kSendMarks);
    table.setMarks(3, PageWord::kPrinted | PageWord::kSelected, PageWord::kPrintMarks);
    EXPECT_FALSE(table.word(3).has(PageWord::kSelected));  // outside the mask
    EXPECT_EQ(table.counts().sent, 1);
    EXPECT_EQ(table.counts().sendError, 1);
    table.clearSentMarks();
    EXPECT_EQ(table.counts().sent + table.counts().sendError, 0);
    EXPECT_EQ(table.counts().printed, 1);
}

TEST_F(Table, SelectionChangesAreNoticedAndCounted) {
    add("/a.TIF", 12);
    EXPECT_FALSE(table.selectionChanged());
    table.select(3, true);
    table.select(7, true);
    EXPECT_TRUE(table.selectionChanged());
    EXPECT_EQ(table.nthSelected(2), 7);
    EXPECT_EQ(table.nthSelected(3), 0);
    table.invertSelection();
    EXPECT_EQ(table.counts().selected, 10);
    EXPECT_EQ(table.counts().firstSelected, 1);
    EXPECT_EQ(table.counts().lastSelected, 12);
    table.setTransform(0, PageWord::kInverted | 1, PageWord::kTransform);
    EXPECT_EQ(table.word(1).rotation(), 1);
}

TEST_F(Table, SortingMovesEachEntryWithItsPageWords) {
    add("/keep.TIF", 1);
    add("/d.TIF", 2);
    add("/b.TIF", 1);
    add("/a.TIF", 3);
    add("/c.TIF", 1);
    table.select(3, true);  // second page of d
    table.select(5, true);  // first page of a
    table.sortEntries(2, 5);
    const char* order[] = {"/keep.TIF", "/a.TIF", "/b.TIF", "/c.TIF", "/d.TIF"};
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(table.entry(i).path, order[i - 1]);
    EXPECT_TRUE(table.word(2).has(PageWord::kSelected));  // a's first page, now global 2
    EXPECT_TRUE(table.word(8).has(PageWord::kSelected));  // d's second page, now last
    EXPECT_FALSE(table.word(3).has(PageWord::kSelected));
    EXPECT_EQ(table.word(9).bits, 0);  // beyond the list: no page
    EXPECT_EQ(table.counts().selected, 2);
}

TEST_F(Table, CombSortOrdersManyEntries) {
    for (int i = 0; i < 40; ++i) add("/f" + std::to_string((i * 17) % 40 + 100) + ".TIF", 1);
    table.sortEntries(1, 40);
    for (int i = 1; i < 40; ++i) EXPECT_LT(table.entry(i).path, table.entry(i + 1).path);
}

}  // namespace
}  // namespace lumipage
