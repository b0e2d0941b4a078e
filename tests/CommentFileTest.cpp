// Comment files: page sections, titles, contents and keyword lists, standard
// items, and what happens to damaged or unusual comments.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "comments/BookContents.h"
#include "comments/CommentFile.h"
#include "comments/FileKind.h"
#include "comments/StandardItems.h"
#include "platform/TextCodec.h"
#include "support/RecordingMessages.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void store(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string sjis(std::string_view utf8) { return *text::toCp932(utf8); }

struct Comments : ::testing::Test {
    std::string dir = test::tempFolder();
    std::string file = dir + "/A001.TIF";
    std::string comment = file + ".()";
    test::RecordingMessages messages;
};

TEST_F(Comments, SectionsAreInsertedInPageOrderAndRemovedByEmptyText) {
    store(comment, "file part\r\n<P.2>\r\ntwo\r\n<P.5>\r\nfive\r\n");
    ASSERT_TRUE(CommentFile::write(file, 3, "three", messages));
    EXPECT_EQ(slurp(comment), "file part\r\n<P.2>\r\ntwo\r\n<P.3>\r\nthree\r\n<P.5>\r\nfive\r\n");
    ASSERT_TRUE(CommentFile::write(file, 5, "", messages));
    EXPECT_EQ(slurp(comment), "file part\r\n<P.2>\r\ntwo\r\n<P.3>\r\nthree\r\n");
    ASSERT_TRUE(CommentFile::write(file, 0, "new part\r\n", messages));
    EXPECT_EQ(slurp(comment), "new part\r\n<P.2>\r\ntwo\r\n<P.3>\r\nthree\r\n");
    ASSERT_TRUE(CommentFile::write(file, 9, "nine", messages));
    EXPECT_EQ(*CommentFile::read(file, 9), "nine\r\n");
    EXPECT_EQ(*CommentFile::read(file, 2), "two\r\n");
    EXPECT_EQ(*CommentFile::read(file, 0), "new part\r\n");
    EXPECT_EQ(*CommentFile::read(file, 4), "");
}

TEST_F(Comments, TheFilePartIsReplacedNotRepeated) {
    ASSERT_TRUE(CommentFile::write(file, 0, "first", messages));
    ASSERT_TRUE(CommentFile::write(file, 0, "second", messages));
    EXPECT_EQ(slurp(comment), "second\r\n");
    ASSERT_TRUE(CommentFile::write(file, 1, "one", messages));
    ASSERT_TRUE(CommentFile::write(file, 1, "uno", messages));
    EXPECT_EQ(slurp(comment), "second\r\n<P.1>\r\nuno\r\n");
}

TEST_F(Comments, MarkersCountOnlyAtLineStartsAndWithTheirBracket) {
    const std::string stored = "see <P.3> here\r\n<P.3 no bracket\r\n<P.x>\r\n<P.3>\r\nthree\r\n";
    store(comment, stored);
    bool markers = false;
    EXPECT_EQ(*CommentFile::read(file, 0, &markers), "see <P.3> here\r\n");
    EXPECT_TRUE(markers);
    EXPECT_EQ(*CommentFile::read(file, 3), "three\r\n");
    // Writing page 4 keeps every stray marker where it was.
    ASSERT_TRUE(CommentFile::write(file, 4, "four", messages));
    EXPECT_EQ(slurp(comment), stored + "<P.4>\r\nfour\r\n");
    // A marker at the very start leaves no file part.
    store(comment, "<P.1>\r\none\r\n");
    EXPECT_EQ(*CommentFile::read(file, 0), "");
}

TEST_F(Comments, TitlesKeepLeadingBlanksAndLoseTrailingOnes) {
    store(comment, "Title:   A Title  \r\nmore\r\n<P.2>\r\n" + sjis("タイトル：第二頁") + "\r\n");
    EXPECT_EQ(CommentFile::title(file, 0), "   A Title");
    EXPECT_EQ(CommentFile::title(file, 2), "第二頁");
    EXPECT_EQ(CommentFile::title(file, 3), "");
    EXPECT_EQ(CommentFile::title(dir + "/none.TIF", 0), "");
    ASSERT_TRUE(CommentFile::setTitle(file, 3, "三", messages));
    EXPECT_EQ(CommentFile::title(file, 3), "三");
    EXPECT_NE(slurp(comment).find(sjis("<P.3>\r\nタイトル：三\r\n")), std::string::npos);
}

TEST_F(Comments, BytesOutsideTheCodePageSurviveAnEditOfAnotherSection) {
    const std::string damaged = "\x81\xFF\xA0 odd\r\n<P.1>\r\n\xFD\xFE\r\n";
    store(comment, damaged);
    ASSERT_TRUE(CommentFile::write(file, 2, "two", messages));
    EXPECT_EQ(slurp(comment), damaged + "<P.2>\r\ntwo\r\n");
    EXPECT_FALSE(CommentFile::read(file, 1)->empty());  // shown with replacement characters
}

TEST_F(Comments, TextTheCodePageCannotHoldIsRefusedAndNothingChanges) {
    store(comment, "old\r\n");
    EXPECT_FALSE(CommentFile::write(file, 0, "emoji \xF0\x9F\x98\x80", messages));
    EXPECT_EQ(slurp(comment), "old\r\n");
    ASSERT_EQ(messages.said.size(), 1u);
    EXPECT_NE(messages.last().find(comment), std::string::npos);
}

TEST_F(Comments, ReadOnlyCommentsAndBooksAreNotWritten) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    store(comment, "kept\r\n");
    ::chmod(comment.c_str(), 0444);
    EXPECT_TRUE(CommentFile::isProtected(file));
    EXPECT_FALSE(CommentFile::write(file, 0, "new", messages));
    EXPECT_EQ(slurp(comment), "kept\r\n");
    EXPECT_FALSE(CommentFile::write(dir + "/X.lpb", 0, "new", messages));
    EXPECT_TRUE(CommentFile::isBook("/a/b.Lpb"));
    EXPECT_FALSE(CommentFile::isBook("/a/b.LPBX"));
    EXPECT_FALSE(CommentFile::isBook("/a/LPB"));
}

TEST_F(Comments, HugeLinesAreHandledWhole) {
    const std::string line(3'000'000, 'x');
    store(comment, line + "\r\n<P.2>\r\nTitle:t\r\n");
    EXPECT_EQ(CommentFile::read(file, 0)->size(), line.size() + 2);
    EXPECT_EQ(CommentFile::title(file, 2), "t");
}

TEST(CommentLists, KeywordsCollectPagesPerWordIgnoringCase) {
    const std::string comment = "<P.4>\r\nキーワード：A, B ,,a\r\n<P.5>\r\nKEYWORD: b\r\n";
    KeywordIndex index;
    index.addText(comment, 10, 6);
    ASSERT_EQ(index.rows().size(), 2u);
    EXPECT_EQ(index.rows()[0].keyword, "A");
    EXPECT_EQ(index.rows()[0].pages, (std::vector<int>{13, 13}));
    EXPECT_EQ(index.rows()[1].keyword, "B");
    EXPECT_EQ(index.rows()[1].pages, (std::vector<int>{13, 14}));
    EXPECT_EQ(index.findPrefix("b"), 1);
    EXPECT_EQ(index.findPrefix("z"), -1);
    for (int i = 0; i < 120; ++i) index.add("a", i);
    EXPECT_EQ(index.rows()[0].pages.size(), KeywordIndex::kMaxPagesPerRow);
}

TEST(CommentLists, ContentsFollowSectionsTitlesAndBlankLines) {
    const std::string comment =
        "目次：ignored, before any page\r\n"
        "<P.1>\r\nタイトル：Intro\r\n目次：\r\n"
        "<P.2>\r\nContents: Part A\r\nCONTENTS: Part B 目次：Teil B\r\nplain line\r\nContents: after end\r\n"
        "<P.3>\r\n目次：Three\r\n\r\n目次：after blank\r\n"
        "<P.9>\r\n目次：beyond the file\r\n";
    const auto rows = contentsEntriesOfText(comment, 20, 4);
    const std::vector<ContentsEntry> expected{{"Intro", 20}, {" Part A", 21}, {"Teil B", 21}, {"Three", 22}};
    EXPECT_EQ(rows, expected);
}

TEST(CommentLists, AOnePageFileWithoutMarkersIsPageOne) {
    const auto rows = contentsEntriesOfText("Title:T\r\nContents: Chapter\r\n", 7, 1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (ContentsEntry{" Chapter", 7}));  // leading blanks stay, as for titles
}

TEST(CommentLists, StandardItemsFollowTheFileKind) {
    EXPECT_EQ(withStandardItems("x", FileKind::Data), "x\r\nタイトル：\r\n目次：\r\nキーワード：\r\n");
    EXPECT_EQ(withStandardItems("Title: t\r\n", FileKind::Data), "Title: t\r\n目次：\r\nキーワード：\r\n");
    EXPECT_EQ(withStandardItems("", FileKind::Index), "書名：\r\n著者：\r\nキーワード：\r\n");
    EXPECT_EQ(withStandardItems("", FileKind::Book), "キーワード：\r\n");
    EXPECT_EQ(withStandardItems("キーワード：\r\n", FileKind::Program), "キーワード：\r\nプログラム名：\r\n作成者：\r\nキーワード：\r\n");
    EXPECT_EQ(withStandardItems("", FileKind::Other), "タイトル：\r\n作成者：\r\nキーワード：\r\n");
}

TEST(CommentLists, FileKindsByExtensionGroup) {
    EXPECT_EQ(fileKindOf("/x/a.mh2"), FileKind::Data);
    EXPECT_EQ(fileKindOf("/x/a.tiff"), FileKind::Data);
    EXPECT_EQ(fileKindOf("/x/a.TIFFX"), FileKind::Other);  // five characters
    EXPECT_EQ(fileKindOf("/x/a.Lpx"), FileKind::Index);
    EXPECT_EQ(fileKindOf("/x/a.LPB"), FileKind::Book);
    EXPECT_EQ(fileKindOf("/x/a.bat"), FileKind::Program);
    EXPECT_EQ(fileKindOf("/x/a.dll"), FileKind::System);
    EXPECT_EQ(fileKindOf("/x/a.lnk"), FileKind::Shortcut);
    EXPECT_EQ(fileKindOf("/x/a."), FileKind::Other);
    EXPECT_EQ(fileKindOf("/x.d/a"), FileKind::Other);
    EXPECT_EQ(fileKindOf("/x/a.jpg"), FileKind::Other);
}

}  // namespace
}  // namespace lumipage
