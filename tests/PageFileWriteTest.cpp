// Writing page files and .FAX files: the layouts byte for byte, reading back
// with our readers, and the fax data checked with netpbm's g3topbm.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image/FaxPageFile.h"
#include "image/FaxPageFileWriter.h"
#include "image/LpPageFile.h"
#include "image/LpPageFileWriter.h"
#include "image/PageDecoder.h"
#include "platform/File.h"
#include "support/RecordingMessages.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::makePage;
using test::Pattern;

std::vector<uint8_t> readAll(const std::string& path) {
    std::vector<uint8_t> out;
    File::readAll(path, out);
    return out;
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

std::string writePages(const std::string& path, std::vector<PageRaster>& pages, int32_t coding, int planned = -1) {
    File f;
    LpPageFileWriter w;
    EXPECT_TRUE(f.open(path, File::Mode::Create));
    pages[0].coding = coding;
    EXPECT_TRUE(w.begin(f, planned < 0 ? int(pages.size()) : planned, pages[0], "Title"));
    for (auto& p : pages) EXPECT_TRUE(w.append(f, p));
    EXPECT_TRUE(w.finish(f));
    return path;
}

TEST(LpPageFileWriter, OnePageLayout) {
    const std::string dir = test::tempFolder();
    std::vector<PageRaster> pages;
    pages.push_back(makePage(Pattern::Text, 1728, 100));
    pages[0].dpi = 200;
    const auto b = readAll(writePages(dir + "/one.MH", pages, int32_t(PageCoding::Bit)));
    ASSERT_EQ(b.size(), 256u + 216u * 100u);
    EXPECT_EQ(b[0], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[1]), 63),
              "TITLE:Title" + std::string(50, ' ') + "\r\n");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[64]), 112),
              "DPI:       200\r\nXSIZE:    1728\r\nYSIZE:     100\r\nBYTE:    21600\r\n"
              "CODE:      BIT\r\nPAGE:        1\r\n" +
                  std::string(16, '\0'));
    EXPECT_EQ(le32(b, 176), 256u);
    for (size_t i = 180; i < 256; ++i) ASSERT_EQ(b[i], 0) << i;
    EXPECT_EQ(0, std::memcmp(&b[256], pages[0].bits(), 21600));
}

TEST(LpPageFileWriter, ThirtyPagesUseTheLargerTable) {
    const std::string dir = test::tempFolder();
    std::vector<PageRaster> pages;
    for (int i = 0; i < 30; ++i) pages.push_back(makePage(Pattern::Noise, 64, 8, uint32_t(i)));
    const std::string path = writePages(dir + "/thirty.BW", pages, int32_t(PageCoding::Bit));
    const auto b = readAll(path);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(le32(b, 176), 512u);
    EXPECT_EQ(le32(b, 176 + 4 * 29), 512u + 29u * 64u);
    EXPECT_EQ(le32(b, 176 + 4 * 30), 0u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[144]), 14), "PAGE:       30");

    test::RecordingMessages m;
    File f;
    ASSERT_TRUE(f.open(path, File::Mode::Read));
    LpPageFile::Header h;
    PageRaster r;
    PageDecoder d;
    ASSERT_TRUE(LpPageFile::open(f, h, r, m));
    EXPECT_EQ(h.pageCount, 30);
    EXPECT_EQ(h.title, "Title");
    for (int i : {1, 17, 30}) {
        ASSERT_TRUE(LpPageFile::loadPage(f, h, i, r, d, m));
        EXPECT_EQ(test::firstDifferentRow(r, pages[size_t(i - 1)]), -1) << i;
    }
    EXPECT_EQ(LpPageFile::countPages(path), 30);
}

TEST(LpPageFileWriter, RefusesPagesBeyondThePlanAndOtherSizes) {
    const std::string dir = test::tempFolder();
    File f;
    ASSERT_TRUE(f.open(dir + "/x.MH", File::Mode::Create));
    PageRaster a = makePage(Pattern::Text, 100, 50);
    PageRaster b = makePage(Pattern::Text, 101, 50);
    LpPageFileWriter w;
    ASSERT_TRUE(w.begin(f, 1, a, "t"));
    EXPECT_FALSE(w.append(f, b));
    EXPECT_TRUE(w.append(f, a));
    EXPECT_FALSE(w.append(f, a));
    EXPECT_EQ(w.pagesWritten(), 1);
    PageRaster empty;
    EXPECT_FALSE(LpPageFileWriter().begin(f, 1, empty, "t"));
    // A write error: the file is open for reading only.
    File readOnly;
    ASSERT_TRUE(readOnly.open(dir + "/x.MH", File::Mode::Read));
    EXPECT_FALSE(LpPageFileWriter().begin(readOnly, 1, a, "t"));
}

TEST(LpPageFileWriter, SizeClassAndNumberFields) {
    EXPECT_EQ(LpPageFileWriter::sizeClassFor(20), 0);
    EXPECT_EQ(LpPageFileWriter::sizeClassFor(21), 1);
    EXPECT_EQ(LpPageFileWriter::sizeClassFor(85), 2);
    EXPECT_EQ(LpPageFileWriter::sizeClassFor(5000), 15);  // never beyond what readers accept
    PageRaster g;
    g.dpi = 1234567;  // more digits than the field: only the last ones are kept
    g.setSize(8, 8);
    const auto h = LpPageFileWriter::headerBytes(0, "\x83\x65\x83\x58\x83\x67", g, 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&h[64]), 14), "DPI:     34567");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&h[7]), 7), "\x83\x65\x83\x58\x83\x67 ");
    // A 55-byte title field never ends in half a double-byte character.
    const std::string longTitle = std::string(54, 'a') + "\x83\x65";
    const auto cut = LpPageFileWriter::headerBytes(0, longTitle, g, 1);
    EXPECT_EQ(cut[7 + 54], ' ');
}

TEST(LpPageFileWriter, TaggedPagesReadBack) {
    const std::string dir = test::tempFolder();
    std::vector<PageRaster> pages;
    pages.push_back(makePage(Pattern::Text, 1729, 300, 4));
    pages.push_back(makePage(Pattern::Noise, 1729, 300, 5));
    pages.push_back(makePage(Pattern::ThinLines, 1729, 300, 6));
    const std::string path = writePages(dir + "/tagged.MH", pages, int32_t(PageCoding::TaggedMH));
    test::RecordingMessages m;
    File f;
    ASSERT_TRUE(f.open(path, File::Mode::Read));
    LpPageFile::Header h;
    PageRaster r;
    PageDecoder d;
    ASSERT_TRUE(LpPageFile::open(f, h, r, m));
    EXPECT_EQ(r.coding, int32_t(PageCoding::TaggedMH));
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(LpPageFile::loadPage(f, h, i, r, d, m));
        EXPECT_EQ(test::firstDifferentRow(r, pages[size_t(i - 1)]), -1) << i;
    }
}

TEST(FaxPageFileWriter, NetpbmDecodesWhatWeWrite) {
    const std::string dir = test::tempFolder();
    const PageRaster page = makePage(Pattern::Text, 1728, 2290, 9);
    File f;
    ASSERT_TRUE(f.open(dir + "/letter.FAX", File::Mode::Create));
    ASSERT_TRUE(FaxPageFileWriter().write(f, page));
    const auto b = readAll(dir + "/letter.FAX");
    EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 16), FaxPageFileWriter::headerBytes());
    EXPECT_EQ(b[9], 0x40);
    ASSERT_EQ(test::runCommand("tail -c +17 '" + dir + "/letter.FAX' > '" + dir + "/data.g3' && g3topbm -reversebits '" +
                               dir + "/data.g3' > '" + dir + "/out.pbm' 2>/dev/null"),
              0);
    PageRaster back;
    ASSERT_TRUE(test::readPbm(dir + "/out.pbm", back));
    ASSERT_EQ(back.width, 1728);
    ASSERT_EQ(back.height, 2290);
    EXPECT_EQ(test::firstDifferentRow(back, page), -1);

    // And our own reader.
    test::RecordingMessages m;
    File in;
    ASSERT_TRUE(in.open(dir + "/letter.FAX", File::Mode::Read));
    PageRaster r;
    PageDecoder d;
    ASSERT_TRUE(FaxPageFile::open(in, r, m));
    EXPECT_EQ(r.lineDoubling, 0u);
    ASSERT_TRUE(FaxPageFile::loadPage(in, r, d, m));
    EXPECT_EQ(test::firstDifferentRow(r, page), -1);
}

TEST(FaxPageFileWriter, OnlyFaxSizedPages) {
    const std::string dir = test::tempFolder();
    File f;
    ASSERT_TRUE(f.open(dir + "/x.FAX", File::Mode::Create));
    EXPECT_FALSE(FaxPageFileWriter().write(f, makePage(Pattern::Text, 2480, 3508)));
    PageRaster none;
    none.setSize(1728, 2290);
    EXPECT_FALSE(FaxPageFileWriter().write(f, none));
}

}  // namespace
}  // namespace lumipage
