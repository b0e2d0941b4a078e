// The page view's keys in the real window: every key and character of the
// table reaches its command, the scrolling keys move the page, the start-up
// switches take keys away and Esc moves the pointer off the page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>

#include "base/CommandIds.h"
#include "gui/CMainFrame.h"
#include "gui/PageWidget.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"
#include "view/CLP98View.h"
#include "view/PageNavigator.h"

namespace lumipage {
namespace {

using namespace command;

struct KeyPress {
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

struct ViewKeys : test::DocumentFixture, ::testing::Test {
    std::unique_ptr<CMainFrame> frame;
    std::vector<int> commands;
    bool swallowCommands = true;

    void make() {
        frame = std::make_unique<CMainFrame>(settings, startup, table, doc);
        frame->resize(800, 600);
        frame->show();
        frame->setCommandFilter([this](int id) {
            commands.push_back(id);
            return swallowCommands;
        });
        table.append(writeFax("a.FAX", test::makePage(test::Pattern::Text, 1728, 2290, 2)));
        table.append(writeFax("b.FAX", test::makePage(test::Pattern::Noise, 1728, 2290, 3)));
        doc.goToPage(1);
        frame->showCurrentPage();
        QApplication::processEvents();
    }
    void press(const KeyPress& k) {
        QKeyEvent event(QEvent::KeyPress, k.key, k.modifiers, k.text);
        QApplication::sendEvent(frame->pageWidget(), &event);
    }
    // The commands one key press gave.
    std::vector<int> commandsOf(const KeyPress& k) {
        commands.clear();
        press(k);
        return commands;
    }
    ViewPoint scroll() const { return frame->view().scrollPosition(); }
    ViewPoint maxScroll() const { return frame->view().maxScroll(); }
};

constexpr auto None = Qt::NoModifier;
constexpr auto Shift = Qt::ShiftModifier;
constexpr auto Ctrl = Qt::ControlModifier;

TEST_F(ViewKeys, EveryKeyAndCharacterReachesItsCommand) {
    settings.enableEscKey = 1;
    make();
    const std::vector<std::pair<KeyPress, int>> table = {
        {{Qt::Key_PageUp, None, {}}, kPreviousPage},   {{Qt::Key_PageUp, Shift, {}}, kPreviousSelected},
        {{Qt::Key_PageUp, Ctrl, {}}, kFirstPage},       {{Qt::Key_PageDown, None, {}}, kNextPage},
        {{Qt::Key_PageDown, Shift, {}}, kNextSelected}, {{Qt::Key_PageDown, Ctrl, {}}, kLastPage},
        {{Qt::Key_Home, None, {}}, kFirstPage},         {{Qt::Key_End, None, {}}, kLastPage},
        {{Qt::Key_Escape, None, {}}, kExit},            {{Qt::Key_Insert, None, {}}, kEditComment},
        {{Qt::Key_Insert, Shift, {}}, kColourAdjustment},
        {{Qt::Key_F1, None, {}}, kOpen},                {{Qt::Key_F1, Shift, {}}, kConvertAll},
        {{Qt::Key_F2, None, {}}, kScanNew},             {{Qt::Key_F2, Shift, {}}, kRescan},
        {{Qt::Key_F3, None, {}}, kCopyDirect},          {{Qt::Key_F3, Shift, {}}, kCopyWithPrinterSetup},
        {{Qt::Key_F4, None, {}}, kFaxSend},             {{Qt::Key_F4, Shift, {}}, kPhoneBook},
        {{Qt::Key_F5, None, {}}, kVoiceCall},           {{Qt::Key_F6, None, {}}, kPrintAll},
        {{Qt::Key_F6, Shift, {}}, kPrintSelected},      {{Qt::Key_F6, Ctrl, {}}, kPrintScreen},
        {{Qt::Key_F7, None, {}}, kFitTwicePageWidth},   {{Qt::Key_F8, None, {}}, kFitPageWidth},
        {{Qt::Key_F9, None, {}}, kFitWholePage},        {{Qt::Key_F11, None, {}}, kContents},
        {{Qt::Key_F12, None, {}}, kKeywordIndex},       {{Qt::Key_P, Ctrl, {}}, kPrintAll},
        {{Qt::Key_Space, None, " "}, kZoomFrame},       {{Qt::Key_Space, Shift, " "}, kToggleSelection},
        {{Qt::Key_Asterisk, None, "*"}, kFitTwicePageWidth},
        {{Qt::Key_Plus, None, "+"}, kZoomIn},           {{Qt::Key_U, None, "u"}, kZoomIn},
        {{Qt::Key_Minus, None, "-"}, kZoomOut},         {{Qt::Key_Y, None, "y"}, kZoomOut},
        {{Qt::Key_Slash, None, "/"}, kFitWholePage},    {{Qt::Key_Equal, None, "="}, kFitPageWidth},
        {{Qt::Key_B, None, "b"}, kPreviousPage},        {{Qt::Key_B, Shift, "B"}, kPreviousSelected},
        {{Qt::Key_C, None, "c"}, kColourAdjustment},    {{Qt::Key_C, Shift, "C"}, kCloseCurrent},
        {{Qt::Key_G, None, "g"}, kPageCounter},         {{Qt::Key_H, None, "h"}, kFirstPage},
        {{Qt::Key_I, None, "i"}, kTurnHalf},            {{Qt::Key_J, None, "j"}, kJump},
        {{Qt::Key_K, None, "k"}, kBack},                {{Qt::Key_L, None, "l"}, kTurnLeft},
        {{Qt::Key_M, None, "m"}, kLastPage},            {{Qt::Key_N, None, "n"}, kNextPage},
        {{Qt::Key_N, Shift, "N"}, kNextSelected},       {{Qt::Key_O, None, "o"}, kOpen},
        {{Qt::Key_P, None, "p"}, kPrintAll},            {{Qt::Key_R, None, "r"}, kTurnRight},
        {{Qt::Key_V, None, "v"}, kFirstPage},
    };
    for (const auto& [key, id] : table)
        EXPECT_EQ(commandsOf(key), std::vector<int>{id}) << "key " << key.key << " modifiers " << int(key.modifiers);
    // Keys that only scroll give no command.
    for (const KeyPress& k : std::vector<KeyPress>{{Qt::Key_Left, None, {}}, {Qt::Key_A, None, "a"},
                                                   {Qt::Key_5, None, "5"}, {Qt::Key_W, None, "w"}})
        EXPECT_TRUE(commandsOf(k).empty()) << k.key;
}

TEST_F(ViewKeys, ScrollingKeysMoveThePageAtOneToOne) {
    swallowCommands = false;
    make();
    frame->view().toggleOneToOne();
    ASSERT_EQ(frame->view().level(), 12);
    const ViewPoint end = maxScroll();
    ASSERT_GT(end.x, 0);
    ASSERT_GT(end.y, 0);

    press({Qt::Key_Right, None, {}});
    EXPECT_GT(scroll().x, 0);
    press({Qt::Key_Right, Ctrl, {}});
    EXPECT_EQ(scroll().x, end.x);
    press({Qt::Key_A, None, "a"});
    EXPECT_EQ(scroll().x, 0);
    press({Qt::Key_Z, None, "z"});
    EXPECT_EQ(scroll().y, end.y);
    press({Qt::Key_W, None, "w"});
    EXPECT_EQ(scroll().y, 0);
    press({Qt::Key_5, None, "5"});
    EXPECT_NEAR(scroll().x, end.x / 2, 1);
    EXPECT_NEAR(scroll().y, end.y / 2, 1);
    press({Qt::Key_3, None, "3"});
    EXPECT_EQ(scroll().x, end.x);
    EXPECT_EQ(scroll().y, end.y);

    press({Qt::Key_End, None, {}});
    EXPECT_EQ(frame->navigator().currentPage(), 2);
    EXPECT_EQ(scroll().x, end.x);
    EXPECT_EQ(scroll().y, end.y);
    press({Qt::Key_Home, None, {}});
    EXPECT_EQ(frame->navigator().currentPage(), 1);
    EXPECT_EQ(scroll().x, 0);
    EXPECT_EQ(scroll().y, 0);

    // Books read from right to left start at the top-right corner and end at the bottom-left.
    settings.pageStartPosition = 3;
    press({Qt::Key_End, None, {}});
    EXPECT_EQ(frame->navigator().currentPage(), 2);
    EXPECT_EQ(scroll().x, 0);
    EXPECT_EQ(scroll().y, end.y);
    press({Qt::Key_Home, None, {}});
    EXPECT_EQ(frame->navigator().currentPage(), 1);
    EXPECT_EQ(scroll().x, end.x);
    EXPECT_EQ(scroll().y, 0);
}

TEST_F(ViewKeys, StartupSwitchesTakeAwayTheirKeys) {
    startup.fileMenu = false;
    startup.scanning = false;
    startup.fax = false;
    make();
    for (const KeyPress& k : std::vector<KeyPress>{{Qt::Key_F1, None, {}}, {Qt::Key_F1, Shift, {}},
                                                   {Qt::Key_O, None, "o"}, {Qt::Key_F2, None, {}},
                                                   {Qt::Key_F3, Shift, {}}, {Qt::Key_F4, None, {}},
                                                   {Qt::Key_F4, Shift, {}}})
        EXPECT_TRUE(commandsOf(k).empty()) << k.key << " " << int(k.modifiers);
    EXPECT_EQ(commandsOf({Qt::Key_F6, None, {}}), std::vector<int>{kPrintAll});
}

TEST_F(ViewKeys, EscapeParksThePointerAboveThePage) {
    make();
    QWidget* client = frame->pageWidget()->viewport();
    QCursor::setPos(client->mapToGlobal(QPoint(3, 200)));
    EXPECT_TRUE(commandsOf({Qt::Key_Escape, None, {}}).empty());
    EXPECT_EQ(client->mapFromGlobal(QCursor::pos()), QPoint(10, -10));
    QCursor::setPos(client->mapToGlobal(QPoint(300, 200)));
    press({Qt::Key_Escape, None, {}});
    EXPECT_EQ(client->mapFromGlobal(QCursor::pos()), QPoint(300, -10));
    press({Qt::Key_Escape, Shift, {}});
    EXPECT_EQ(client->mapFromGlobal(QCursor::pos()), QPoint(10, -10));
}

}  // namespace
}  // namespace lumipage
