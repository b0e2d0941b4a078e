// Files we write, read back by independent decoders: libtiff (tiffinfo,
// tifftopnm and the library) and netpbm's g3topbm.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "image/PageEncoder.h"
#include "image/TiffWriter.h"
#include "platform/File.h"
#include "support/LibtiffWriter.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::makePage;
using test::Pattern;

const Pattern kPatterns[] = {Pattern::Text, Pattern::Noise, Pattern::Black, Pattern::White, Pattern::ThinLines};
const int kWidths[] = {1728, 1729, 2480};
const int kTiffCodings[] = {10, 11, 12, 13, 14};

std::string slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// tiffinfo -D decodes every strip; anything on standard error is a
// complaint (a tag that does not belong to the file's compression among them).
void expectLibtiffReadsCleanly(const std::string& path) {
    const std::string err = path + ".err";
    EXPECT_EQ(test::runCommand("tiffinfo -D '" + path + "' >/dev/null 2>'" + err + "'"), 0) << path;
    const std::string complaints = slurp(err);
    EXPECT_EQ(complaints.substr(0, 500), "") << path;
}

void expectSameImage(const PageRaster& expected, const PageRaster& actual, const std::string& what) {
    ASSERT_EQ(actual.width, expected.width) << what;
    ASSERT_EQ(actual.height, expected.height) << what;
    EXPECT_EQ(test::firstDifferentRow(expected, actual), -1) << what;
}

TEST(TiffWriterInterop, LibtiffReadsEverySinglePageCoding) {
    const std::string folder = test::tempFolder();
    TiffWriter writer;
    for (const int width : kWidths)
        for (const Pattern pattern : kPatterns)
            for (const int coding : kTiffCodings) {
                const PageRaster page = makePage(pattern, width, 160, uint32_t(width));
                const std::string name = folder + "/p" + std::to_string(width) + "_" +
                                         std::to_string(int(pattern)) + "_" + std::to_string(coding);
                File file;
                ASSERT_TRUE(file.open(name + ".tif", File::Mode::Create));
                ASSERT_TRUE(writer.writeSinglePage(file, page, coding)) << name;
                file.close();
                expectLibtiffReadsCleanly(name + ".tif");
                ASSERT_EQ(test::runCommand("tifftopnm '" + name + ".tif' >'" + name + ".pbm' 2>/dev/null"), 0);
                PageRaster back;
                ASSERT_TRUE(test::readPbm(name + ".pbm", back)) << name;
                expectSameImage(page, back, name);
            }
}

TEST(TiffWriterInterop, LibtiffReadsEveryPageOfAMultiPageFile) {
    std::vector<PageRaster> pages;
    for (const int width : kWidths)
        for (const Pattern pattern : {Pattern::Text, Pattern::ThinLines, Pattern::Noise})
            pages.push_back(makePage(pattern, width, 120 + int(pages.size()), uint32_t(pages.size())));
    const std::string path = test::tempFolder() + "/pages.tif";
    File file;
    ASSERT_TRUE(file.open(path, File::Mode::Create));
    TiffWriter writer;
    ASSERT_TRUE(writer.beginMultiPage(file, int(pages.size())));
    for (size_t i = 0; i < pages.size(); ++i) ASSERT_TRUE(writer.appendPage(file, pages[i], kTiffCodings[i % 5]));
    file.close();

    expectLibtiffReadsCleanly(path);
    ASSERT_EQ(test::libtiffPageCount(path), int(pages.size()));
    for (size_t i = 0; i < pages.size(); ++i) {
        PageRaster back;
        ASSERT_TRUE(test::libtiffReadPage(path, int(i), back)) << i;
        expectSameImage(pages[i], back, "page " + std::to_string(i));
    }
}

std::vector<uint8_t> encodeFax(const PageRaster& page, uint32_t lineDoubling) {
    const PageToEncode view = PageToEncode::of(page).withCoding(int32_t(PageCoding::FaxG3), lineDoubling);
    std::vector<uint8_t> out(PageEncoder::bufferSize(view));
    PageEncoder encoder;
    out.resize(encoder.encodePage(out, view));
    return out;
}

TEST(TiffWriterInterop, FaxPagesDecodeWithG3topbm) {
    const std::string folder = test::tempFolder();
    for (const Pattern pattern : kPatterns) {
        const PageRaster page = makePage(pattern, 1728, 400, 11);
        const std::string name = folder + "/fax" + std::to_string(int(pattern));
        const std::vector<uint8_t> data = encodeFax(page, 0);
        File file;
        ASSERT_TRUE(file.open(name + ".g3", File::Mode::Create));
        ASSERT_TRUE(file.writeAt(0, data));
        file.close();
        ASSERT_EQ(test::runCommand("g3topbm -reversebits '" + name + ".g3' >'" + name + ".pbm' 2>/dev/null"), 0);
        PageRaster back;
        ASSERT_TRUE(test::readPbm(name + ".pbm", back));
        expectSameImage(page, back, name);
    }

    // Standard resolution: each row pair is sent once, as the OR of the two
    // rows; g3topbm -stretch repeats every coded row.
    const PageRaster page = makePage(Pattern::Text, 1728, 400, 12);
    PageRaster paired;
    paired.create(1728, 400, 200);
    for (int r = 0; r < 400; r += 2)
        for (uint32_t i = 0; i < page.bytesPerRow; ++i)
            paired.row(r)[i] = paired.row(r + 1)[i] = page.row(r)[i] | page.row(r + 1)[i];
    const std::string name = folder + "/standard";
    File file;
    ASSERT_TRUE(file.open(name + ".g3", File::Mode::Create));
    ASSERT_TRUE(file.writeAt(0, encodeFax(page, 1)));
    file.close();
    ASSERT_EQ(test::runCommand("g3topbm -reversebits -stretch '" + name + ".g3' >'" + name + ".pbm' 2>/dev/null"), 0);
    PageRaster back;
    ASSERT_TRUE(test::readPbm(name + ".pbm", back));
    expectSameImage(paired, back, name);
}

}  // namespace
}  // namespace lumipage
