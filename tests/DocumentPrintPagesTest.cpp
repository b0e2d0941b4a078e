// Printing from the command line, without a window: the job takes the pages
// from the document, each as the window would show it, and marks them.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/DocumentPrintPages.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

bool ink(const PageRaster& page, int x, int y) { return (page.row(y)[x / 8] >> (7 - x % 8)) & 1; }

class CountingSheet : public PrintSheet {
public:
    int drawn = 0;
    ViewSize drawingSize() const override { return {1200, 1600}; }
    void drawBitmap(const CDIB&, const ViewRect&) override { ++drawn; }
    void drawColourPage(const CDIB&) override {}
};

struct DocumentPrinting : test::DocumentFixture, ::testing::Test {};

TEST_F(DocumentPrinting, EveryPageIsPrintedAsShownAndMarked) {
    const PageRaster a = test::makePage(test::Pattern::Text, 320, 200, 1);
    const PageRaster b = test::makePage(test::Pattern::Noise, 320, 200, 2);
    ASSERT_TRUE(table.append(writeMH("two.MH", {&a, &b})));
    const std::string gone = writeMH("gone.MH", {&a});
    ASSERT_TRUE(table.append(gone));
    std::filesystem::remove(gone);  // counted, then taken away: it cannot be printed
    table.setTransform(2, PageWord::kMirrorLeftRight, PageWord::kTransform);
    ASSERT_TRUE(doc.goToPage(1));

    DocumentPrintPages pages(doc);
    ASSERT_TRUE(pages.showForPrinting(2));
    const PageRaster* shown = pages.shownPage();
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->width, b.width);
    int differing = 0;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) differing += ink(*shown, x, y) != ink(b, b.width - 1 - x, y);
    EXPECT_EQ(differing, 0);

    PrintJob job(pages);
    CountingSheet sheet;
    job.setUp(PrintRange::AllPages, false, false);
    ASSERT_EQ(job.prepare(), 3);
    job.begin();
    for (int n = 1; n <= 3; ++n) job.printSheet(n, sheet);
    job.end();
    EXPECT_EQ(sheet.drawn, 2);
    EXPECT_TRUE(table.word(1).has(PageWord::kPrinted));
    EXPECT_TRUE(table.word(2).has(PageWord::kPrinted));
    EXPECT_TRUE(table.word(3).has(PageWord::kPrintError));
    EXPECT_EQ(table.counts().printed, 2);
}

}  // namespace
}  // namespace lumipage
