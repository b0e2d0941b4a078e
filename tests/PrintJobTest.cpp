// Printing: the sheet arithmetic, the print bitmap (copied, turned or
// fitted), and the job's marks and hand-back of the view.
#include <gtest/gtest.h>

#include <map>

#include "image/CDIB.h"
#include "image/PageRaster.h"
#include "support/TestImages.h"
#include "view/PrintDialogRange.h"
#include "view/PrintJob.h"

namespace lumipage {
namespace {

bool ink(const PageRaster& p, int x, int y) { return p.row(y)[x / 8] >> (7 - x % 8) & 1; }
bool ink(const CDIB& b, int x, int y) { return b.rowAddress(y)[x / 8] >> (7 - x % 8) & 1; }

TEST(PrintPlacement, StretchesToTheNarrowerRatioOrKeepsNearlyOwnSize) {
    // A4 at 300 dpi on a slightly smaller sheet: sx 9677 < sy 9692.
    EXPECT_EQ(print::placement({2400, 3400}, {2480, 3508}), (ViewRect{0, 3, 2400, 3397}));
    // Enlarging by 4 % (sx 10400) is not worth it: own size, centred.
    EXPECT_EQ(print::placement({2080, 4000}, {2000, 2800}), (ViewRect{40, 600, 2040, 3400}));
    // By 5 % it is.
    EXPECT_EQ(print::placement({2100, 4000}, {2000, 2800}), (ViewRect{0, 530, 2100, 3470}));
    // The height decides: stretched to the full height, centred across.
    EXPECT_EQ(print::placement({4000, 2000}, {1000, 1000}), (ViewRect{1000, 0, 3000, 2000}));
    EXPECT_EQ(print::placement({4000, 2000}, {4000, 2000}), (ViewRect{0, 0, 4000, 2000}));
    EXPECT_TRUE(print::placement({4000, 2000}, {0, 10}).empty());
}

TEST(PrintRegion, CurrentScreenIsTheVisiblePartInWholeBytes) {
    const ViewRect client{0, 0, 800, 600};
    // Level 1/2 (divisor 20): screen pixels double into page pixels.
    EXPECT_EQ(print::currentScreenRegion(client, {100, 50}, {1240, 1754}, 20, {2480, 3508}),
              (ViewRect{200, 100, 1800, 1300}));
    EXPECT_EQ(print::currentScreenRegion(client, {101, 50}, {1240, 1754}, 20, {2480, 3508}),
              (ViewRect{200, 100, 1808, 1300}));
    // Scrolled to the far corner: cut to the bitmap and the page.
    EXPECT_EQ(print::currentScreenRegion(client, {1000, 1500}, {1240, 1754}, 20, {2479, 3508}),
              (ViewRect{2000, 3000, 2480, 3508}));
    // The whole page fits in the window: the whole page.
    EXPECT_EQ(print::currentScreenRegion(client, {0, 0}, {300, 420}, 80, {2400, 3360}),
              (ViewRect{0, 0, 2400, 3360}));
}

TEST(PrintBitmapShape, OwnResolutionTurnsWhenOrientationsDiffer) {
    const ViewSize portrait{2400, 3400};
    auto s = print::bitmapShape({0, 0, 2480, 3508}, portrait, false);
    EXPECT_EQ(s.size, portrait);
    EXPECT_FALSE(s.copied || s.turned);
    s = print::bitmapShape({0, 0, 2480, 3508}, portrait, true);
    EXPECT_TRUE(s.copied);
    EXPECT_EQ(s.size, (ViewSize{2480, 3508}));
    s = print::bitmapShape({0, 5, 3001, 1006}, portrait, true);
    EXPECT_TRUE(s.turned);
    EXPECT_EQ(s.region.top, 0);  // 1001 rows from 5: the top is lowered to a whole band
    EXPECT_EQ(s.size, (ViewSize{1006, 3008}));
    s = print::bitmapShape({0, 8, 3001, 1008}, portrait, true);
    EXPECT_EQ(s.region.top, 8);  // 1000 rows: kept
}

// A landscape page on portrait paper at its own resolution: turned left, its
// top-right corner at the bitmap's top-left, every pixel where the turn puts it.
TEST(PrintBitmapFill, LandscapePageIsTurnedLeftPixelForPixel) {
    const PageRaster page = test::makePage(test::Pattern::Noise, 1001, 603, 7);
    const auto shape = print::bitmapShape({0, 0, 1001, 603}, {2400, 3400}, true);
    ASSERT_TRUE(shape.turned);
    PrintBitmap bitmap;
    ASSERT_TRUE(bitmap.fill(page, shape));
    const CDIB& b = bitmap.bitmap();
    ASSERT_EQ(b.width(), 603);
    ASSERT_EQ(b.height(), 1008);
    EXPECT_EQ(b.palette()[0], (CDIB::RgbQuad{255, 255, 255, 0}));
    EXPECT_EQ(b.palette()[1], (CDIB::RgbQuad{0, 0, 0, 0}));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 603; ++x) ASSERT_FALSE(ink(b, x, y)) << "row past the right edge, " << x << "," << y;
    for (int y = 0; y < 1001; ++y)
        for (int x = 0; x < 603; ++x)
            ASSERT_EQ(ink(b, x, 1007 - y), ink(page, y, x)) << "page pixel " << y << "," << x;
}

TEST(PrintBitmapFill, SameOrientationCopiesAndDriverScaleOffFitsTheSheet) {
    const PageRaster page = test::makePage(test::Pattern::Text, 1729, 2290, 3);
    PrintBitmap bitmap;
    ASSERT_TRUE(bitmap.fill(page, print::bitmapShape({0, 0, 1729, 2290}, {2400, 3400}, true)));
    for (int y = 0; y < 2290; y += 97)
        for (int x = 0; x < 1729; ++x) ASSERT_EQ(ink(bitmap.bitmap(), x, y), ink(page, x, y));

    // Fitted: a black page fills the fitted part of the sheet.
    PageRaster black = test::makePage(test::Pattern::Black, 1728, 2290, 0);
    ASSERT_TRUE(bitmap.fill(black, print::bitmapShape({0, 0, 1728, 2290}, {864, 1145}, false)));
    EXPECT_EQ(bitmap.bitmap().width(), 864);
    EXPECT_TRUE(ink(bitmap.bitmap(), 0, 0));
    EXPECT_TRUE(ink(bitmap.bitmap(), 863, 1144));
}

// The numbers the dialog offers and the sheets a chosen pair prints.
TEST(PrintDialogRange, NumbersOfEachRangeAndTheSheetsTheyChoose) {
    const PrintDialogRange all(PrintRange::AllPages, 5, 3);
    EXPECT_EQ(all.firstNumber(), 1);
    EXPECT_EQ(all.lastNumber(), 5);
    auto s = all.sheetsFor(2, 3);
    EXPECT_EQ(s.first, 2);
    EXPECT_EQ(s.count(), 2);
    s = all.sheetsFor(0, 0);
    EXPECT_EQ(s.first, 1);
    EXPECT_EQ(s.last, 5);
    s = all.sheetsFor(4, 9);  // beyond the last: cut
    EXPECT_EQ(s.last, 5);
    s = all.sheetsFor(3, 2);  // reversed: put in order
    EXPECT_EQ(s.first, 2);
    EXPECT_EQ(s.last, 3);
    EXPECT_TRUE(all.previewTwoSheets());

    // The current screen is one sheet numbered as the page shown.
    const PrintDialogRange screen(PrintRange::CurrentScreen, 1, 7);
    EXPECT_EQ(screen.firstNumber(), 7);
    EXPECT_EQ(screen.lastNumber(), 7);
    s = screen.sheetsFor(7, 7);
    EXPECT_EQ(s.first, 1);
    EXPECT_EQ(s.last, 1);
    EXPECT_FALSE(screen.previewTwoSheets());

    // Selected pages are numbered by their sheets, not their pages.
    const PrintDialogRange selected(PrintRange::SelectedPages, 2, 9);
    EXPECT_EQ(selected.lastNumber(), 2);
    EXPECT_EQ(selected.sheetsFor(2, 2).first, 2);
    EXPECT_EQ(PrintDialogRange(PrintRange::SelectedPages, 0, 1).sheetsFor(0, 0).count(), 0);
    EXPECT_FALSE(PrintDialogRange(PrintRange::AllPages, 1, 1).previewTwoSheets());
}

// A page list of `count` pages; pages in `unloadable` fail to load.
class FakePages : public PrintPages {
public:
    explicit FakePages(int count) : count_(count) { page_ = test::makePage(test::Pattern::Text, 800, 1000, 1); }
    std::vector<int> selected;
    std::vector<int> unloadable;
    std::map<int, int> marks;
    std::vector<int> shown;
    bool inMemory = false;
    int current = 2;
    ViewState state{2, 5, {30, 40}};
    std::vector<ViewState> restored;

    int pageCount() const override { return count_; }
    int currentPage() const override { return current; }
    std::vector<int> selectedPages() override { return selected; }
    bool showForPrinting(int page) override {
        if (std::find(unloadable.begin(), unloadable.end(), page) != unloadable.end()) return false;
        current = page;
        shown.push_back(page);
        return true;
    }
    const PageRaster* shownPage() const override { return &page_; }
    const CDIB* colourPage() const override { return nullptr; }
    bool inMemoryPage() const override { return inMemory; }
    void markPrint(int page, int status) override { marks[page] = status; }
    void recountMarks() override {}
    ViewState viewState() const override { return state; }
    void restoreViewState(const ViewState& s) override { restored.push_back(s); }
    ViewSize screenBitmapSize() const override { return {400, 500}; }
    int levelDivisor() const override { return 20; }

private:
    int count_;
    PageRaster page_;
};

class RecordingSheet : public PrintSheet {
public:
    std::vector<ViewRect> drawn;
    ViewSize drawingSize() const override { return {1600, 2000}; }
    void drawBitmap(const CDIB&, const ViewRect& destination) override { drawn.push_back(destination); }
    void drawColourPage(const CDIB&) override {}
};

TEST(PrintJobRun, MarksEachPageAndGivesTheViewBack) {
    FakePages pages(3);
    pages.unloadable = {2};
    PrintJob job(pages);
    RecordingSheet sheet;
    job.setUp(PrintRange::AllPages, false, false);
    ASSERT_EQ(job.prepare(), 3);
    job.begin();
    for (int n = 1; n <= 3; ++n) job.printSheet(n, sheet);
    job.end();
    EXPECT_EQ(pages.marks, (std::map<int, int>{{1, 1}, {2, 2}, {3, 1}}));
    EXPECT_EQ(pages.shown, (std::vector<int>{1, 3}));
    ASSERT_EQ(sheet.drawn.size(), 2u);
    EXPECT_EQ(sheet.drawn[0], (ViewRect{0, 0, 1600, 2000}));  // fitted to the sheet's size
    ASSERT_EQ(pages.restored.size(), 1u);
    EXPECT_EQ(pages.restored[0].page, 2);
    EXPECT_EQ(pages.restored[0].level, 5);
    EXPECT_EQ(pages.restored[0].scroll, (ViewPoint{30, 40}));
}

TEST(PrintJobRun, PreviewAndInMemoryPagesAreNeverMarked) {
    FakePages pages(2);
    pages.unloadable = {2};
    RecordingSheet sheet;
    PrintJob preview(pages);
    preview.setUp(PrintRange::AllPages, true, true);
    preview.begin();
    EXPECT_TRUE(preview.printSheet(1, sheet));
    EXPECT_FALSE(preview.printSheet(2, sheet));
    preview.end();
    EXPECT_TRUE(pages.marks.empty());

    pages.inMemory = true;
    PrintJob job(pages);
    job.setUp(PrintRange::CurrentScreen, false, true, {0, 0, 300, 300});
    ASSERT_EQ(job.prepare(), 1);
    job.begin();
    EXPECT_TRUE(job.printSheet(1, sheet));
    EXPECT_TRUE(pages.marks.empty());
    // The visible part from scroll (30, 40) at 1/2, widened to bytes: 56..664 x 80..680 of an
    // 800 x 1000 page; wider than high on a portrait sheet, so turned.
    EXPECT_EQ(job.lastBitmap().width(), 600);
    EXPECT_EQ(job.lastBitmap().height(), 608);
}

TEST(PrintJobRun, SelectedPagesPrintInPageOrderAndNoneMeansNothing) {
    FakePages pages(6);
    PrintJob job(pages);
    job.setUp(PrintRange::SelectedPages, false, false);
    EXPECT_EQ(job.prepare(), 0);

    pages.selected = {2, 5};
    job.setUp(PrintRange::SelectedPages, false, false);
    ASSERT_EQ(job.prepare(), 2);
    RecordingSheet sheet;
    job.begin();
    job.printSheet(1, sheet);
    job.printSheet(2, sheet);
    job.end();
    EXPECT_EQ(pages.shown, (std::vector<int>{2, 5}));
    EXPECT_EQ(pages.marks, (std::map<int, int>{{2, 1}, {5, 1}}));
}

}  // namespace
}  // namespace lumipage
