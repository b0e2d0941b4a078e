// Real pages through the whole road: page files in a list, saved as an index,
// reopened, written as a book with comments, reopened: the same pages, bits
// and all.
#include <gtest/gtest.h>

#include <filesystem>

#include "comments/BookContents.h"
#include "comments/CommentFile.h"
#include "document/BookWriter.h"
#include "image/BmpFile.h"
#include "image/TiffWriter.h"
#include "platform/File.h"
#include "platform/TextCodec.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::makePage;
using test::Pattern;

struct RoundTrip : test::DocumentFixture, ::testing::Test {};

TEST_F(RoundTrip, IndexThenBookKeepsEveryPageAndItsSelection) {
    const PageRaster fax = makePage(Pattern::Text, 1728, 2290, 11);
    const PageRaster scan1 = makePage(Pattern::Text, 2360, 600, 12);
    const PageRaster scan2 = makePage(Pattern::ThinLines, 2360, 600, 13);
    const PageRaster raw = makePage(Pattern::Noise, 301, 77, 14);
    const PageRaster tiff1 = makePage(Pattern::Text, 1700, 500, 15);
    const PageRaster tiff2 = makePage(Pattern::Black, 64, 64, 16);
    const PageRaster bitmap = makePage(Pattern::ThinLines, 333, 120, 17);
    std::filesystem::create_directories(dir + "/in/sub");
    {
        File f;
        TiffWriter w;
        ASSERT_TRUE(f.open(dir + "/in/two.TIF", File::Mode::Create) && w.beginMultiPage(f, 2));
        ASSERT_TRUE(w.appendPage(f, tiff1, 14) && w.appendPage(f, tiff2, 10));
    }
    ASSERT_TRUE(BmpFile::savePage(dir + "/in/sub/pic.bmp", bitmap, nullptr, messages));
    std::vector<std::string> paths{writeFax("in/cover.FAX", fax), writeMH("in/scans.MH", {&scan1, &scan2}),
                                   writeMH("in/sub/raw.BW", {&raw}, 0), dir + "/in/two.TIF",
                                   dir + "/in/sub/pic.bmp"};
    const std::vector<const PageRaster*> expected{&fax, &scan1, &scan2, &raw, &tiff1, &tiff2, &bitmap};
    for (const std::string& p : paths) ASSERT_TRUE(table.append(p)) << p;
    table.select(2, true);
    table.setMarks(3, PageWord::kPrinted | PageWord::kSent, PageWord::kPrintMarks | PageWord::kSendMarks);
    table.setTransform(4, 2 | PageWord::kInverted, PageWord::kTransform);

    // Saved as an index and reopened.
    ASSERT_TRUE(doc.index().saveAs(dir + "/in/book.LPX"));
    doc.closeAll();
    ASSERT_TRUE(doc.openPath(dir + "/in/book.LPX"));
    ASSERT_EQ(table.totalPages(), 7);
    EXPECT_EQ(table.counts().selected, 1);
    EXPECT_TRUE(table.word(2).has(PageWord::kSelected));

    // Written as a book, the index's comment becoming the book's.
    writeText("in/book.LPX.()", *text::toCp932("書名：Round trip\r\n<P.2>\r\nタイトル：Scans\r\n目次：\r\n"));
    table.setMarks(3, PageWord::kPrinted, PageWord::kPrintMarks);
    table.setTransform(4, 2 | PageWord::kInverted, PageWord::kTransform);
    const std::string book = dir + "/out.LPB";
    BookWriter writer;
    ASSERT_TRUE(writer.begin(book, table.totalPages(), settings.pageStartPosition));
    for (int p = 1; p <= table.totalPages(); ++p) {
        ASSERT_TRUE(doc.goToPage(p)) << messages.last();
        ASSERT_EQ(test::firstDifferentRow(doc.raster(), *expected[size_t(p - 1)]), -1) << "source page " << p;
        ASSERT_TRUE(writer.addPage(doc.raster(), table.word(p)));
    }
    ASSERT_TRUE(writer.end(table.index().path));

    doc.closeAll();
    std::remove((book + ".()").c_str());  // comes back out of the book
    ASSERT_TRUE(doc.openPath(book));
    ASSERT_EQ(table.totalPages(), 7);
    for (int p = 1; p <= 7; ++p) {
        ASSERT_TRUE(doc.goToPage(p)) << messages.last();
        EXPECT_EQ(test::firstDifferentRow(doc.raster(), *expected[size_t(p - 1)]), -1) << "book page " << p;
        EXPECT_EQ(doc.raster().dpi, expected[size_t(p - 1)]->dpi) << "book page " << p;
    }
    EXPECT_EQ(table.word(2).bits, 0x0100);
    EXPECT_EQ(table.word(3).bits, 0x0000);
    EXPECT_EQ(table.word(4).bits, 0x0082);
    ASSERT_TRUE(doc.goToPage(2));
    EXPECT_EQ(doc.commentTitle(), "Scans");
    EXPECT_EQ(contentsEntries(book, 1, 7), (std::vector<ContentsEntry>{{"Scans", 2}}));
    EXPECT_EQ(*CommentFile::read(book, 0), "書名：Round trip\r\n");
}

}  // namespace
}  // namespace lumipage
