// Printing through Qt to a PDF file: one PDF page per printed page, and the
// ink of each page where the sheet arithmetic puts it, checked on a
// rendering made by poppler (pdftoppm).
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrinter>
#include <filesystem>
#include <fstream>
#include <random>

#include "gui/print/PrinterSheet.h"
#include "image/PageRaster.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

constexpr int kBlock = 124;  // pixels of one square of the test pages

// A page of black and white squares, chosen at random.
PageRaster squares(int width, int height, unsigned seed, std::vector<std::vector<bool>>& grid) {
    PageRaster page;
    page.create(width, height, 300);
    std::mt19937 random(seed);
    grid.assign(size_t(height / kBlock), std::vector<bool>(size_t(width / kBlock)));
    for (size_t by = 0; by < grid.size(); ++by)
        for (size_t bx = 0; bx < grid[by].size(); ++bx) {
            grid[by][bx] = random() % 2;
            if (!grid[by][bx]) continue;
            for (int y = int(by) * kBlock; y < int(by + 1) * kBlock; ++y)
                for (int x = int(bx) * kBlock; x < int(bx + 1) * kBlock; ++x) page.row(y)[x / 8] |= uint8_t(0x80 >> x % 8);
        }
    return page;
}

struct Grey {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    int at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

Grey readPgm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    Grey g;
    in >> magic >> g.width >> g.height >> maxValue;
    in.get();
    g.pixels.resize(size_t(g.width) * size_t(g.height));
    in.read(reinterpret_cast<char*>(g.pixels.data()), std::streamsize(g.pixels.size()));
    return g;
}

class TwoPages : public PrintPages {
public:
    std::vector<PageRaster> pages;
    int current = 1;
    std::map<int, int> marks;
    int pageCount() const override { return int(pages.size()); }
    int currentPage() const override { return current; }
    std::vector<int> selectedPages() override { return {}; }
    bool showForPrinting(int page) override { return current = page, true; }
    const PageRaster* shownPage() const override { return &pages[size_t(current - 1)]; }
    const CDIB* colourPage() const override { return nullptr; }
    bool inMemoryPage() const override { return false; }
    void markPrint(int page, int status) override { marks[page] = status; }
    void recountMarks() override {}
    ViewState viewState() const override { return {}; }
    void restoreViewState(const ViewState&) override {}
    ViewSize screenBitmapSize() const override { return {}; }
    int levelDivisor() const override { return 10; }
};

// An upright A4 page and a landscape one printed at their own resolution
// on A4 at 300 dpi over the whole sheet: the first lands as it is, the
// second turned a quarter to the left.
TEST(PrinterPdf, EveryPageIsASheetWithItsInkInPlace) {
    ASSERT_EQ(std::system("command -v pdftoppm >/dev/null && command -v pdfinfo >/dev/null"), 0)
        << "poppler-utils (pdfinfo, pdftoppm) is missing (./dev installs it)";
    const std::string dir = test::tempFolder();
    std::vector<std::vector<bool>> upright, landscape;
    TwoPages pages;
    pages.pages.push_back(squares(2480, 3508, 1, upright));
    pages.pages.push_back(squares(3508, 2480, 2, landscape));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir + "/out.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setResolution(300);
    printer.setFullPage(true);
    PrintJob job(pages);
    job.setUp(PrintRange::AllPages, false, true);
    ASSERT_EQ(printOnPrinter(job, printer), 2);
    EXPECT_EQ(pages.marks, (std::map<int, int>{{1, 1}, {2, 1}}));

    ASSERT_EQ(test::runCommand("pdfinfo '" + dir + "/out.pdf' | grep -q '^Pages: *2$'"), 0);
    ASSERT_EQ(test::runCommand("pdftoppm -r 30 -gray '" + dir + "/out.pdf' '" + dir + "/sheet'"), 0);
    const Grey first = readPgm(dir + "/sheet-1.pgm");
    const Grey second = readPgm(dir + "/sheet-2.pgm");
    ASSERT_EQ(first.width, 248);
    ASSERT_EQ(first.height, 351);

    // Sheet pixels are a tenth of page pixels; each square's middle is
    // checked, with room for the rendering's smoothing at the edges.
    const auto expectInk = [](const Grey& sheet, int x, int y, bool black, const std::string& where) {
        const int v = sheet.at(x, y);
        EXPECT_TRUE(black ? v < 64 : v > 192) << where << " at " << x << "," << y << " is " << v;
    };
    for (size_t by = 0; by < upright.size(); ++by)
        for (size_t bx = 0; bx < upright[by].size(); ++bx)
            expectInk(first, int(bx * kBlock + kBlock / 2) / 10, int(by * kBlock + kBlock / 2) / 10, upright[by][bx],
                      "upright square " + std::to_string(bx) + "," + std::to_string(by));
    // Turned left: page (x, y) lands at sheet (y, width - 1 - x), to within a pixel of the sheet.
    for (size_t by = 0; by < landscape.size(); ++by)
        for (size_t bx = 0; bx < landscape[by].size(); ++bx) {
            const int x = int(bx * kBlock + kBlock / 2), y = int(by * kBlock + kBlock / 2);
            expectInk(second, y / 10, (3508 - 1 - x) / 10, landscape[by][bx],
                      "turned square " + std::to_string(bx) + "," + std::to_string(by));
        }
}

}  // namespace
}  // namespace lumipage

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
