// The options command from the window: always offered, the dialog's OK and
// Cancel, the pointer brought to the window, and an open comment dialog
// shown again after OK without losing a comment being typed.
#include <gtest/gtest.h>

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QPointer>
#include <QTimer>

#include "base/CommandIds.h"
#include "base/Settings.h"
#include "gui/CMainFrame.h"
#include "gui/PageWidget.h"
#include "gui/dialogs/CommentDialog.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using namespace command;

QAbstractButton* button(QWidget* w, int id) { return w->findChild<QAbstractButton*>(QString::number(id)); }

CommentDialog* shownCommentDialog(QWidget* frame) {
    for (CommentDialog* d : frame->findChildren<CommentDialog*>())
        if (d->isVisible()) return d;
    return nullptr;
}

struct Options : test::DocumentFixture, ::testing::Test {
    PageRaster small = test::makePage(test::Pattern::Text, 96, 40, 1);
    std::unique_ptr<CMainFrame> frame;
    QString seen;  // the object name of the modal dialog the command opened

    void make() {
        frame = std::make_unique<CMainFrame>(settings, startup, table, doc);
        frame->resize(800, 600);
        frame->show();
        QApplication::processEvents();
    }
    // Runs the options command; `answer` plays the user in its dialog. Any
    // other modal dialog is turned away so the test cannot hang on it.
    void runOptions(const std::function<void(QDialog*)>& answer) {
        seen.clear();
        QTimer::singleShot(0, frame.get(), [this, answer] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            seen = dialog->objectName();
            if (seen == "149") answer(dialog);
            else dialog->reject();
        });
        frame->runCommand(kOptions);
    }
};

TEST_F(Options, CommandOpensTheDialogAndOkStores) {
    settings.autoMousePos = 1;
    make();
    ASSERT_TRUE(frame->menuAction(kOptions));
    EXPECT_TRUE(frame->menuAction(kOptions)->isEnabled()) << "offered with nothing open";
    const QPoint centre = frame->pageWidget()->mapToGlobal(frame->pageWidget()->rect().center());
    QPoint pointer;
    runOptions([&](QDialog* dialog) {
        pointer = QCursor::pos();
        button(dialog, 1163)->click();
        button(dialog, 1148)->click();
        button(dialog, 1)->click();
    });
    EXPECT_EQ(seen, "149");
    EXPECT_EQ(pointer, centre) << "the pointer was brought to the window before the dialog opened";
    EXPECT_EQ(settings.pageStartPosition, 2);
    EXPECT_EQ(settings.windowSize, "2:-1:-1");

    runOptions([](QDialog* dialog) {
        button(dialog, 1165)->click();
        button(dialog, 2)->click();
    });
    EXPECT_EQ(seen, "149");
    EXPECT_EQ(settings.pageStartPosition, 2) << "Cancel keeps what was there";
}

TEST_F(Options, OpenCommentDialogIsShownAgainKeepingItsText) {
    make();
    table.append(writeMH("a.MH", {&small}, 0));
    doc.goToPage(1);
    frame->showCurrentPage();
    frame->runCommand(kEditComment);
    QPointer<CommentDialog> first = shownCommentDialog(frame.get());
    ASSERT_TRUE(first);
    first->move(first->pos() + QPoint(30, 20));
    const QPoint placed = first->pos();
    first->edit()->setPlainText("typed, not saved");
    first->edit()->document()->setModified(true);

    runOptions([](QDialog* dialog) { button(dialog, 1)->click(); });
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first) << "the old dialog is gone";
    CommentDialog* again = shownCommentDialog(frame.get());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->pos(), placed);
    EXPECT_EQ(again->edit()->toPlainText().trimmed(), "typed, not saved") << "written before the dialog closed";
    EXPECT_FALSE(again->modified());

    // With the plain form chosen the dialog stays as it is.
    runOptions([](QDialog* dialog) {
        button(dialog, 1486)->click();
        button(dialog, 1)->click();
    });
    EXPECT_EQ(settings.useCommentExDlg, 0);
    EXPECT_EQ(shownCommentDialog(frame.get()), again);
}

}  // namespace
}  // namespace lumipage
