// What the main window remembers and offers over real files: the recent
// files in the file menu, where the dialogs and the tool bar stood, the fit
// a request of another copy asks for, and files dropped or chosen.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <filesystem>

#include "base/CommandIds.h"
#include "app/DialogPosition.h"
#include "app/RecentFileList.h"
#include "gui/CMainFrame.h"
#include "gui/dialogs/ColourDialog.h"
#include "gui/dialogs/CommentDialog.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"
#include "view/CLP98View.h"
#include "view/PageNavigator.h"

namespace lumipage {
namespace {

using namespace command;

struct RememberedWindow : test::DocumentFixture, ::testing::Test {
    PageRaster small = test::makePage(test::Pattern::Text, 96, 40, 1);
    PageRaster tall = test::makePage(test::Pattern::Text, 400, 2400, 3);
    std::unique_ptr<CMainFrame> frame;
    RecentFileList recent;

    void make() {
        frame = std::make_unique<CMainFrame>(settings, startup, table, doc);
        frame->setRecentFiles(&recent);
        frame->setGeometry(100, 80, 800, 600);
        frame->show();
        QApplication::processEvents();
    }
    QMenu* fileMenu() const {
        for (QAction* a : frame->menuBar()->actions())
            if (a->text() == "ﾌｧｲﾙ(&F)") return a->menu();
        return nullptr;
    }
    QStringList recentItems() const {
        QStringList items;
        for (QAction* a : fileMenu()->actions())
            if (a->objectName().startsWith("ID_5761") && a->isVisible()) items << a->text();
        return items;
    }
    void drop(const std::vector<std::string>& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const auto& p : paths) urls << QUrl::fromLocalFile(QString::fromStdString(p));
        data.setUrls(urls);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        static_cast<QObject*>(frame.get())->event(&event);  // as the window receives a drop
    }
};

TEST_F(RememberedWindow, ChoosingARecentFileOpensItAndAMissingOneLeavesTheList) {
    const std::string a = writeMH("a.MH", {&small, &small}, 0);
    const std::string b = writeMH("b.MH", {&small}, 0);
    recent.add(dir + "/gone.MH");
    recent.add(b);
    recent.add(a);
    make();
    EXPECT_EQ(recentItems(), (QStringList{QString::fromStdString("&1 " + a), QString::fromStdString("&2 " + b),
                                          QString::fromStdString("&3 " + dir + "/gone.MH")}));
    // The items stand above the items that end the program.
    const QList<QAction*> items = fileMenu()->actions();
    EXPECT_LT(items.indexOf(frame->findChild<QAction*>("ID_57618")), items.indexOf(frame->menuAction(kExit)));

    frame->findChild<QAction*>("ID_57617")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(doc.path(), b);
    EXPECT_EQ(frame->windowTitle(), "Quor Lumipage [ b.MH ] ");

    frame->findChild<QAction*>("ID_57618")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(messages.last(), dir + "/gone.MH" + "が見つかりません");
    EXPECT_EQ(recentItems().size(), 2);
    EXPECT_EQ(doc.path(), b) << "the page shown stays";
}

TEST_F(RememberedWindow, DroppingAnOpenFileAgainMakesItCurrentInsteadOfAddingIt) {
    make();
    const std::string a = writeMH("a.MH", {&small, &small}, 0);
    const std::string b = writeMH("b.MH", {&small}, 0);
    drop({a, b});
    EXPECT_EQ(table.fileCount(), 2);
    frame->navigator().goToPage(3);
    EXPECT_EQ(doc.path(), b);
    drop({a});
    EXPECT_EQ(table.fileCount(), 2);
    EXPECT_EQ(table.totalPages(), 3);
    EXPECT_EQ(frame->navigator().currentPage(), 1);
    EXPECT_EQ(frame->windowTitle(), "Quor Lumipage [ a.MH(1/2) ] ");
}

TEST_F(RememberedWindow, DroppingOrChoosingAPbmSaysItsTypeIsNotSupported) {
    make();
    writeText("page.pbm", "P1\n1 1\n1\n");
    drop({dir + "/page.pbm"});
    EXPECT_EQ(messages.last(), "このファイルタイプはサポートされていません");
    EXPECT_TRUE(table.empty());

    messages.said.clear();
    settings.openPath = dir;
    QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        dialog->selectFile(QString::fromStdString(dir + "/page.pbm"));
        static_cast<QDialog*>(dialog)->accept();
    });
    frame->runCommand(kOpen);
    EXPECT_EQ(messages.last(), "このファイルタイプはサポートされていません");
    EXPECT_TRUE(table.empty());
    // Where the open dialog stood is kept, closed.
    ASSERT_TRUE(settings.fileOpenDlg);
    EXPECT_FALSE(DialogPosition::parse(*settings.fileOpenDlg)->open);
}

TEST_F(RememberedWindow, ARequestWithWholePageSizeModeShowsTheFileWhole) {
    make();
    const std::string path = writeMH("tall.MH", {&tall}, 0);
    std::vector<uint8_t> data(path.begin(), path.end());
    data.push_back(0);
    EXPECT_EQ(frame->request(0x13, data), 1);  // open, size mode 1 (whole page)
    QApplication::processEvents();
    EXPECT_EQ(doc.path(), path);
    EXPECT_EQ(frame->view().level(), frame->view().FitLevel(CLP98View::kFitWholePage));
    EXPECT_TRUE(frame->menuAction(kFitWholePage)->isChecked());
    EXPECT_FALSE(frame->menuAction(kFitPageWidth)->isChecked());
}

TEST_F(RememberedWindow, ClosingWithTheCommentDialogOpenBringsItBackWhereItStood) {
    table.append(writeMH("one.MH", {&small}, 0));
    doc.goToPage(1);
    make();
    frame->showCurrentPage();
    frame->runCommand(kEditComment);
    auto* dialog = frame->findChild<CommentDialog*>("164");
    ASSERT_TRUE(dialog);
    dialog->move(300, 200);
    const QRect stood = dialog->frameGeometry();
    frame->close();
    ASSERT_TRUE(settings.commentDlg);
    auto entry = DialogPosition::parse(*settings.commentDlg);
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->open);
    EXPECT_EQ(entry->rect.left, stood.left());
    EXPECT_EQ(entry->rect.top, stood.top());

    // The next run reopens it there, with the pointer in it.
    settings.autoMousePos = 1;
    QCursor::setPos(0, 0);
    make();
    frame->runCommand(kEditComment);
    dialog = frame->findChild<CommentDialog*>("164");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->frameGeometry().topLeft(), stood.topLeft());
    EXPECT_EQ(QCursor::pos(), dialog->frameGeometry().center());
    // Closed by the user, it is not reopened.
    dialog->reject();
    frame->close();
    EXPECT_FALSE(DialogPosition::parse(*settings.commentDlg)->open);
}

TEST_F(RememberedWindow, ClosingWithTheColourDialogOpenKeepsItsOpenFlag) {
    table.append(writeMH("one.MH", {&small}, 0));
    doc.goToPage(1);
    make();
    frame->runCommand(kColourAdjustment);
    ASSERT_TRUE(frame->colourDialogOpen());
    // A colour being tried when the window is closed stays.
    frame->colourDialog()->findChild<QAbstractButton*>("1136")->click();  // pale blue paper
    const uint32_t tried = settings.paperColor;
    frame->close();
    // The desktop closes the window's dialogs with it, as X11 window managers do.
    frame->colourDialog()->close();
    frame.reset();  // the window and its dialogs go away as at the end of a run
    ASSERT_TRUE(settings.paperColorDlg);
    EXPECT_TRUE(DialogPosition::parse(*settings.paperColorDlg)->open);
    EXPECT_EQ(settings.paperColor, tried);
    EXPECT_EQ(settings.paperColorMode, 4);
}

TEST_F(RememberedWindow, TheToolBarComesBackOnTheSideItWasMovedTo) {
    make();
    auto* bar = frame->findChild<QToolBar*>("128");
    ASSERT_TRUE(bar);
    EXPECT_EQ(frame->toolBarArea(bar), Qt::TopToolBarArea);
    frame->addToolBar(Qt::LeftToolBarArea, bar);
    frame->close();
    ASSERT_TRUE(settings.toolBarState);
    make();
    bar = frame->findChild<QToolBar*>("128");
    EXPECT_EQ(frame->toolBarArea(bar), Qt::LeftToolBarArea);
}

}  // namespace
}  // namespace lumipage
