// The main window under the offscreen platform: the menu tree and its
// command ids, the start-up modes, enabling, counters, keys, painting and
// the page jump and page list dialogs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QUrl>
#include <QStatusBar>
#include <QTreeWidget>

#include "base/CommandIds.h"
#include "gui/CMainFrame.h"
#include "gui/dialogs/PageJumpDialog.h"
#include "gui/dialogs/PageListDialog.h"
#include "gui/PageWidget.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"
#include "view/CLP98View.h"
#include "view/PageNavigator.h"

namespace lumipage {
namespace {

using namespace command;

QStringList menuTitles(QMenuBar* bar) {
    QStringList titles;
    for (QAction* a : bar->actions())
        if (a->isVisible()) titles << a->text();
    return titles;
}

QMenu* menuNamed(QMenuBar* bar, const QString& title) {
    for (QAction* a : bar->actions())
        if (a->text() == title) return a->menu();
    return nullptr;
}

std::vector<int> idsIn(QMenu* menu) {
    std::vector<int> ids;
    for (QAction* a : menu->actions())
        if (!a->isSeparator() && !a->menu()) ids.push_back(a->data().toInt());
    return ids;
}

struct Frame : test::DocumentFixture, ::testing::Test {
    PageRaster small = test::makePage(test::Pattern::Text, 96, 40, 1);
    std::unique_ptr<CMainFrame> frame;

    void make() {
        frame = std::make_unique<CMainFrame>(settings, startup, table, doc);
        frame->resize(800, 600);
        frame->show();
        QApplication::processEvents();
    }
    void openNine() {
        table.append(writeMH("three.MH", {&small, &small, &small}, 0));
        table.append(writeFax("one.FAX", test::makePage(test::Pattern::Text, 1728, 2290, 2)));
        table.append(writeMH("five.MH", {&small, &small, &small, &small, &small}, 0));
        doc.goToPage(1);
        frame->showCurrentPage();
    }
    bool enabled(int id) const { return frame->menuAction(id)->isEnabled(); }
    QString text(int id) const { return frame->menuAction(id)->text(); }
};

TEST_F(Frame, MenuTreeCarriesTheCommandIds) {
    make();
    QMenuBar* bar = frame->menuBar();
    EXPECT_EQ(menuTitles(bar),
              (QStringList{"ﾌｧｲﾙ(&F)", "ｽｷｬﾝ(&S)", "ｺﾋﾟｰ(&C)", "印刷(&P)", "FAX(&X)", "表示(&V)", "頁(&G)", "回転(&R)",
                           "ﾍﾙﾌﾟ(&H)", "[目次]", "[索引]", "[現頁    /  ]", "[選択  ]"}));
    EXPECT_EQ(idsIn(menuNamed(bar, "頁(&G)")),
              (std::vector<int>{32772, 32771, 32807, 32808, 32773, 32774, 32844, 32845, 32834, 57642, 32840, 32841,
                                32865, 32864}));
    const std::vector<int> print = idsIn(menuNamed(bar, "印刷(&P)"));
    EXPECT_EQ(std::count(print.begin(), print.end(), kPrintDirect), 0) << "direct printing is taken out";
    EXPECT_EQ(std::count(print.begin(), print.end(), kPrintAll), 1);
    QMenu* rotate = menuNamed(bar, "回転(&R)");
    QMenu* angles = nullptr;
    for (QAction* a : rotate->actions())
        if (a->menu() && a->text() == "回転角度") angles = a->menu();
    ASSERT_NE(angles, nullptr);
    EXPECT_EQ(idsIn(angles), (std::vector<int>{32793, 32794, 32795, 32796}));
    QAction* next = frame->findChild<QAction*>("ID_32772");
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->text(), "次頁");
    EXPECT_EQ(frame->menuAction(kFitWholePage)->text(), "全体(&/)");
    EXPECT_TRUE(frame->menuAction(kFitPageWidth)->isCheckable());
    EXPECT_TRUE(frame->menuAction(kFitPageWidth)->isChecked());
    EXPECT_EQ(frame->windowTitle(), "Quor Lumipage");
    EXPECT_EQ(frame->statusPaneText(2), "Pixel:");
    frame->showCurrentPage();
    EXPECT_EQ(frame->statusPaneText(2), "Pixel: ");
    EXPECT_EQ(frame->statusPaneText(4), "Zoom: ");
}

TEST_F(Frame, StartupModesTakeOutMenusAndButtons) {
    startup.fileMenu = false;
    startup.scanning = false;
    startup.fax = false;
    make();
    const QStringList titles = menuTitles(frame->menuBar());
    EXPECT_EQ(titles.front(), "[閉じる]");
    for (const char* gone : {"ﾌｧｲﾙ(&F)", "ｽｷｬﾝ(&S)", "ｺﾋﾟｰ(&C)", "FAX(&X)"}) EXPECT_FALSE(titles.contains(gone)) << gone;
    EXPECT_EQ(frame->menuAction(kExit)->objectName(), "ID_57665");
    EXPECT_EQ(frame->menuAction(kOpen), nullptr);
    EXPECT_EQ(frame->menuAction(kFaxSend), nullptr);
    for (const int id : {kOpen, kEditComment, kScanNew, kCopyDirect, kFaxSend, kVoiceCall, kContents})
        EXPECT_FALSE(frame->toolButton(id)->isVisible()) << id;
    EXPECT_TRUE(frame->toolButton(kNextPage)->isVisible());
}

TEST_F(Frame, NoMenuBarInMenuModeZeroAndBarsFollowTheSwitches) {
    startup.menuMode = 0;
    startup.toolBar = false;
    startup.statusBar = false;
    startup.caption = "Fax inbox";
    make();
    EXPECT_FALSE(frame->menuBar()->isVisible());
    EXPECT_FALSE(frame->findChild<QWidget*>("128")->isVisible());
    EXPECT_FALSE(frame->statusBar()->isVisible());
    openNine();
    EXPECT_EQ(frame->windowTitle(), "Quor Lumipage Fax inbox");
}

TEST_F(Frame, EnablingAndCountersFollowPagesAndMarks) {
    make();
    for (const int id : {kNextPage, kPreviousPage, kJump, kBack, kPageCounter, kSelectionCounter, kZoomIn, kTurnLeft})
        EXPECT_FALSE(enabled(id)) << id;
    EXPECT_TRUE(enabled(kFitWholePage));
    EXPECT_TRUE(enabled(kOpen));
    for (const int id : {kPrintAll, kPrintSelected, kPreviewAll, kContents, kKeywordIndex, kBookInformation})
        EXPECT_FALSE(enabled(id)) << id;
    openNine();
    for (const int id : {kPrintAll, kPrintAllDialog, kPrintScreen, kPreviewAll, kContents, kKeywordIndex})
        EXPECT_TRUE(enabled(id)) << id;
    EXPECT_FALSE(enabled(kPrintSelected)) << "nothing selected";
    EXPECT_FALSE(enabled(kBookInformation)) << "no book and no index file";
    EXPECT_EQ(text(kPageCounter), "[現頁  1/9]");
    EXPECT_EQ(text(kSelectionCounter), "[選択 0]");
    EXPECT_TRUE(enabled(kNextPage));
    EXPECT_FALSE(enabled(kPreviousPage));
    EXPECT_TRUE(enabled(kJump));
    EXPECT_TRUE(enabled(kPageCounter));
    EXPECT_FALSE(enabled(kSelectionCounter));
    EXPECT_TRUE(frame->toolButton(kPrintAll)->isVisible());
    EXPECT_FALSE(frame->toolButton(kPrintSelected)->isVisible());

    frame->runCommand(kLastPage);
    frame->runCommand(kToggleSelection);
    EXPECT_EQ(text(kPageCounter), "[現頁 *9/9]");
    EXPECT_EQ(text(kSelectionCounter), "[選択 1]");
    EXPECT_TRUE(enabled(kBack));
    EXPECT_FALSE(enabled(kNextPage));
    EXPECT_TRUE(frame->menuAction(kToggleSelection)->isChecked());
    EXPECT_TRUE(enabled(kPrintSelected));
    EXPECT_TRUE(enabled(kPreviewSelected));
    EXPECT_FALSE(frame->toolButton(kPrintAll)->isVisible());
    EXPECT_TRUE(frame->toolButton(kPrintSelected)->isVisible());
    EXPECT_EQ(frame->windowTitle(), "Quor Lumipage [ five.MH(5/5) ] ");
    EXPECT_EQ(frame->statusPaneText(2), "Pixel: 96 x 40");
}

TEST_F(Frame, KeysMoveBetweenPagesAndZoom) {
    make();
    openNine();
    auto press = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(frame->pageWidget(), &event);
    };
    press(Qt::Key_PageDown);
    EXPECT_EQ(frame->navigator().currentPage(), 2);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(frame->navigator().currentPage(), 9);
    press(Qt::Key_Home);
    EXPECT_EQ(frame->navigator().currentPage(), 1);
    press(Qt::Key_PageDown);
    press(Qt::Key_PageDown);
    press(Qt::Key_PageDown);
    EXPECT_EQ(frame->navigator().currentPage(), 4);
    const int level = frame->view().level();
    press(Qt::Key_Minus, Qt::NoModifier, "-");
    EXPECT_EQ(frame->view().level(), level - 1);
    press(Qt::Key_Slash, Qt::NoModifier, "/");
    EXPECT_EQ(frame->view().fitMode(), CLP98View::kFitWholePage);
    press(Qt::Key_Return);
    EXPECT_EQ(frame->view().level(), 12);
    EXPECT_EQ(frame->statusPaneText(4), "Zoom: 1/1");
    press(Qt::Key_Return);
    EXPECT_EQ(frame->view().fitMode(), CLP98View::kFitWholePage);
}

TEST_F(Frame, PagePaintedWithWorkspaceAndShadowAround) {
    make();
    openNine();
    frame->runCommand(kFitWholePage);
    PageWidget* page = frame->pageWidget();
    const QImage shot = page->viewport()->grab().toImage();
    const QSize client = page->viewport()->size();
    const ViewPoint origin = frame->view().imageOrigin();
    const ViewSize size = frame->view().bitmapSize();
    ASSERT_GT(origin.x, 3) << "a page smaller than the window is centred";
    const Colour workspace = page->systemColour(ViewHost::SystemColour::AppWorkspace);
    EXPECT_EQ(shot.pixel(1, 1), qRgb(redOf(workspace), greenOf(workspace), blueOf(workspace)));
    EXPECT_EQ(shot.pixelColor(origin.x + size.cx + 1, origin.y + size.cy + 1), QColor(32, 32, 32)) << "shadow";
    const QImage bitmap = page->bitmapImage();
    for (int y = 0; y < size.cy; y += 7)
        for (int x = 0; x < size.cx; x += 5)
            ASSERT_EQ(shot.pixel(origin.x + x, origin.y + y), bitmap.pixel(x, y)) << x << "," << y;
    EXPECT_LT(origin.x + size.cx, client.width());
}

TEST_F(Frame, RequestsOfOtherCopiesReachTheWindow) {
    make();
    openNine();
    EXPECT_EQ(frame->request(4 | 12u << 16, {}), 0);
    EXPECT_EQ(frame->navigator().currentPage(), 9);
    EXPECT_EQ(text(kPageCounter), "[現頁  9/9]");
    const std::vector<uint8_t> noNul{'x', '.', 'M', 'H'};
    EXPECT_EQ(frame->request(3 | 0x10, noNul), 0);
    EXPECT_EQ(frame->request(4 | 2u << 16, {}), 1);
    EXPECT_EQ(text(kPageCounter), "[現頁  2/9]");

    // A size mode travels with a path request: the file it opens is shown at
    // that fit, and request 15 applies the kept mode again.
    const std::string extra = writeMH("extra.MH", {&small, &small}, 0);
    std::vector<uint8_t> path(extra.begin(), extra.end());
    path.push_back(0);
    EXPECT_EQ(frame->request(0x13 | 2u << 16, path), 1);
    EXPECT_EQ(frame->navigator().currentPage(), 11);
    EXPECT_EQ(frame->view().fitMode(), CLP98View::kFitWholePage);
    frame->runCommand(kFitPageWidth);
    EXPECT_EQ(frame->request(15, {}), 1);
    EXPECT_EQ(frame->view().fitMode(), CLP98View::kFitWholePage);

    // Settings of other copies take effect in the view at once.
    auto ints = [](std::initializer_list<int32_t> values) {
        std::vector<uint8_t> data;
        for (const int32_t v : values)
            for (int shift = 0; shift < 32; shift += 8) data.push_back(uint8_t(uint32_t(v) >> shift));
        return data;
    };
    EXPECT_EQ(frame->request(261, ints({2})), 1);
    EXPECT_FALSE(frame->view().centring());
    EXPECT_EQ(frame->request(256, ints({0x0000FF, 0, 100, 100, 0xFF0000, 0, 0, 1})), 1);
    const QImage shown = frame->pageWidget()->bitmapImage();
    ASSERT_FALSE(shown.isNull());
    QList<QRgb> table = shown.colorTable();
    EXPECT_TRUE(table.contains(qRgb(255, 0, 0))) << "the paper is red now";
    EXPECT_TRUE(table.contains(qRgb(0, 0, 255))) << "the ink is blue now";
}

TEST_F(Frame, DroppedFilesJoinThePageList) {
    make();
    const std::string first = writeMH("dropped.MH", {&small, &small}, 0);
    const std::string second = writeFax("dropped.FAX", test::makePage(test::Pattern::Text, 1728, 2290, 3));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(second)), QUrl::fromLocalFile(QString::fromStdString(first)),
                  QUrl("http://example.invalid/not-a-file.MH")});
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window: the application only delivers drops that a
    // drag across the screen started.
    static_cast<QObject*>(frame.get())->event(&drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(table.fileCount(), 2);
    EXPECT_EQ(doc.path(), second) << "the chosen files are sorted by path";
    EXPECT_EQ(text(kPageCounter), "[現頁  1/3]");
    EXPECT_TRUE(frame->view().pageShown());
}

TEST_F(Frame, PlacementIsFittedIntoTheScreenAndStoredAtClose) {
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    settings.windowPos = "0:1:-1:-1:-1:-1:10:20:" + std::to_string(work.right() + 500) + ":" +
                         std::to_string(work.top() + 200);
    make();
    frame->showPlaced();
    EXPECT_EQ(frame->geometry().left(), work.left());
    EXPECT_EQ(frame->geometry().right(), work.right());
    frame->setGeometry(30, 40, 300, 200);
    frame->close();
    EXPECT_EQ(settings.windowPos, "0:1:-1:-1:-1:-1:30:40:330:240");
}

TEST_F(Frame, ASizeOnTheCommandLineWinsOverTheStoredPlacement) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    settings.windowPos = "0:1:-1:-1:-1:-1:0:0:300:300";
    startup.windowWidth = 400;
    startup.windowHeight = 300;
    startup.noSave = true;
    make();
    frame->showPlaced();
    EXPECT_EQ(frame->geometry().size(), QSize(400, 300));
    EXPECT_EQ(frame->geometry().left(), (screen.width() - 400) / 2);
    frame->close();
    EXPECT_EQ(settings.windowPos, "0:1:-1:-1:-1:-1:0:0:300:300") << "nothing is stored with NS";
}

TEST(JumpDialog, RefusesPagesOutsideTheList) {
    PageJumpDialog dialog(9, 4);
    QStringList warnings;
    dialog.setRangeWarning([&](const QString& text) { warnings << text; });
    auto* edit = dialog.findChild<QLineEdit*>("1000");
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(dialog.findChild<QWidget*>("1001"), nullptr);
    EXPECT_EQ(dialog.objectName(), "131");
    EXPECT_EQ(dialog.windowTitle(), "ページジャンプ");
    EXPECT_EQ(edit->text(), "4");
    dialog.show();
    for (const char* bad : {"0", "10", "", "x3"}) {
        edit->setText(bad);
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible()) << bad;
        EXPECT_NE(dialog.result(), QDialog::Accepted) << bad;
    }
    EXPECT_EQ(warnings.size(), 4);
    EXPECT_EQ(warnings.front(), "1 から 9 までの整数を入力してください。");
    edit->setText("9");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.value(), 9);
}

TEST_F(Frame, PageListShowsRowsAndSpaceMarksAndMovesOn) {
    make();
    openNine();
    frame->runCommand(kNextPage);
    PageListDialog all(frame->navigator(), PageListDialog::Mode::AllPages, frame.get());
    EXPECT_EQ(all.windowTitle(), "全頁一覧");
    QTreeWidget* list = all.findChild<QTreeWidget*>("1161");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->topLevelItemCount(), 9);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(1));
    EXPECT_EQ(list->topLevelItem(3)->text(0), " 004\u3000\u3000one.FAX");
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(list, &space);
    EXPECT_EQ(table.counts().selected, 1);
    EXPECT_TRUE(table.word(2).has(PageWord::kSelected));
    EXPECT_EQ(frame->navigator().currentPage(), 3) << "Space moves on to the next row's page";
    EXPECT_EQ(frame->navigator().backTarget(), 2);

    PageListDialog selected(frame->navigator(), PageListDialog::Mode::SelectedPages, frame.get());
    EXPECT_EQ(selected.windowTitle(), "選択頁一覧");
    QTreeWidget* few = selected.findChild<QTreeWidget*>("1161");
    ASSERT_EQ(few->topLevelItemCount(), 1);
    few->setCurrentItem(few->topLevelItem(0));
    QApplication::sendEvent(few, &space);
    EXPECT_EQ(table.counts().selected, 0);
    EXPECT_EQ(few->topLevelItemCount(), 1) << "the row stays until the list is opened again";
    selected.accept();
    EXPECT_EQ(frame->navigator().currentPage(), 2);
}

}  // namespace
}  // namespace lumipage
