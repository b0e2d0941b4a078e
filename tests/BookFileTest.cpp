// Book files: the layout as written, reading back pages, words and comment,
// and refusing damaged or newer books.
#include <gtest/gtest.h>

#include <cstring>

#include "comments/CommentFile.h"
#include "document/BookWriter.h"
#include "image/LpPageFileWriter.h"
#include "platform/File.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

uint32_t le32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}
void put32(std::string& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = char(v >> (8 * i));
}

struct Books : test::DocumentFixture, ::testing::Test {
    PageRaster a = test::makePage(test::Pattern::Text, 1728, 400, 1);
    PageRaster b = test::makePage(test::Pattern::Noise, 200, 90, 2);
    PageRaster c = test::makePage(test::Pattern::ThinLines, 1000, 300, 3);

    std::string writeBook(const std::string& name, std::vector<PageWord> words = {PageWord{}, PageWord{}, PageWord{}},
                          const std::string& index = {}) {
        BookWriter w;
        const std::string path = dir + "/" + name;
        const PageRaster* pages[] = {&a, &b, &c};
        EXPECT_TRUE(w.begin(path, 3, 2));
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(w.addPage(*pages[i], words[size_t(i)]));
        EXPECT_TRUE(w.end(index));
        return path;
    }
};

TEST_F(Books, ThreePagesLayOutHeaderWordsDirectoryAndRecords) {
    const std::string path = writeBook("three.LPB");
    const std::string bytes = readText(path);
    ASSERT_GT(bytes.size(), 118u);
    EXPECT_EQ(std::string(bytes.data(), 17), std::string("LumipageBook 2.1\0", 17));
    EXPECT_EQ(le32(bytes, 24), 64u);
    EXPECT_EQ(le32(bytes, 28), 3u);
    EXPECT_EQ(le32(bytes, 32), 64u);
    EXPECT_EQ(le32(bytes, 40), 70u);
    EXPECT_EQ(le32(bytes, 48), 0u);  // no comment
    EXPECT_EQ(uint8_t(bytes[60]), 2);
    EXPECT_EQ(le32(bytes, 70), 118u);  // the first page directly after the directory
    EXPECT_EQ(le32(bytes, 78), 72u);
    EXPECT_EQ(std::string(bytes.data() + 82, 4), std::string("LPP\0", 4));
    EXPECT_EQ(std::string(bytes.data() + 118, 17), "LumipagePaper 2.1");
    // Each record follows the one before: 72 header bytes and the coded page.
    const uint32_t second = le32(bytes, 86);
    EXPECT_EQ(second, 118 + 72 + le32(bytes, 118 + 64));
    // A text page is stored as T.6, random dots (larger than a fifth of the raw page) as TaggedMH.
    EXPECT_EQ(le32(bytes, 118 + 44), 14u);
    EXPECT_EQ(le32(bytes, second + 44), 1u);
}

TEST_F(Books, PagesReadBackBitForBitWithSelectionButNotSendOrPrintMarks) {
    const uint8_t marks = PageWord::kSelected | PageWord::kSent | PageWord::kPrinted | 0xC0;
    const std::string path =
        writeBook("marks.LPB", {PageWord{uint16_t(marks << 8 | 0x85)}, PageWord{0x1000}, PageWord{0x0003}});
    settings.pageStartPosition = 0;
    ASSERT_TRUE(doc.openPath(path, 1));
    EXPECT_EQ(settings.pageStartPosition, 2);  // the book's own
    EXPECT_EQ(table.word(1).bits, 0x0185);
    EXPECT_EQ(table.word(2).bits, 0x0000);
    EXPECT_EQ(table.word(3).bits, 0x0003);
    const PageRaster* pages[] = {&a, &b, &c};
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(doc.goToPage(i)) << messages.last();
        EXPECT_EQ(test::firstDifferentRow(doc.raster(), *pages[i - 1]), -1) << "page " << i;
    }
    EXPECT_EQ(doc.bookHeaderText(), "LumipageBook 2.1");
}

TEST_F(Books, ABookAfter9998PagesGivesTwoPagesAndNoFurtherWords) {
    PageRaster target;
    target.setSize(16, 16);
    std::vector<uint8_t> head = LpPageFileWriter::headerBytes(0, "", target, 9998);
    head.resize(256, 0);
    writeText("big.MH", std::string(head.begin(), head.end()));
    ASSERT_TRUE(table.append(dir + "/big.MH"));
    ASSERT_EQ(table.totalPages(), 9998);
    const std::string path = writeBook("late.LPB", {PageWord{0x0100}, PageWord{0x0101}, PageWord{0x0102}});
    ASSERT_TRUE(table.append(path));
    EXPECT_EQ(table.entry(2).pages, 2);
    EXPECT_EQ(table.counts().selected, 2);
    EXPECT_EQ(table.word(10000).bits, 0x0101);
    ASSERT_TRUE(doc.goToPage(10000));
    EXPECT_EQ(doc.filePages(), 2);
    EXPECT_EQ(test::firstDifferentRow(doc.raster(), b), -1);
}

TEST_F(Books, TheEmbeddedCommentBecomesTheCommentFileOnlyWhenThereIsNone) {
    const std::string index = dir + "/list.LPX";
    writeText("list.LPX.()", "Title: From the index\r\n");
    const std::string path = writeBook("commented.LPB", {PageWord{}, PageWord{}, PageWord{}}, index);
    EXPECT_EQ(readText(path + ".()"), "Title: From the index\r\n");
    std::remove((path + ".()").c_str());
    ASSERT_TRUE(doc.openPath(path));
    EXPECT_EQ(readText(path + ".()"), "Title: From the index\r\n");
    EXPECT_EQ(doc.commentTitle(), "");  // a three-page book's title is per page
    EXPECT_EQ(CommentFile::title(path, 0), " From the index");  // read from inside the book
    doc.closeAll();
    writeText("commented.LPB.()", "mine\r\n");
    ASSERT_TRUE(doc.openPath(path));
    EXPECT_EQ(readText(path + ".()"), "mine\r\n");
}

TEST_F(Books, DamagedAndNewerBooksAreRefusedWithTheirMessages) {
    const std::string good = readText(writeBook("good.LPB"));
    auto variant = [&](const std::string& name, auto change) {
        std::string bytes = good;
        change(bytes);
        writeText(name, bytes);
        return dir + "/" + name;
    };
    const std::string newer = variant("newer.LPB", [](std::string& b) { b[15] = '2'; });
    const std::string older = variant("older.LPB", [](std::string& b) { b[15] = '0'; });
    const std::string longer = variant("longer.LPB", [](std::string& b) { b[16] = '0'; });  // "2.10"
    const std::string magic = variant("magic.LPB", [](std::string& b) { b[0] = 'X'; });
    const std::string shortHead = variant("short.LPB", [](std::string& b) { b.resize(40); });
    const std::string farDirectory = variant("far.LPB", [](std::string& b) { put32(b, 40, 0x7FFFFFF0); });
    const std::string noDirectory = variant("nodir.LPB", [](std::string& b) { put32(b, 40, 0); });
    const std::string manyPages = variant("many.LPB", [](std::string& b) { put32(b, 28, 0xFFFFFFFF); });
    const std::string badType = variant("type.LPB", [](std::string& b) { b[82] = 'X'; });

    const std::string header = "ヘッダデータが不正です";
    const std::string newerText = "このﾌﾞｯｸﾌｧｲﾙを開くためは、\n新しいﾊﾞｰｼﾞｮﾝのｿﾌﾄｳｪｱが必要です";
    EXPECT_FALSE(table.append(newer));
    EXPECT_EQ(messages.last(), newerText);
    EXPECT_FALSE(table.append(longer));
    EXPECT_EQ(messages.last(), newerText);
    EXPECT_FALSE(table.append(magic));
    EXPECT_EQ(messages.last(), header);
    EXPECT_FALSE(table.append(shortHead));
    EXPECT_EQ(messages.last(), header);
    ASSERT_TRUE(doc.openPath(older));
    EXPECT_EQ(test::firstDifferentRow(doc.raster(), a), -1);

    for (const std::string& path : {farDirectory, noDirectory, manyPages}) {
        doc.closeAll();
        messages.said.clear();
        EXPECT_FALSE(doc.openPath(path)) << path;
        EXPECT_FALSE(messages.said.empty()) << path;
    }
    doc.closeAll();
    EXPECT_TRUE(table.append(manyPages));
    EXPECT_EQ(table.totalPages(), OpenFileTable::kMaxPages);  // believed only as far as the list reaches

    doc.closeAll();
    ASSERT_TRUE(doc.openPath(badType, 2));
    EXPECT_FALSE(doc.goToPage(1));  // its directory entry is not a paper record
}

TEST_F(Books, AWriterDroppedMidWayLeavesTheOldBook) {
    const std::string path = writeBook("kept.LPB");
    const std::string before = readText(path);
    {
        BookWriter w;
        ASSERT_TRUE(w.begin(path, 3, 1));
        ASSERT_TRUE(w.addPage(a, PageWord{}));
    }
    EXPECT_EQ(readText(path), before);
    BookWriter w;
    ASSERT_TRUE(w.begin(path, 1, 1));
    ASSERT_TRUE(w.addPage(c, PageWord{}));
    EXPECT_FALSE(w.addPage(c, PageWord{}));  // beyond the planned count
    ASSERT_TRUE(w.end());
    EXPECT_NE(readText(path), before);
}

}  // namespace
}  // namespace lumipage
