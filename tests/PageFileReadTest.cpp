// Reading the program's own page files, .FAX files and paper records from
// bytes laid out by hand, so that the readers are checked against the layout
// itself rather than against our writer.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "image/FaxPageFile.h"
#include "image/LpPageFile.h"
#include "image/PageDecoder.h"
#include "image/PaperRecord.h"
#include "platform/File.h"
#include "support/RecordingMessages.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using Bytes = std::vector<uint8_t>;

void putField(Bytes& b, size_t lineStart, const std::string& tmpl, size_t valueEnd, long value) {
    std::memcpy(&b[lineStart], tmpl.data(), tmpl.size());
    b[lineStart + 14] = '\r';
    b[lineStart + 15] = '\n';
    std::string digits = std::to_string(value);
    for (size_t i = 0; i < digits.size() && i <= valueEnd - lineStart; ++i)
        b[valueEnd - i] = uint8_t(digits[digits.size() - 1 - i]);
}

// A page file header and table as the layout describes them.
Bytes pageFileHead(int k, const std::string& title, int dpi, int width, int height, bool tagged, int pages,
                   const std::vector<uint32_t>& offsets) {
    Bytes b(176 + size_t(k) * 256 + 80, 0);
    b[0] = uint8_t(k);
    std::string t = "TITLE:" + std::string(56, ' ');
    std::memcpy(&b[1], t.data(), t.size());
    std::memcpy(&b[7], title.data(), std::min<size_t>(title.size(), 55));
    b[62] = '\r';
    b[63] = '\n';
    putField(b, 64, "DPI:          ", 77, dpi);
    putField(b, 80, "XSIZE:        ", 93, width);
    putField(b, 96, "YSIZE:        ", 109, height);
    putField(b, 112, "BYTE:         ", 125, long((width + 7) / 8) * height);
    std::memcpy(&b[128], tagged ? "CODE:       MH\r\n" : "CODE:      BIT\r\n", 16);
    if (pages >= 0) putField(b, 144, "PAGE:        1", 157, pages);
    for (size_t i = 0; i < offsets.size(); ++i)
        for (int j = 0; j < 4; ++j) b[176 + i * 4 + size_t(j)] = uint8_t(offsets[i] >> (8 * j));
    return b;
}

std::string writeFile(const std::string& name, const Bytes& bytes) {
    static const std::string dir = test::tempFolder();
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

void append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

Bytes rawPage(const PageRaster& p) { return test::imageBytes(p); }

struct Reader {
    test::RecordingMessages messages;
    PageDecoder decoder;
    File file;
    LpPageFile::Header header;
    PageRaster raster;

    bool open(const std::string& path) {
        return file.open(path, File::Mode::Read) && LpPageFile::open(file, header, raster, messages);
    }
    bool load(int page) { return LpPageFile::loadPage(file, header, page, raster, decoder, messages); }
};

TEST(LpPageFile, RawPagesReadBackWithTheirHeader) {
    const PageRaster a = test::makePage(test::Pattern::Text, 1729, 60, 1);
    const PageRaster b = test::makePage(test::Pattern::Noise, 1729, 60, 2);
    const uint32_t size = uint32_t(rawPage(a).size());
    Bytes file = pageFileHead(0, "Report 2026", 200, 1729, 60, false, 2, {256, 256 + size});
    append(file, rawPage(a));
    append(file, rawPage(b));
    Reader r;
    ASSERT_TRUE(r.open(writeFile("two.MH", file)));
    EXPECT_EQ(r.header.title, "Report");  // up to the first space
    EXPECT_EQ(r.header.pageCount, 2);
    EXPECT_EQ(r.raster.dpi, 200);
    EXPECT_EQ(r.raster.width, 1729);
    EXPECT_EQ(r.raster.height, 60);
    EXPECT_EQ(r.raster.coding, int32_t(PageCoding::Bit));
    ASSERT_TRUE(r.load(2));
    EXPECT_EQ(test::firstDifferentRow(r.raster, b), -1);
    ASSERT_TRUE(r.load(1));
    EXPECT_EQ(test::firstDifferentRow(r.raster, a), -1);
    EXPECT_FALSE(r.load(3));
    EXPECT_FALSE(r.load(0));
    EXPECT_TRUE(r.messages.said.empty());
    EXPECT_EQ(LpPageFile::countPages(writeFile("two.MH", file)), 2);
}

TEST(LpPageFile, HeaderDefaultsAndPageCountRules) {
    // No PAGE line: one page at 256; no DPI line: 300.
    Bytes file = pageFileHead(0, "x", 0, 16, 2, false, -1, {});
    std::memset(&file[64], 0, 16);  // drop the DPI line
    append(file, Bytes{0xF0, 0x0F, 0xAA, 0x55});
    const std::string path = writeFile("nopage.BW", file);
    Reader r;
    ASSERT_TRUE(r.open(path));
    EXPECT_EQ(r.header.pageCount, 1);
    EXPECT_EQ(r.raster.dpi, 300);
    ASSERT_TRUE(r.load(1));
    EXPECT_EQ(r.raster.row(1)[1], 0x55);
    EXPECT_EQ(LpPageFile::countPages(path), 1);
    EXPECT_EQ(LpPageFile::countPages(writeFile("short.MH", Bytes(255, ' '))), 0);
    EXPECT_EQ(LpPageFile::countPages("/nonexistent/file.MH"), 0);
}

TEST(LpPageFile, LargerTableClassPlacesTheFirstPageFurther) {
    const PageRaster a = test::makePage(test::Pattern::ThinLines, 40, 30, 3);
    Bytes file = pageFileHead(1, "k1", 300, 40, 30, false, 1, {512});
    ASSERT_EQ(file.size(), 512u);
    append(file, rawPage(a));
    Reader r;
    ASSERT_TRUE(r.open(writeFile("k1.MH2", file)));
    ASSERT_EQ(r.header.pageOffsets.size(), 84u);
    ASSERT_TRUE(r.load(1));
    EXPECT_EQ(test::firstDifferentRow(r.raster, a), -1);
}

TEST(LpPageFile, DamagedFilesFailWithTheirMessages) {
    Reader r;
    // Too short for a header, wrong title key, size class above 15.
    EXPECT_FALSE(r.open(writeFile("short.MH", Bytes(100, 0))));
    EXPECT_EQ(r.messages.last(), "Failed to load file");
    Bytes bad = pageFileHead(0, "x", 300, 8, 8, false, 1, {256});
    bad[1] = 'X';
    EXPECT_FALSE(r.open(writeFile("bad.MH", bad)));
    Bytes big = pageFileHead(0, "x", 300, 8, 8, false, 1, {256});
    big[0] = 16;
    EXPECT_FALSE(r.open(writeFile("bigk.MH", big)));
    // The table of class 3 is longer than the file.
    Bytes cut = pageFileHead(0, "x", 300, 8, 8, false, 1, {256});
    cut[0] = 3;
    EXPECT_FALSE(r.open(writeFile("cut.MH", cut)));
    EXPECT_EQ(r.messages.said.size(), 4u);

    // Oversized page: refused with the file's name, raster becomes the blank page.
    Bytes huge = pageFileHead(0, "x", 300, 16001, 10, false, 1, {256});
    const std::string hugePath = writeFile("huge.MH", huge);
    Reader h;
    ASSERT_TRUE(h.open(hugePath));
    EXPECT_FALSE(h.load(1));
    EXPECT_EQ(h.messages.last(), hugePath + "\nデータサイズが制限値を超えています");
    EXPECT_EQ(h.raster.width, 2360);

    // Raw page shorter than its size; offset past the end; page without an offset.
    Bytes shortPage = pageFileHead(0, "x", 300, 64, 64, false, 3, {256, 9999999, 0});
    append(shortPage, Bytes(100, 0xFF));
    Reader s;
    ASSERT_TRUE(s.open(writeFile("shortpage.MH", shortPage)));
    EXPECT_FALSE(s.load(1));
    EXPECT_EQ(s.messages.last(), "データリードエラー");
    EXPECT_FALSE(s.load(2));
    EXPECT_FALSE(s.load(3));
    EXPECT_EQ(s.messages.last(), "このページは存在しません");
}

TEST(LpPageFile, TaggedPagesRunToTheNextPage) {
    // Three rows of 16 pixels: raw row, same as above, blank. The second page
    // starts right after, so the first page's data ends there.
    const Bytes page1{0xFF, 0xA5, 0x0F, 0x01, 0x00};
    const Bytes page2{0x00, 0xFF, 0xFF, 0xFF, 0x01};
    Bytes file = pageFileHead(0, "tags", 300, 16, 3, true, 2, {256, 256 + uint32_t(page1.size())});
    append(file, page1);
    append(file, page2);
    Reader r;
    ASSERT_TRUE(r.open(writeFile("tags.MH", file)));
    EXPECT_EQ(r.raster.coding, int32_t(PageCoding::TaggedMH));
    ASSERT_TRUE(r.load(1));
    EXPECT_EQ(r.raster.row(0)[0], 0xA5);
    EXPECT_EQ(r.raster.row(1)[1], 0x0F);
    EXPECT_EQ(r.raster.row(2)[0], 0x00);
    ASSERT_TRUE(r.load(2));
    EXPECT_EQ(r.raster.row(0)[0], 0x00);
    EXPECT_EQ(r.raster.row(1)[0], 0xFF);
    EXPECT_EQ(r.raster.row(2)[1], 0xFF);
}

Bytes faxHeader(uint8_t flags9, uint8_t flags10) {
    Bytes h(16, 0);
    h[0] = 'S';
    h[1] = 'F';
    h[2] = 1;
    h[8] = 0x20;
    h[9] = flags9;
    h[10] = flags10;
    return h;
}

TEST(FaxPageFile, HeaderFlagsDecideRowDoubling) {
    test::RecordingMessages m;
    PageRaster r;
    Bytes fine = faxHeader(0x40, 0);
    EXPECT_TRUE(FaxPageFile::parseHeader(fine.data(), r));
    EXPECT_EQ(r.lineDoubling, 0u);
    EXPECT_EQ(r.width, 1728);
    EXPECT_EQ(r.height, 2290);
    EXPECT_EQ(r.imageSize, 495936u);
    EXPECT_EQ(r.coding, int32_t(PageCoding::FaxG3));
    Bytes standard = faxHeader(0, 0);
    EXPECT_TRUE(FaxPageFile::parseHeader(standard.data(), r));
    EXPECT_EQ(r.lineDoubling, 1u);
    Bytes refused = faxHeader(0x40, 1);
    File f;
    ASSERT_TRUE(f.open(writeFile("refused.FAX", refused), File::Mode::Read));
    EXPECT_FALSE(FaxPageFile::open(f, r, m));
    EXPECT_EQ(m.last(), "Failed to load file");
    Bytes wrong = faxHeader(0x40, 0);
    wrong[0] = 'X';
    EXPECT_FALSE(FaxPageFile::parseHeader(wrong.data(), r));
}

// A paper record around the given coded data.
Bytes paperRecord(int32_t coding, int32_t width, int32_t height, const Bytes& data, uint32_t headerSize = 40) {
    Bytes b(headerSize + 32, 0);
    std::memcpy(b.data(), "LumipagePaper 2.1", 17);
    auto put = [&b](size_t at, uint32_t v) {
        for (int j = 0; j < 4; ++j) b[at + size_t(j)] = uint8_t(v >> (8 * j));
    };
    put(24, headerSize);
    put(28, 1);
    put(headerSize, 32);
    put(headerSize + 4, uint32_t(coding));
    put(headerSize + 12, 300);
    put(headerSize + 16, uint32_t(width));
    put(headerSize + 20, uint32_t(height));
    put(headerSize + 24, uint32_t(data.size()));
    append(b, data);
    return b;
}

TEST(PaperRecord, RecordsAtTheirOffsetDecode) {
    Bytes book(1000, 0x77);  // whatever comes before the record
    const Bytes rows{0xFF, 0x12, 0x34, 0x01, 0x00};
    append(book, paperRecord(int32_t(PageCoding::TaggedMH), 16, 3, rows));
    append(book, paperRecord(int32_t(PageCoding::TaggedMH), 16, 1, Bytes{0xFF, 0xAB, 0xCD}, 48));
    File f;
    ASSERT_TRUE(f.open(writeFile("book.LPB", book), File::Mode::Read));
    test::RecordingMessages m;
    PageDecoder d;
    PageRaster r;
    ASSERT_TRUE(PaperRecord::read(f, 1000, "LPP", r, d, m));
    EXPECT_EQ(r.width, 16);
    EXPECT_EQ(r.height, 3);
    EXPECT_EQ(r.dpi, 300);
    EXPECT_EQ(r.row(1)[1], 0x34);
    EXPECT_EQ(r.row(2)[0], 0x00);
    // A longer header from a later writer is skipped.
    ASSERT_TRUE(PaperRecord::read(f, 1000 + 72 + 5, "LPP", r, d, m));
    EXPECT_EQ(r.row(0)[1], 0xCD);
    EXPECT_TRUE(m.said.empty());

    EXPECT_FALSE(PaperRecord::read(f, 1000, "LPX", r, d, m));
    EXPECT_FALSE(PaperRecord::read(f, 10, "LPP", r, d, m));
    EXPECT_FALSE(PaperRecord::read(f, 1'000'000, "LPP", r, d, m));
    EXPECT_EQ(m.said.size(), 3u);
}

TEST(PaperRecord, DamagedRecordsFailSafely) {
    test::RecordingMessages m;
    PageDecoder d;
    PageRaster r;
    File f;
    // Data count past the end of the file.
    Bytes cut = paperRecord(1, 16, 3, Bytes{0xFF, 1, 2});
    cut.resize(cut.size() - 2);
    ASSERT_TRUE(f.open(writeFile("cut.LPB", cut), File::Mode::Read));
    EXPECT_FALSE(PaperRecord::read(f, 0, "LPP", r, d, m));
    // Absurd header size and absurd block size.
    Bytes hdr = paperRecord(1, 16, 3, Bytes{0x00, 0x00, 0x00});
    hdr[27] = 0x7F;
    ASSERT_TRUE(f.open(writeFile("hdr.LPB", hdr), File::Mode::Read));
    EXPECT_FALSE(PaperRecord::read(f, 0, "LPP", r, d, m));
    Bytes blk = paperRecord(1, 16, 3, Bytes{0x00, 0x00, 0x00});
    blk[43] = 0xFF;
    ASSERT_TRUE(f.open(writeFile("blk.LPB", blk), File::Mode::Read));
    EXPECT_FALSE(PaperRecord::read(f, 0, "LPP", r, d, m));
    // Zero and oversized dimensions.
    ASSERT_TRUE(f.open(writeFile("zero.LPB", paperRecord(1, 0, 3, Bytes{0})), File::Mode::Read));
    EXPECT_FALSE(PaperRecord::read(f, 0, "LPP", r, d, m));
    ASSERT_TRUE(f.open(writeFile("huge.LPB", paperRecord(1, 20000, 3, Bytes{0})), File::Mode::Read));
    EXPECT_FALSE(PaperRecord::read(f, 0, "LPP", r, d, m));
    EXPECT_EQ(m.last(), f.path() + "\nデータサイズが制限値を超えています");
    EXPECT_EQ(r.width, 2360);
}

}  // namespace
}  // namespace lumipage
