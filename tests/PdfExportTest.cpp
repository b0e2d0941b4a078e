// Pages converted to PDF by the program itself (`lumipage -=out.pdf ...`)
// and read back by poppler's tools: one page per source page at its true
// size, each a 1-bit CCITT G4 image that renders back to the very pixels
// the view shows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "document/BookWriter.h"
#include "document/PageWord.h"
#include "support/LibtiffFiles.h"
#include "support/TestImages.h"
#include "image/PageOrientation.h"

namespace lumipage {
namespace {

namespace fs = std::filesystem;

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string output(const std::string& command) {
    const std::string file = test::tempFolder() + "/out";
    EXPECT_EQ(test::runCommand("(" + command + ") >'" + file + "' 2>&1"), 0) << command;
    return readText(file);
}

// "Page    2 size: 609.88 x 776.47 pts" for every page, in order.
std::vector<std::pair<double, double>> pageSizes(const std::string& pdf, int pages) {
    std::istringstream lines(output("pdfinfo -f 1 -l " + std::to_string(pages) + " '" + pdf + "'"));
    std::vector<std::pair<double, double>> sizes;
    for (std::string line; std::getline(lines, line);) {
        int page = 0;
        double w = 0, h = 0;
        if (std::sscanf(line.c_str(), "Page %d size: %lf x %lf pts", &page, &w, &h) == 3) sizes.emplace_back(w, h);
    }
    return sizes;
}

int pageCount(const std::string& pdf) {
    std::istringstream lines(output("pdfinfo '" + pdf + "'"));
    for (std::string line; std::getline(lines, line);) {
        int n = 0;
        if (std::sscanf(line.c_str(), "Pages: %d", &n) == 1) return n;
    }
    return -1;
}

// Page `page` rendered by poppler at `dpi` (`rowDpi` rows an inch, when
// given) in black and white.
PageRaster rendered(const std::string& pdf, int page, int dpi, int rowDpi = 0) {
    const std::string base = test::tempFolder() + "/page";
    output("pdftoppm -mono -rx " + std::to_string(dpi) + " -ry " + std::to_string(rowDpi > 0 ? rowDpi : dpi) + " -f " + std::to_string(page) + " -l " +
           std::to_string(page) + " -singlefile '" + pdf + "' '" + base + "'");
    PageRaster r;
    EXPECT_TRUE(test::readPbm(base + ".pbm", r));
    return r;
}

struct PdfExport : ::testing::Test {
    std::string dir = test::tempFolder();
    // Runs the program; what it said on standard error.
    std::string run(const std::string& args, int expectedStatus = 0) {
        const std::string command = "cd '" + dir + "' && XDG_CONFIG_HOME='" + dir + "/home' XDG_DATA_HOME='" + dir +
                                    "/home' " LUMIPAGE_EXE " " + args + " </dev/null >/dev/null 2>'" + dir + "/err'";
        EXPECT_EQ(test::runCommand(command), expectedStatus) << command << "\n" << readText(dir + "/err");
        return readText(dir + "/err");
    }
};

TEST_F(PdfExport, EveryPageKeepsItsTrueSizeAndItsPixels) {
    // An A4 scan at 300 dpi, and a standard-resolution fax page at 204 x 98 dpi
    // that the program shows with every row twice.
    const PageRaster a4 = test::makePage(test::Pattern::Text, 2480, 3508, 1);
    const PageRaster fax = test::makePage(test::Pattern::Text, 1728, 1100, 2);
    const PageRaster small = test::makePage(test::Pattern::ThinLines, 601, 203, 3);  // ragged row ends
    ASSERT_TRUE(test::writeTiffWithLibtiff(dir + "/scan.tif", {{&a4, 4, false, false, false, 0, 300, 300},
                                                               {&small, 3, false, false, false, 0, 300, 300}}));
    ASSERT_TRUE(test::writeTiffWithLibtiff(dir + "/fax.tif", {{&fax, 3, false, false, false, 0, 204, 98}}));
    run("'-=" + dir + "/out.pdf' scan.tif fax.tif");

    const std::string pdf = dir + "/out.pdf";
    ASSERT_EQ(pageCount(pdf), 3);
    const auto sizes = pageSizes(pdf, 3);
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_NEAR(sizes[0].first, 595.2, 0.01);   // 2480 / 300 inch
    EXPECT_NEAR(sizes[0].second, 841.92, 0.01);
    EXPECT_NEAR(sizes[1].first, 601 * 72 / 300.0, 0.01);
    // 8.47 x 11.22 inch: the fax's true size, 1728 pixels at 204 dpi across
    // and 1100 rows at 98 an inch down (each shown twice).
    EXPECT_NEAR(sizes[2].first, 1728 * 72 / 204.0, 0.01);
    EXPECT_NEAR(sizes[2].second, 1100 * 72 / 98.0, 0.01);

    // "page num type width height color comp bpc enc ..."
    std::istringstream list(output("pdfimages -list '" + pdf + "'"));
    std::vector<std::string> images;
    for (std::string line; std::getline(list, line);) {
        char type[16], colour[16], enc[16];
        int page = 0, num = 0, w = 0, h = 0, comp = 0, bpc = 0;
        if (std::sscanf(line.c_str(), "%d %d %15s %d %d %15s %d %d %15s", &page, &num, type, &w, &h, colour, &comp,
                        &bpc, enc) == 9)
            images.push_back(std::to_string(page) + " " + type + " " + std::to_string(w) + "x" + std::to_string(h) +
                             " " + colour + " " + std::to_string(bpc) + " " + enc);
    }
    EXPECT_EQ(images, (std::vector<std::string>{"1 image 2480x3508 gray 1 ccitt", "2 image 601x203 gray 1 ccitt",
                                                "3 image 1728x2200 gray 1 ccitt"}));

    EXPECT_EQ(test::firstDifferentRow(rendered(pdf, 1, 300), a4), -1);
    EXPECT_EQ(test::firstDifferentRow(rendered(pdf, 2, 300), small), -1);
    // The fax page comes back at 204 x 196 dpi with each of its rows shown twice.
    PageRaster doubled;
    ASSERT_TRUE(doubled.create(1728, 2200, 204));
    for (int y = 0; y < 2200; ++y) std::memcpy(doubled.row(y), fax.row(y / 2), fax.bytesPerRow);
    EXPECT_EQ(test::firstDifferentRow(rendered(pdf, 3, 204, 196), doubled), -1);

    // Converted into a TIFF of its own the fax page keeps its rows shown
    // twice and says how far apart they stand; that TIFF gives the same PDF page.
    run("-ONE '-=" + dir + "/copy.tif' fax.tif");
    const std::string info = output("tiffinfo '" + dir + "/copy.tif'");
    EXPECT_NE(info.find("Image Width: 1728 Image Length: 2200"), std::string::npos) << info;
    EXPECT_NE(info.find("Resolution: 204, 196 pixels/inch"), std::string::npos) << info;
    run("'-=" + dir + "/copy.pdf' copy.tif");
    const auto copied = pageSizes(dir + "/copy.pdf", 1);
    ASSERT_EQ(copied.size(), 1u);
    EXPECT_NEAR(copied[0].first, sizes[2].first, 0.01);
    EXPECT_NEAR(copied[0].second, sizes[2].second, 0.01);
    EXPECT_EQ(test::firstDifferentRow(rendered(dir + "/copy.pdf", 1, 204, 196), doubled), -1);
}

TEST_F(PdfExport, TurnedMirroredAndInvertedPagesAreWrittenAsShown) {
    const PageRaster page = test::makePage(test::Pattern::Text, 400, 240, 7);
    const std::string book = dir + "/turned.LPB";
    {
        BookWriter writer;
        ASSERT_TRUE(writer.begin(book, 2, 1));
        ASSERT_TRUE(writer.addPage(page, PageWord{uint16_t(1 | PageWord::kInverted)}));
        ASSERT_TRUE(writer.addPage(page, PageWord{PageWord::kMirrorLeftRight | PageWord::kMirrorTopBottom}));
        ASSERT_TRUE(writer.end());
    }
    run("'-=" + dir + "/shown.pdf' turned.LPB");
    const std::string pdf = dir + "/shown.pdf";
    ASSERT_EQ(pageCount(pdf), 2);
    const auto sizes = pageSizes(pdf, 2);
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_GT(sizes[0].second, sizes[0].first);  // turned upright
    EXPECT_LT(sizes[1].second, sizes[1].first);

    // What the view shows of each page.
    for (const uint16_t word : {uint16_t(1 | PageWord::kInverted), uint16_t(PageWord::kMirrorLeftRight | PageWord::kMirrorTopBottom)}) {
        PageRaster copy;
        ASSERT_TRUE(copy.create(page.width, page.height, page.dpi));
        std::memcpy(copy.bits(), page.bits(), page.imageSize);
        PageOrientation shown;
        shown.showPage(&copy, word);
        const int n = word & 1 ? 1 : 2;
        const int dpi = page.dpi > 0 ? page.dpi : 300;
        EXPECT_EQ(test::firstDifferentRow(rendered(pdf, n, dpi), *shown.displayed()), -1) << "page " << n;
    }
}

TEST_F(PdfExport, WithoutANameEveryPageGetsAFileOfItsOwnAndNoneIsReplaced) {
    const PageRaster a = test::makePage(test::Pattern::Text, 320, 200, 1);
    const PageRaster b = test::makePage(test::Pattern::Noise, 200, 320, 2);
    ASSERT_TRUE(test::writeTiffWithLibtiff(dir + "/a.tif", {{&a, 4, false, false, false, 0, 200, 200}}));
    ASSERT_TRUE(test::writeTiffWithLibtiff(dir + "/b.tif", {{&b, 4, false, false, false, 0, 100, 100}}));
    fs::create_directories(dir + "/pages");
    run("'-=" + dir + "/pages/*.PDF' a.tif b.tif");
    ASSERT_EQ(pageCount(dir + "/pages/a.PDF"), 1);
    ASSERT_EQ(pageCount(dir + "/pages/b.PDF"), 1);
    EXPECT_NEAR(pageSizes(dir + "/pages/b.PDF", 1).at(0).first, 144.0, 0.01);  // 200 pixels at 100 dpi
    EXPECT_EQ(test::firstDifferentRow(rendered(dir + "/pages/b.PDF", 1, 100), b), -1);

    // A second run passes over the files that are there.
    const std::string before = readText(dir + "/pages/a.PDF");
    const std::string said = run("'-=" + dir + "/pages/*.PDF' a.tif", 1);
    EXPECT_NE(said.find("a.PDF"), std::string::npos);
    EXPECT_EQ(readText(dir + "/pages/a.PDF"), before);
}

}  // namespace
}  // namespace lumipage
