// File previews: `lumipage-thumbnailer INPUT OUTPUT.png SIZE`, called as the
// installed thumbnailer entry tells file managers to, and `lumipage
// --thumbnail`, on every kind of file the program opens, run without a
// display, the PNG read back by netpbm.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/LibtiffFiles.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

struct Grey {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    int at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    // The mean of a row, 0 ink to 255 paper.
    int rowMean(int y) const {
        int sum = 0;
        for (int x = 0; x < width; ++x) sum += at(x, y);
        return sum / width;
    }
};

// A PNG through pngtopnm as a binary PGM.
bool readPng(const std::string& png, Grey& image) {
    const std::string pgm = png + ".pgm";
    if (test::runCommand("pngtopnm '" + png + "' > '" + pgm + "' 2>/dev/null") != 0) return false;
    std::ifstream in(pgm, std::ios::binary);
    std::string magic;
    int maxval = 0;
    in >> magic >> image.width >> image.height >> maxval;
    in.get();
    if (magic != "P5" || maxval != 255) return false;
    image.pixels.resize(size_t(image.width) * size_t(image.height));
    in.read(reinterpret_cast<char*>(image.pixels.data()), std::streamsize(image.pixels.size()));
    return bool(in);
}

struct Thumbnails : ::testing::Test {
    std::string dir = test::tempFolder();
    // An A4 page at 300 dpi whose upper half is ink, with a white stripe
    // down its left quarter.
    PageRaster page = [] {
        PageRaster p = test::makePage(test::Pattern::White, 2400, 3300);
        for (int y = 0; y < 1650; ++y)
            for (int x = 600; x < 2400; ++x) p.row(y)[x / 8] |= uint8_t(0x80 >> (x % 8));
        return p;
    }();

    Thumbnails() {
        EXPECT_TRUE(test::writeTiffWithLibtiff(dir + "/page.tif", {{&page, 4, false, false, false, 0, 300, 300}}));
        std::filesystem::create_directories(dir + "/kinds");
    }
    int run(const std::string& executable, const std::string& args) {
        // No display of any kind: previews are made by file managers' helpers.
        return test::runCommand("cd '" + dir + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME='" + dir +
                                "' XDG_CONFIG_HOME='" + dir + "/home' XDG_DATA_HOME='" + dir + "/home' " + executable +
                                " " + args + " </dev/null >/dev/null 2>>'" + dir + "/err'");
    }
    int program(const std::string& args) { return run(LUMIPAGE_EXE, args); }
    // The thumbnailer entry's command line with the file manager's %i %o %s filled in.
    int fileManager(const std::string& input, const std::string& output, int size) {
        std::ifstream in(LUMIPAGE_BUILD_DIR "/share/thumbnailers/lumipage.thumbnailer");
        std::string line, exec;
        while (std::getline(in, line))
            if (line.starts_with("Exec=")) exec = line.substr(5);
        EXPECT_EQ(exec, "lumipage-thumbnailer %i %o %s");
        return run(LUMIPAGE_THUMBNAILER, "'" + input + "' '" + output + "' " + std::to_string(size));
    }
};

TEST_F(Thumbnails, EveryKindOfFileGivesAGreyPictureOfItsFirstPage) {
    // The page in every format, written by the program's own conversion.
    for (const char* ext : {"MH", "BW", "FAX", "BMP", "LPB"})
        ASSERT_EQ(program("'-=" + dir + "/kinds/*." + ext + "' page.tif"), 0) << ext;
    const std::vector<std::string> inputs{"page.tif",       "kinds/page.MH",  "kinds/page.BW",
                                          "kinds/page.FAX", "kinds/page.BMP", "kinds/page.LPB"};
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input);
        const std::string png = dir + "/" + input + ".png";
        ASSERT_EQ(fileManager(input, png, 128), 0);
        Grey g;
        ASSERT_TRUE(readPng(png, g));
        // The largest zoom level that fits: 1/32 for A4 at 300 dpi into 128
        // pixels; the fax page (1728 x 2290) fits at 1/24.
        if (input.ends_with(".FAX")) {
            EXPECT_EQ(g.width, 72);
            EXPECT_EQ(g.height, 96);
        } else {
            EXPECT_EQ(g.width, 75);
            EXPECT_EQ(g.height, 104);
        }
        // Upper half ink right of the stripe, the stripe and the lower half paper.
        const int x = g.width * 3 / 4;
        EXPECT_EQ(g.at(x, g.height / 4), 0);
        EXPECT_EQ(g.at(g.width / 10, g.height / 4), 255);
        EXPECT_EQ(g.rowMean(g.height * 3 / 4), 255);
    }
    // Exactly: the blocks of 32 x 32 page pixels, 1650 / 32 = 51.6 rows of ink.
    Grey tif;
    ASSERT_TRUE(readPng(dir + "/page.tif.png", tif));
    for (int y = 0; y < tif.height; ++y) {
        for (int x = 0; x < tif.width; ++x) {
            const int expected = y > 51 || x < 18 ? 255 : y < 51 && x > 18 ? 0 : -1;
            if (expected >= 0) ASSERT_EQ(tif.at(x, y), expected) << x << "," << y;
            else ASSERT_GT(tif.at(x, y), 0);  // the boundary blocks are part ink
        }
    }
}

TEST_F(Thumbnails, LargerSizesUseFinerLevelsAndBadRequestsWriteNothing) {
    ASSERT_EQ(program("--thumbnail page.tif big.png 256"), 0);
    Grey g;
    ASSERT_TRUE(readPng(dir + "/big.png", g));
    EXPECT_EQ(g.width, 150);  // 1/16 of 2400
    EXPECT_EQ(g.height, 207);

    std::ofstream(dir + "/broken.tif") << "II*\0garbage";
    EXPECT_NE(program("--thumbnail broken.tif broken.png 128"), 0);
    EXPECT_NE(program("--thumbnail missing.tif missing.png 128"), 0);
    EXPECT_NE(program("--thumbnail page.tif zero.png 0"), 0);
    EXPECT_NE(program("--thumbnail page.tif"), 0);
    EXPECT_NE(fileManager("broken.tif", "broken2.png", 128), 0);
    EXPECT_NE(fileManager("page.tif", "huge.png", 5000), 0);
    EXPECT_NE(run(LUMIPAGE_THUMBNAILER, "page.tif"), 0);
    // An output folder that does not exist: nothing written, and a failure.
    EXPECT_NE(fileManager("page.tif", "nowhere/page.png", 128), 0);
    for (const char* name : {"broken.png", "missing.png", "zero.png", "broken2.png", "huge.png"})
        EXPECT_FALSE(std::filesystem::exists(dir + "/" + name)) << name;
}

}  // namespace
}  // namespace lumipage
