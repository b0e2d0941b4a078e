// The comment dialog as the main window runs it: the caption follows what
// the dialog writes, its buttons follow the edit, and where it stood and
// whether it was open come back at the next start.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

#include "base/CommandIds.h"
#include "app/DialogPosition.h"
#include "gui/CMainFrame.h"
#include "gui/dialogs/CommentDialog.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

struct CommentWindow : test::DocumentFixture, ::testing::Test {
    PageRaster small = test::makePage(test::Pattern::Text, 96, 40, 1);
    std::unique_ptr<CMainFrame> frame;

    void make() {
        frame = std::make_unique<CMainFrame>(settings, startup, table, doc);
        frame->setGeometry(100, 80, 800, 600);
        frame->show();
        table.append(writeMH("one.MH", {&small}, 0));
        doc.goToPage(1);
        frame->showCurrentPage();
        QApplication::processEvents();
    }
    CommentDialog* dialog() const { return frame->findChild<CommentDialog*>("164"); }
    QAbstractButton* button(const char* id) const { return dialog()->findChild<QAbstractButton*>(id); }
    void type(const QString& text) {
        auto* edit = dialog()->findChild<QPlainTextEdit*>("1255");
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(CommentWindow, SavingATitleShowsItInTheCaptionAndDeletingTakesItAway) {
    make();
    EXPECT_EQ(frame->windowTitle(), "Quor Lumipage [ one.MH ] ");
    frame->runCommand(command::kEditComment);
    ASSERT_TRUE(dialog());
    EXPECT_FALSE(button("1253")->isEnabled());
    type("Title:Cover");
    EXPECT_TRUE(button("1253")->isEnabled());
    button("1253")->click();
    EXPECT_EQ(readText("one.MH.()"), "Title:Cover\r\n");
    EXPECT_EQ(frame->windowTitle(), "Quor Lumipage [ one.MH Cover ] ");
    EXPECT_FALSE(button("1253")->isEnabled()) << "nothing left to save";
    EXPECT_TRUE(button("1254")->isEnabled());

    // The delete question carries the dialog's own caption.
    messages.answer = true;
    button("1254")->click();
    EXPECT_EQ(messages.last(), "コメントを削除します");
    ASSERT_FALSE(messages.captions.empty());
    EXPECT_EQ(messages.captions.back(), "コメント");
    EXPECT_FALSE(std::filesystem::exists(dir + "/one.MH.()"));
    EXPECT_EQ(frame->windowTitle(), "Quor Lumipage [ one.MH ] ");
    EXPECT_FALSE(button("1253")->isEnabled());
    EXPECT_FALSE(button("1254")->isEnabled());
}

}  // namespace
}  // namespace lumipage
