// The dialogs built on comments, under an off-screen Qt: the table of
// contents and the keyword index lead to the right pages, the book
// information shows the book's comment and version, and the comment dialog
// edits, deletes and copies page comments on real files.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include "comments/CommentFile.h"
#include "document/BookInformation.h"
#include "document/BookWriter.h"
#include "gui/dialogs/BookInformationDialog.h"
#include "gui/dialogs/CommentDialog.h"
#include "gui/dialogs/ContentsDialog.h"
#include "gui/dialogs/KeywordIndexDialog.h"
#include "platform/TextCodec.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

std::string cp932(const std::string& utf8) { return *text::toCp932(utf8); }

QAbstractButton* buttonOf(QWidget* dialog, const char* id) { return dialog->findChild<QAbstractButton*>(id); }

struct Dialogs : test::DocumentFixture, ::testing::Test {
    std::vector<int> visited;
    auto recorder() {
        return [this](int page) { visited.push_back(page); };
    }
};

TEST_F(Dialogs, ContentsRowsGoToTheirPagesAndDoubleClickCloses) {
    // A three-page file at global pages 10..12: page 2 has a title and an empty contents item.
    writeText("a.MH.()", cp932("<P.1>\r\n目次：はじめに\r\n<P.2>\r\nタイトル：表\r\nContents:\r\n<P.3>\r\n目次：索引\r\n"));
    ContentsDialog dialog(contentsEntries(dir + "/a.MH", 10, 3), recorder());
    QTreeWidget* list = dialog.findChild<QTreeWidget*>("list");
    ASSERT_TRUE(list);
    EXPECT_EQ(dialog.objectName(), "161");
    EXPECT_EQ(list->headerItem()->text(0), "見出し");
    EXPECT_EQ(list->headerItem()->text(1), "頁");
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(1)->text(0), "表");  // the section's title stands in
    EXPECT_EQ(list->topLevelItem(1)->text(1), "11");

    dialog.show();
    const QRect row = list->visualItemRect(list->topLevelItem(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(visited, (std::vector<int>{12}));
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
    EXPECT_EQ(visited, (std::vector<int>{12, 10}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(Dialogs, KeywordIndexPagesColumnsHeadersAndSearch) {
    KeywordIndex index;
    // Page 4 of a file starting at global page 10: A twice and B on page 13.
    index.addText("<P.4>\r\nキーワード：A, B,,A\r\n", 10, 5);
    for (int p = 20; p < 27; ++p) index.add("Many", p);  // seven pages: more columns than five
    KeywordIndexDialog dialog(index, recorder());
    QTreeWidget* list = dialog.list();
    EXPECT_EQ(dialog.objectName(), "162");
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->columnCount(), 8);  // the keyword and seven page columns
    EXPECT_EQ(list->headerItem()->text(1), "頁1");
    EXPECT_EQ(list->headerItem()->text(7), "頁7");
    EXPECT_EQ(list->topLevelItem(0)->text(1), "13");
    EXPECT_EQ(list->topLevelItem(0)->text(2), "13");

    dialog.show();
    QLineEdit* search = dialog.findChild<QLineEdit*>("1242");
    ASSERT_TRUE(search);
    QTest::keyClicks(search, "m");
    ASSERT_EQ(list->currentItem(), list->topLevelItem(2));
    EXPECT_TRUE(list->currentItem()->isSelected());
    EXPECT_EQ(visited, (std::vector<int>{20}));
    // A page column's header goes to the chosen row's page in that column.
    emit list->header()->sectionClicked(4);
    EXPECT_EQ(visited.back(), 23);
    // The keyword column counts as page column 1.
    emit list->header()->sectionClicked(0);
    EXPECT_EQ(visited.back(), 20);
    QTest::keyClicks(search, "x");  // "mx" matches nothing: nothing chosen
    EXPECT_TRUE(list->selectedItems().isEmpty());
}

TEST_F(Dialogs, BookInformationShowsTheCommentAndFileVersion) {
    const PageRaster page = test::makePage(test::Pattern::Text, 400, 300, 1);
    const std::string book = dir + "/b.LPB";
    writeText("b.LPB.()", cp932("書名：試験の本\r\n"));
    BookWriter writer;
    ASSERT_TRUE(writer.begin(book, 1, 0));
    ASSERT_TRUE(writer.addPage(page, PageWord{}));
    ASSERT_TRUE(writer.end());
    ASSERT_TRUE(table.append(book));
    ASSERT_TRUE(doc.goToPage(1));
    ASSERT_TRUE(book_information::available(table, doc));
    BookInformationDialog dialog(book_information::text(table, doc));
    EXPECT_EQ(dialog.objectName(), "165");
    EXPECT_EQ(dialog.text()->toPlainText(), "書名：試験の本\nファイルバージョン：LumipageBook 2.1");

    // A page file without an index in use offers nothing.
    const PageRaster* pages[] = {&page};
    doc.closeAll();
    ASSERT_TRUE(table.append(writeMH("c.MH", {pages[0]})));
    ASSERT_TRUE(doc.goToPage(1));
    EXPECT_FALSE(book_information::available(table, doc));
}

// The window as the comment dialog sees it: a three-page file.
class FakeHost : public CommentHost {
public:
    std::string file;
    int page = 1;
    int pages = 3;
    std::vector<std::string> changed;
    std::optional<CommentTarget> commentTarget() const override {
        return CommentTarget{file, page, page == pages};
    }
    void goToNextPage() override { ++page; }
    void commentChanged(const std::string& f) override { changed.push_back(f); }
};

TEST_F(Dialogs, CommentDialogSavesDeletesAndCopiesToTheNextPage) {
    FakeHost host;
    host.file = dir + "/three.MH";
    writeText("three.MH", "x");
    CommentDialog dialog(host, messages);
    EXPECT_EQ(dialog.windowTitle(), "コメント(新規) three.MH");
    EXPECT_FALSE(buttonOf(&dialog, "1253")->isEnabled());  // nothing to save
    EXPECT_FALSE(buttonOf(&dialog, "1254")->isEnabled());  // no file to delete
    EXPECT_FALSE(buttonOf(&dialog, "1256")->isEnabled());  // nothing to copy

    dialog.edit()->setPlainText("タイトル：表紙");
    dialog.edit()->document()->setModified(true);
    EXPECT_TRUE(buttonOf(&dialog, "1253")->isEnabled());
    buttonOf(&dialog, "1253")->click();
    EXPECT_EQ(readText("three.MH.()"), cp932("<P.1>\r\nタイトル：表紙\r\n"));
    EXPECT_EQ(dialog.windowTitle(), "コメント three.MH");
    EXPECT_EQ(host.changed.size(), 1u);

    // Copy to the next page: page 2 has no comment, so it receives the text, unsaved.
    buttonOf(&dialog, "1256")->click();
    EXPECT_EQ(host.page, 2);
    EXPECT_EQ(dialog.edit()->toPlainText(), "タイトル：表紙");
    EXPECT_TRUE(dialog.modified());
    // Moving on saves it.
    host.page = 3;
    dialog.followPage();
    EXPECT_EQ(readText("three.MH.()"), cp932("<P.1>\r\nタイトル：表紙\r\n<P.2>\r\nタイトル：表紙\r\n"));
    EXPECT_FALSE(buttonOf(&dialog, "1256")->isEnabled());  // the last page

    // Deleting page 1's comment, answered Cancel then OK, leaves page 2's.
    host.page = 1;
    dialog.followPage();
    messages.answer = false;
    buttonOf(&dialog, "1254")->click();
    EXPECT_EQ(dialog.edit()->toPlainText(), "タイトル：表紙\n");
    messages.answer = true;
    buttonOf(&dialog, "1254")->click();
    EXPECT_EQ(messages.last(), "コメントを削除します");
    EXPECT_TRUE(dialog.edit()->toPlainText().isEmpty());
    EXPECT_EQ(readText("three.MH.()"), cp932("<P.2>\r\nタイトル：表紙\r\n"));

    // Standard items for a data file.
    buttonOf(&dialog, "1252")->click();
    EXPECT_EQ(dialog.edit()->toPlainText(), "タイトル：\n目次：\nキーワード：\n");
    EXPECT_TRUE(dialog.modified());
}

TEST_F(Dialogs, BookCommentsAreShownButNeverChanged) {
    const PageRaster page = test::makePage(test::Pattern::Text, 400, 300, 1);
    const std::string book = dir + "/p.LPB";
    writeText("p.LPB.()", cp932("タイトル：本\r\n"));
    BookWriter writer;
    ASSERT_TRUE(writer.begin(book, 1, 0) && writer.addPage(page, PageWord{}) && writer.end());
    FakeHost host;
    host.file = book;
    host.page = 0;
    host.pages = 1;
    CommentDialog dialog(host, messages);
    EXPECT_EQ(dialog.windowTitle(), "コメント(保護) p.LPB");
    EXPECT_EQ(dialog.edit()->toPlainText(), "タイトル：本\n");
    EXPECT_TRUE(dialog.edit()->isReadOnly());
    for (const char* id : {"1252", "1253", "1254", "1256"}) EXPECT_FALSE(buttonOf(&dialog, id)->isEnabled()) << id;
    EXPECT_FALSE(dialog.save());
}

}  // namespace
}  // namespace lumipage

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
