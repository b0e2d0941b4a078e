// Index files: reading paths and items, nesting, versions, writing,
// the save prompt and the save command's menu state.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/TextCodec.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

struct Index : test::DocumentFixture, ::testing::Test {
    PageRaster small = test::makePage(test::Pattern::Text, 64, 32, 1);
    PageRaster fax = test::makePage(test::Pattern::Text, 1728, 2290, 2);

    Index() {
        startup.menuMode = 0;
        settings.addPageToIndex = 1;
        settings.addTitleToIndex = 0;
    }
    std::string sjis(std::string_view utf8) { return *text::toCp932(utf8); }
};

TEST_F(Index, RelativePathsPageItemsAndForeignSeparators) {
    writeMH("three.MH", {&small, &small, &small});
    writeMH("sub/two.BW", {&small, &small}, 0);
    writeMH("sub/deeper/one.MH", {&small});
    writeText("list.LPX",
              "<LumipageIndex 2.1>\r\n"
              "PageStartPosition:3\r\n"
              "<DataFiles>\r\n"
              "  three.MH  <Page:7>  <Title:x>\r\n"     // the page item is believed, not counted
              "sub/two.BW\r\n"                           // counted from its own header
              "sub\\deeper\\one.MH   \r\n"               // written on a machine with "\" separators
              "C:\\elsewhere\\gone.MH\r\n"               // another machine's drive: missing, skipped
              "missing.MH  <Page:2>\r\n"                 // missing but with a page item: kept
              "notes.txt\r\n"
              "garbage line without extension\r\n"
              "<Unknown>\r\nignored.MH <Page:4>\r\n"
              "<SelectedPage>\r\n1,3,x,99,0,12\r\n"
              "<CurrentPage>\r\n8\r\n");
    ASSERT_TRUE(doc.openPath(dir + "/list.LPX")) << messages.last();
    ASSERT_EQ(table.fileCount(), 4);
    EXPECT_EQ(table.entry(1).path, dir + "/three.MH");
    EXPECT_EQ(table.entry(1).pages, 7);
    EXPECT_EQ(table.entry(2).path, dir + "/sub/two.BW");
    EXPECT_EQ(table.entry(2).pages, 2);
    EXPECT_EQ(table.entry(3).path, dir + "/sub/deeper/one.MH");
    EXPECT_EQ(table.entry(4).path, dir + "/missing.MH");
    EXPECT_EQ(table.totalPages(), 12);
    EXPECT_EQ(table.counts().selected, 3);
    EXPECT_EQ(table.nthSelected(3), 12);
    EXPECT_EQ(table.currentPage(), 8);
    EXPECT_EQ(settings.pageStartPosition, 3);
    EXPECT_FALSE(table.listChanged());
    EXPECT_FALSE(table.selectionChanged());
    EXPECT_TRUE(table.index().inUse);
    EXPECT_EQ(doc.caption(), "(8/12) [ list.LPX - two.BW(1/2) ] ");
    EXPECT_EQ(observer.recentAdded, std::vector<std::string>{dir + "/list.LPX"});
}

TEST_F(Index, WritingKeepsRelativePathsAndTenSelectedPagesPerLine) {
    std::vector<const PageRaster*> twelve(12, &small);
    writeMH("pages.MH", twelve);
    writeMH("sub/one.MH", {&small});
    ASSERT_TRUE(table.append(dir + "/pages.MH"));
    ASSERT_TRUE(table.append(dir + "/sub/one.MH"));
    for (int p = 1; p <= 12; ++p) table.select(p, true);
    table.moveTo(13);
    settings.pageStartPosition = 2;
    ASSERT_TRUE(doc.index().write(dir + "/out.lpx", std::string("名前"), true));
    EXPECT_EQ(readText("out.lpx"), sjis("<LumipageIndex 2.1>\r\n"
                                        "FileName:名前\r\n"
                                        "PageStartPosition:2\r\n"
                                        "<DataFiles>\r\n"
                                        "pages.MH  <Page:12>\r\n"
                                        "sub/one.MH  <Page:1>\r\n"
                                        "<SelectedPage>\r\n"
                                        "1,2,3,4,5,6,7,8,9,10\r\n"
                                        "11,12\r\n"
                                        "<CurrentPage>\r\n"
                                        "13\r\n"));
    EXPECT_FALSE(table.selectionChanged());
    // Outside the index's folder a path stays whole.
    ASSERT_TRUE(doc.index().write(dir + "/sub/inner.LPX", std::nullopt, false));
    EXPECT_NE(readText("sub/inner.LPX").find("\r\n" + dir + "/pages.MH  <Page:12>\r\n"), std::string::npos);
    EXPECT_NE(readText("sub/inner.LPX").find("\r\none.MH  <Page:1>\r\n"), std::string::npos);
}

TEST_F(Index, TitlesAreWrittenWhenAsked) {
    writeMH("one.MH", {&small});
    writeText("one.MH.()", sjis("タイトル：表紙  \r\n"));
    ASSERT_TRUE(table.append(dir + "/one.MH"));
    settings.addPageToIndex = 0;
    settings.addTitleToIndex = 1;
    ASSERT_TRUE(doc.index().write(dir + "/t.LPX", std::nullopt, false));
    EXPECT_NE(readText("t.LPX").find(sjis("\r\none.MH  <Title:表紙>\r\n")), std::string::npos);
}

TEST_F(Index, VersionsAreComparedAsText) {
    writeMH("one.MH", {&small});
    writeText("new.LPX", "<LumipageIndex 2.10>\r\n<DataFiles>\r\none.MH\r\n");
    writeText("old.LPX", "<LumipageIndex 2.0>\r\n<DataFiles>\r\none.MH\r\n");
    writeText("foreign.LPX", "<OtherIndex 2.1>\r\n<DataFiles>\r\none.MH\r\n");
    EXPECT_FALSE(doc.openPath(dir + "/new.LPX"));
    EXPECT_EQ(messages.last(), "このｲﾝﾃﾞｯｸｽﾌｧｲﾙを開くためは、\n新しいﾊﾞｰｼﾞｮﾝのｿﾌﾄｳｪｱが必要です");
    EXPECT_FALSE(table.index().inUse);
    EXPECT_TRUE(table.empty());
    EXPECT_FALSE(doc.openPath(dir + "/foreign.LPX"));
    EXPECT_FALSE(table.index().inUse);
    EXPECT_TRUE(doc.openPath(dir + "/old.LPX"));
    EXPECT_EQ(table.fileCount(), 1);
}

TEST_F(Index, ListedIndexesMergeTheirFilesOnlyAndCyclesEnd) {
    writeMH("a.MH", {&small});
    writeMH("b.MH", {&small, &small});
    writeText("inner/child.LPX",
              "<LumipageIndex 2.1>\r\nFileName:child\r\nPageStartPosition:3\r\n<DataFiles>\r\n"
              "../b.MH\r\n../outer.LPX\r\nchild.LPX\r\n<SelectedPage>\r\n1,2\r\n<CurrentPage>\r\n2\r\n");
    writeText("outer.LPX",
              "<LumipageIndex 2.1>\r\nFileName:outer\r\n<DataFiles>\r\na.MH\r\ninner/child.LPX\r\nouter.LPX\r\n");
    settings.pageStartPosition = 1;
    ASSERT_TRUE(doc.openPath(dir + "/outer.LPX"));
    ASSERT_EQ(table.fileCount(), 2);  // a.MH, then child's b.MH; the cycle back to outer is not followed
    EXPECT_EQ(table.entry(2).path, dir + "/b.MH");
    EXPECT_EQ(table.counts().selected, 0);
    EXPECT_EQ(table.currentPage(), 1);
    EXPECT_EQ(settings.pageStartPosition, 1);
    EXPECT_EQ(table.index().displayName, "outer");
}

TEST_F(Index, SavePromptAsksOnlyWhenSomethingChanged) {
    writeMH("a.MH", {&small});
    writeMH("b.MH", {&small});
    writeText("s.LPX", "<LumipageIndex 2.1>\r\n<DataFiles>\r\na.MH\r\n");
    ASSERT_TRUE(doc.openPath(dir + "/s.LPX"));
    EXPECT_EQ(doc.index().saveCommandText(), "ｲﾝﾃﾞｯｸｽﾌｧｲﾙ保存...");
    messages.said.clear();
    doc.index().savePrompt();
    EXPECT_TRUE(messages.said.empty());

    table.select(1, true);
    EXPECT_EQ(doc.index().saveCommandText(), "ｲﾝﾃﾞｯｸｽﾌｧｲﾙ保存(変更有)...");
    messages.answer = false;
    doc.index().savePrompt();
    EXPECT_EQ(messages.last(), dir + "/s.LPX\n選択状態が変更されています、保存しますか");

    ASSERT_TRUE(doc.openPath(dir + "/b.MH"));
    messages.answer = true;
    doc.closeAll();  // asks first, and saves
    EXPECT_EQ(messages.last(), dir + "/s.LPX\nｲﾝﾃﾞｯｸｽが変更されています、保存しますか");
    EXPECT_NE(readText("s.LPX").find("b.MH"), std::string::npos);
    EXPECT_FALSE(table.index().inUse);
    EXPECT_EQ(doc.index().saveCommandText(), "ｲﾝﾃﾞｯｸｽﾌｧｲﾙ作成...");
    EXPECT_FALSE(doc.index().saveCommandEnabled());

    startup.noSave = true;
    ASSERT_TRUE(doc.openPath(dir + "/s.LPX"));
    table.select(1, true);
    messages.said.clear();
    doc.index().savePrompt();
    EXPECT_TRUE(messages.said.empty());
}

TEST_F(Index, TheViewStateFileIsWriteProtectedAndNotARecentFile) {
    writeMH("a.MH", {&small});
    writeText("LpSave.LPX", "<LumipageIndex 2.1>\r\nFileName:\r\n<DataFiles>\r\na.MH\r\n");
    ASSERT_TRUE(doc.openPath(dir + "/LpSave.LPX"));
    EXPECT_TRUE(observer.recentAdded.empty());
    EXPECT_EQ(observer.recentRemoved, std::vector<std::string>{dir + "/a.MH"});
    EXPECT_EQ(doc.index().saveCommandText(), "ｲﾝﾃﾞｯｸｽﾌｧｲﾙ保存(保護)");
    EXPECT_FALSE(doc.index().saveCommandEnabled());
}

TEST_F(Index, SaveAsMakesTheIndexInUse) {
    writeMH("first.MH", {&small});
    ASSERT_TRUE(doc.openPath(dir + "/first.MH"));
    EXPECT_EQ(doc.index().suggestedName(), dir + "/first.LPX");
    EXPECT_TRUE(doc.index().saveCommandEnabled());
    EXPECT_FALSE(doc.index().saveAs(dir + "/first.TXT"));
    EXPECT_EQ(messages.last(), "ファイル名（拡張子）が不正です");
    ASSERT_TRUE(doc.index().saveAs(dir + "/first.LPX"));
    EXPECT_TRUE(table.index().inUse);
    EXPECT_EQ(settings.savePath, dir);
    EXPECT_EQ(doc.caption(), " [ first.LPX - first.MH ] ");
}

TEST_F(Index, AFailedWriteLeavesTheOldIndexIntact) {
    writeMH("a.MH", {&small});
    writeText("keep.LPX", "<LumipageIndex 2.1>\r\n<DataFiles>\r\na.MH\r\n");
    const std::string before = readText("keep.LPX");
    // A name with a character code page 932 has no form for.
    const std::string odd = writeMH("snow\xE2\x98\x83.MH", {&small});
    ASSERT_TRUE(doc.openPath(dir + "/keep.LPX"));
    ASSERT_TRUE(table.append(odd));
    EXPECT_FALSE(doc.index().write(dir + "/keep.LPX", std::nullopt, false));
    EXPECT_EQ(messages.last(), dir + "/keep.LPX\nシフトJISで表せない文字が含まれているため保存できません");
    EXPECT_EQ(readText("keep.LPX"), before);
    EXPECT_TRUE(table.listChanged());
}

}  // namespace
}  // namespace lumipage
