// The colour adjustment command in the main window: opening and closing the
// dialog, its check mark and position, and colours sent between two copies.
#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <thread>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>

#include "app/CLP98App.h"
#include "base/CommandIds.h"
#include "app/InstanceBroadcast.h"
#include "app/InstanceConnection.h"
#include "app/DialogPosition.h"
#include "gui/CMainFrame.h"
#include "gui/FrameRequestSide.h"
#include "gui/dialogs/ColourDialog.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"
#include "view/CLP98View.h"

namespace lumipage {
namespace {

using command::kColourAdjustment;

CDIB::RgbQuad quad(int r, int g, int b) { return CDIB::RgbQuad{uint8_t(b), uint8_t(g), uint8_t(r), 0}; }

std::vector<uint8_t> colourBlock(std::initializer_list<int32_t> values) {
    std::vector<uint8_t> data;
    for (const int32_t v : values)
        for (int shift = 0; shift < 32; shift += 8) data.push_back(uint8_t(uint32_t(v) >> shift));
    return data;
}

struct ColourCommand : test::DocumentFixture, ::testing::Test {
    PageRaster small = test::makePage(test::Pattern::Text, 96, 40, 1);
    std::unique_ptr<CMainFrame> frame;
    int broadcasts = 0;

    ColourCommand() {
        settings.paperColorMode = 2;
        settings.inkColorMode = 5;
        frame = std::make_unique<CMainFrame>(settings, startup, table, doc);
        frame->setColourBroadcaster([this] { ++broadcasts; });
        frame->setGeometry(100, 80, 800, 600);
        frame->show();
        table.append(writeMH("three.MH", {&small, &small, &small}, 0));
        doc.goToPage(1);
        frame->showCurrentPage();
        QApplication::processEvents();
    }
    ColourDialog* dialog() const { return frame->colourDialog(); }
    QAbstractButton* button(int id) const { return dialog()->findChild<QAbstractButton*>(QString::number(id)); }
    CDIB::RgbQuad shownPaper() const { return frame->view().bitmap().palette()[0]; }
    QAction* item() const { return frame->menuAction(kColourAdjustment); }
};

// "ｼｽﾃﾑｶﾗｰに設定" hands the page's colours to the program's palette, where
// paper and ink mode 1 find them, and "戻す" gives the old ones back.
TEST_F(ColourCommand, SystemColoursTakeThePageColoursAndComeBack) {
    const QPalette before = QApplication::palette();
    frame->runCommand(kColourAdjustment);
    button(1135)->click();  // light yellow paper
    button(1151)->click();  // blue ink
    EXPECT_FALSE(button(1333)->isVisible());
    button(1332)->click();
    EXPECT_EQ(QApplication::palette().color(QPalette::Base), QColor(253, 235, 204));
    EXPECT_EQ(QApplication::palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_TRUE(button(1333)->isVisible());

    button(1133)->click();  // paper: the desktop's colour, which is now the yellow
    EXPECT_EQ(shownPaper(), quad(253, 235, 204));
    button(1333)->click();
    EXPECT_EQ(QApplication::palette().color(QPalette::Base), before.color(QPalette::Base));
    EXPECT_EQ(QApplication::palette().color(QPalette::Text), before.color(QPalette::Text));
    EXPECT_FALSE(button(1333)->isVisible());
    frame->runCommand(kColourAdjustment);
    QApplication::setPalette(before);
}

TEST_F(ColourCommand, TogglesTheDialogAndKeepsItsPosition) {
    ASSERT_TRUE(item()->isEnabled());
    EXPECT_FALSE(item()->isChecked());
    ASSERT_TRUE(frame->runCommand(kColourAdjustment));
    ASSERT_TRUE(dialog() && dialog()->isVisible());
    EXPECT_TRUE(item()->isChecked());
    const QPoint middle = dialog()->frameGeometry().center() - frame->frameGeometry().center();
    EXPECT_LE(middle.manhattanLength(), 6) << "first opened in the middle of the window";

    button(1169)->click();  // grey paper
    EXPECT_EQ(shownPaper(), quad(96, 96, 96));
    EXPECT_EQ(broadcasts, 1);

    dialog()->move(40, 30);
    const QRect placed = dialog()->frameGeometry();
    frame->runCommand(kColourAdjustment);
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_FALSE(item()->isChecked());
    EXPECT_EQ(settings.paperColorMode, 6) << "closing by the command keeps the colours";
    ASSERT_TRUE(settings.paperColorDlg);
    const auto stored = DialogPosition::parse(*settings.paperColorDlg);
    ASSERT_TRUE(stored);
    EXPECT_FALSE(stored->open);
    EXPECT_EQ(stored->rect, (ViewRect{placed.left(), placed.top(), placed.right() + 1, placed.bottom() + 1}));

    frame->runCommand(kColourAdjustment);
    EXPECT_EQ(dialog()->frameGeometry().topLeft(), placed.topLeft()) << "opened where it was left";
    // Without SaveDialogPos only Shift+Insert keeps the position.
    settings.saveDialogPos = 0;
    dialog()->move(60, 50);
    button(1)->click();
    EXPECT_EQ(DialogPosition::parse(*settings.paperColorDlg)->rect.left, placed.left());
    frame->runCommand(kColourAdjustment);
    dialog()->move(60, 50);
    dialog()->acceptAndRememberPosition();  // Shift+Insert
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_EQ(DialogPosition::parse(*settings.paperColorDlg)->rect.left, dialog()->frameGeometry().left());
}

TEST_F(ColourCommand, ClosingTheWindowNotesTheOpenDialog) {
    frame->runCommand(kColourAdjustment);
    frame->close();
    ASSERT_TRUE(settings.paperColorDlg);
    EXPECT_TRUE(DialogPosition::parse(*settings.paperColorDlg)->open);
}

TEST_F(ColourCommand, PageKeysInTheDialogTurnThePages) {
    frame->runCommand(kColourAdjustment);
    QWidget* slider = dialog()->findChild<QWidget*>("1323");
    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(slider, &pageDown);
    EXPECT_EQ(table.currentPage(), 2);
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(slider, &end);
    EXPECT_EQ(table.currentPage(), 3);
    EXPECT_EQ(settings.contrast, 100);
}

TEST_F(ColourCommand, ColoursFromAnotherCopyAreShownUnlessTheDialogIsOpen) {
    // Straight into the window, as the request arrives.
    const auto blue = colourBlock({int32_t(rgb(10, 20, 30)), 0, 100, 100, 0, 7, 0, 1});
    frame->runCommand(kColourAdjustment);
    EXPECT_EQ(frame->request(256, blue), 0);
    EXPECT_EQ(shownPaper(), quad(255, 255, 255));
    frame->runCommand(kColourAdjustment);
    EXPECT_EQ(frame->request(256, blue), 1);
    EXPECT_EQ(shownPaper(), quad(10, 20, 30));
    EXPECT_EQ(frame->request(256, std::vector<uint8_t>(blue.begin(), blue.end() - 1)), 0);

    // Over the sockets of two copies: the sender on a thread, this window serving.
    AppFolders folders;
    folders.currentFolder = dir;
    CLP98App sender(folders, messages);
    InstanceRequestFrame& link = frame->requestSide();
    InstanceConnection one(sender, link, dir + "/copies", "one.sock");  // nobody asks it anything
    ASSERT_TRUE(one.listen());
    InstanceRequestHandler handler(doc, settings, link);
    InstanceRequestServer server(dir + "/copies", "two.sock");
    ASSERT_TRUE(server.listen());
    const auto send = [&](int contrast) {
        sender.settings().paperColorMode = 3;
        sender.settings().contrast = contrast;
        std::atomic<bool> done = false;
        int reached = 0;
        std::thread other([&] {
            reached = one.broadcastColours();
            done = true;
        });
        while (!done) {
            pollfd p{server.fd(), POLLIN, 0};
            ::poll(&p, 1, 20);
            server.handlePending(handler);
        }
        other.join();
        return reached;
    };
    frame->runCommand(kColourAdjustment);
    EXPECT_EQ(send(130), 1);
    EXPECT_EQ(shownPaper(), quad(10, 20, 30)) << "kept while its own dialog is open";
    EXPECT_EQ(settings.contrast, 100);
    frame->runCommand(kColourAdjustment);
    EXPECT_EQ(send(130), 1);
    EXPECT_EQ(shownPaper(), quad(253, 235, 204));
    EXPECT_EQ(settings.contrast, 130);
}

}  // namespace
}  // namespace lumipage
