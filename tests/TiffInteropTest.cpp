#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "image/PageRaster.h"
#include "image/TiffPageInfo.h"
#include "image/TiffReader.h"
#include "image/TiffSource.h"
#include "support/LibtiffFiles.h"
#include "support/RecordingMessages.h"
#include "support/TestImages.h"

// TIFF files written by independent tools (libtiff's tiffcp, fax2tiff and
// tiffset, netpbm's pamtotiff, and libtiff itself), read by our reader and
// by libtiff: the two must agree bit for bit.

namespace lumipage {
namespace {

using test::Pattern;

struct Source {
    std::string name;
    Pattern pattern;
    int width, height;
};

const Source kSources[] = {{"text", Pattern::Text, 1728, 600}, {"lines", Pattern::ThinLines, 301, 157}};

class TiffInterop : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new std::string(test::tempFolder());
        for (const Source& s : kSources) {
            const PageRaster page = test::makePage(s.pattern, s.width, s.height, 7);
            ASSERT_TRUE(test::writePbm(path(s.name + ".pbm"), page));
            ASSERT_EQ(run("pamtotiff -none " + path(s.name + ".pbm") + " > " + path(s.name + "-white.tif")), 0);
            ASSERT_EQ(run("pamtotiff -none -minisblack " + path(s.name + ".pbm") + " > " + path(s.name + "-black.tif")), 0);
        }
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }

    static std::string path(const std::string& name) { return *folder_ + "/" + name; }
    static int run(const std::string& command) { return test::runCommand(command + " 2>/dev/null"); }

    static PageRaster source(const Source& s) { return test::makePage(s.pattern, s.width, s.height, 7); }

    // Reads every page with both readers and compares them, and with the expected pages.
    static void expectPages(const std::string& file, const std::vector<const PageRaster*>& expected) {
        SCOPED_TRACE(file);
        test::RecordingMessages messages;
        TiffReader reader;
        ASSERT_TRUE(reader.open(file, messages));
        ASSERT_EQ(reader.pageCount(), int(expected.size()));
        for (int p = 1; p <= reader.pageCount(); ++p) {
            PageRaster ours, theirs;
            ASSERT_TRUE(reader.loadPage(p, ours, {}, messages)) << "page " << p;
            ASSERT_EQ(ours.width, expected[size_t(p - 1)]->width);
            ASSERT_EQ(ours.height, expected[size_t(p - 1)]->height);
            EXPECT_EQ(test::firstDifferentRow(ours, *expected[size_t(p - 1)]), -1) << "page " << p;
            EXPECT_EQ(TiffReader::countPages(file), reader.pageCount());
        }
        EXPECT_TRUE(messages.said.empty());
    }

    // libtiff's decoding of every directory of the file, which must equal the pages.
    static void expectLibtiffAgrees(const std::string& file, int directory, const PageRaster& expected) {
        PageRaster theirs;
        ASSERT_TRUE(test::readTiffWithLibtiff(file, directory, theirs)) << file;
        EXPECT_EQ(test::firstDifferentRow(theirs, expected), -1) << file << " (libtiff)";
    }

    static std::string* folder_;
};

std::string* TiffInterop::folder_ = nullptr;

// Compressions 1, 3 (one- and two-dimensional) and 4, both byte orders and
// fill orders, one strip and many, from both photometric interpretations.
TEST_F(TiffInterop, TiffcpCompressionsStripsByteAndFillOrders) {
    const char* compressions[] = {"none", "g3:1d", "g3:2d", "g4"};
    const char* strips[] = {"-r 100000", "-r 1", "-r 64", "-r 7"};
    const char* orders[] = {"-B -f lsb2msb", "-L -f msb2lsb"};
    int n = 0;
    for (const Source& s : kSources) {
        const PageRaster page = source(s);
        for (const char* c : compressions)
            for (const char* r : strips)
                for (const char* o : orders) {
                    const std::string base = path(s.name + (n % 3 == 0 ? "-black.tif" : "-white.tif"));
                    const std::string out = path("cp" + std::to_string(n++) + ".tif");
                    ASSERT_EQ(run(std::string("tiffcp -c ") + c + " " + r + " " + o + " " + base + " " + out), 0);
                    SCOPED_TRACE(std::string(c) + " " + r + " " + o + " " + base);
                    expectLibtiffAgrees(out, 0, page);
                    expectPages(out, {&page});
                }
    }
}

// Compression 2 (modified Huffman rows without EOL), which tiffcp does not write.
TEST_F(TiffInterop, LibtiffCompressionTwoInBothFillOrders) {
    for (const Source& s : kSources) {
        const PageRaster page = source(s);
        int n = 0;
        for (bool lsb : {false, true})
            for (int rows : {0, 5}) {
                test::LibtiffPage p;
                p.image = &page;
                p.compression = 2;
                p.leastSignificantBitFirst = lsb;
                p.rowsPerStrip = rows;
                p.blackIsZero = lsb;
                const std::string out = path(s.name + "-mh" + std::to_string(n++) + ".tif");
                ASSERT_TRUE(test::writeTiffWithLibtiff(out, {p}, rows == 5));
                expectLibtiffAgrees(out, 0, page);
                expectPages(out, {&page});
            }
    }
}

// Pages joined by tiffcp, numbered in reverse by tiffset, with a directory
// marked as a reduced-resolution image between them.
TEST_F(TiffInterop, MultiPageFilesWithAndWithoutPageNumbers) {
    const PageRaster text = source(kSources[0]);
    const PageRaster lines = source(kSources[1]);
    const std::string t = path("text-white.tif"), l = path("lines-white.tif"), b = path("lines-black.tif");
    const std::string joined = path("joined.tif");
    ASSERT_EQ(run("tiffcp -c g4 " + t + " " + l + " " + b + " " + joined), 0);
    expectPages(joined, {&text, &lines, &lines});

    const std::string numbered = path("numbered.tif");
    ASSERT_EQ(run("tiffcp -c g3:2d " + l + " " + t + " " + l + " " + numbered), 0);
    for (int d = 0; d < 3; ++d)
        ASSERT_EQ(run("tiffset -d " + std::to_string(d) + " -s 297 " + std::to_string(2 - d) + " 3 " + numbered), 0);
    // Directory 0 holds PageNumber 2, directory 1 PageNumber 1 (the text), directory 2 PageNumber 0.
    expectPages(numbered, {&lines, &text, &lines});

    const std::string reduced = path("reduced.tif");
    ASSERT_EQ(run("tiffcp -c g4 " + t + " " + l + " " + t + " " + reduced), 0);
    ASSERT_EQ(run("tiffset -d 1 -s 254 1 " + reduced), 0);
    expectPages(reduced, {&text, &text});

    // A document without page numbers joined by tiffcp with one whose pages
    // are numbered 0 and 1 (tiffcp keeps them): the numbers would put those
    // pages on the first two. Every page stays, in the order of the file.
    const std::string first = path("first.tif"), second = path("second.tif"), both = path("both.tif");
    ASSERT_TRUE(test::writeTiffWithLibtiff(first, {{&text, 4}, {&lines, 4}}));
    ASSERT_TRUE(test::writeTiffWithLibtiff(second, {{&lines, 3, false, false, false, 0, 200, 200, -1, 0},
                                                    {&text, 3, false, false, false, 0, 200, 200, -1, 1}}));
    ASSERT_EQ(run("tiffcp " + first + " " + second + " " + both), 0);
    expectPages(both, {&text, &lines, &lines, &text});
}

// The window reads page after page into one raster, whose buffer a page of
// the same size takes over: nothing of the page before may show through,
// whether the new page is darker or lighter, nor in a smaller page after.
TEST_F(TiffInterop, PagesReadIntoOneRasterShowNothingOfThePageBefore) {
    const PageRaster black = test::makePage(Pattern::Black, 1728, 600);
    const PageRaster text = test::makePage(Pattern::Text, 1728, 600, 3);
    const PageRaster white = test::makePage(Pattern::White, 1728, 600);
    const PageRaster smaller = test::makePage(Pattern::Text, 1720, 590, 4);
    const std::string file = path("one-raster.tif");
    ASSERT_TRUE(test::writeTiffWithLibtiff(file, {{&black, 4}, {&text, 4}, {&white, 4}, {&black, 3}, {&smaller, 4}}));
    test::RecordingMessages messages;
    TiffReader reader;
    ASSERT_TRUE(reader.open(file, messages));
    PageRaster shown;
    const PageRaster* expected[] = {&black, &text, &white, &black, &smaller};
    for (int p = 1; p <= 5; ++p) {
        ASSERT_TRUE(reader.loadPage(p, shown, {}, messages)) << p;
        ASSERT_EQ(shown.height, expected[p - 1]->height) << p;
        EXPECT_EQ(test::firstDifferentRow(shown, *expected[p - 1]), -1) << "page " << p;
    }
    EXPECT_TRUE(messages.said.empty());
}

// fax2tiff stores received faxes: standard resolution (98 rows per inch
// against 204 pixels) shows every row twice, fine resolution as it is.
TEST_F(TiffInterop, Fax2tiffStandardResolutionPagesKeepTheirShape) {
    const PageRaster page = source(kSources[0]);
    const std::string g3 = path("fax.g3");
    ASSERT_EQ(run("pbmtog3 " + path("text.pbm") + " > " + g3), 0);
    int n = 0;
    for (const char* output : {"-5", "-6", "-8"})
        for (const char* resolution : {"-R 98", "-R 196"}) {
            const std::string out = path("fax" + std::to_string(n++) + ".tif");
            ASSERT_EQ(run(std::string("fax2tiff -M ") + output + " " + resolution + " -o " + out + " " + g3), 0);
            // fax2tiff keeps the white rows pbmtog3 ends the page with.
            PageRaster theirs;
            ASSERT_TRUE(test::readTiffWithLibtiff(out, 0, theirs));
            ASSERT_GE(theirs.height, page.height);
            for (int r = 0; r < page.height; ++r)
                ASSERT_TRUE(std::equal(page.row(r), page.row(r) + page.bytesPerRow, theirs.row(r))) << r;
            PageRaster doubled;
            ASSERT_TRUE(doubled.create(theirs.width, theirs.height * 2, 200));
            for (int r = 0; r < doubled.height; ++r)
                std::memcpy(doubled.row(r), theirs.row(r / 2), theirs.bytesPerRow);
            expectPages(out, {std::string(resolution) == "-R 98" ? &doubled : &theirs});
        }
}

// The strips of a damaged page each keep their own rows.
TEST_F(TiffInterop, DamagedStripLeavesTheOtherStripsInPlace) {
    const PageRaster page = source(kSources[0]);
    test::LibtiffPage p;
    p.image = &page;
    p.compression = 3;
    p.rowsPerStrip = 64;
    const std::string file = path("damaged.tif");
    ASSERT_TRUE(test::writeTiffWithLibtiff(file, {p}));
    std::vector<uint8_t> bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    TiffSource source;
    ASSERT_TRUE(source.attach(bytes));
    uint32_t ifd = source.u32(4);
    TiffPageInfo info;
    ASSERT_EQ(info.read(source, ifd), TiffPageInfo::Status::Supported);
    std::vector<int64_t> offsets;
    TiffPageInfo::forEachValue(source, info.stripOffsets, 100, [&](int64_t v) { offsets.push_back(v); });
    ASSERT_EQ(offsets.size(), 10u);
    for (int64_t i = offsets[1] + 20; i < offsets[2]; ++i) bytes[size_t(i)] = 0;  // strip 2 loses its rows after the first few

    test::RecordingMessages messages;
    TiffReader reader;
    ASSERT_TRUE(reader.open(bytes, file, messages));
    PageRaster ours;
    ASSERT_TRUE(reader.loadPage(1, ours, {}, messages));
    for (int r = 0; r < page.height; ++r) {
        if (r >= 64 && r < 128) continue;
        ASSERT_TRUE(std::equal(ours.row(r), ours.row(r) + page.bytesPerRow, page.row(r))) << "row " << r;
    }
    EXPECT_TRUE(messages.said.empty());
}

}  // namespace
}  // namespace lumipage
