// Whole fax sends started from the window's commands against the simulated
// modem, the dialogs answered as a user would: the pages arrive and are
// marked, the window is disabled during the call and comes back as it was,
// redial waits end on "呼出", cancel and the retry dialog work.
#include <gtest/gtest.h>

#include <fstream>

#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "base/CommandIds.h"
#include "document/PageWord.h"
#include "fax/CLP98FAX.h"
#include "fax/FaxTexts.h"
#include "gui/CMainFrame.h"
#include "gui/FaxProgressWindow.h"
#include "gui/dialogs/FaxSendDialog.h"
#include "support/DocumentFixture.h"
#include "support/ModemFixture.h"
#include "support/ReceivedFax.h"
#include "support/TestImages.h"
#include "view/PageNavigator.h"

namespace lumipage {
namespace {

using namespace command;

FaxProgressWindow* progressOf(CMainFrame& frame) {
    return dynamic_cast<FaxProgressWindow*>(frame.findChild<QDialog*>("137"));
}

// What a user would do in the dialogs, and what the progress window showed.
struct User {
    QString number = "03-1234-5678";
    int pickRow = -1;     // a phone book row to pick instead of typing
    int port = -1;        // a port to choose (0 for COM1), and the device to type for it
    QString device;
    QString deviceShownFirst;
    bool retry = false;   // the retry dialog's answer
    bool dialNow = false;  // press "呼出" once the countdown shows
    bool cancelInWait = false;
    bool cancelInPage = false;  // press キャンセル while a page's rows are being sent
    bool closeInPage = false;   // close the main window while a page's rows are being sent
    bool stillShownAfterClose = false;
    int sendDialogs = 0;
    QStringList retryReasons, steps, pickLines;
    int firstSeconds = -1, lastSeconds = -1;
    bool mainDisabledDuringCall = false;
    bool progressSeen = false;

    // Answers whichever modal dialog is open, and watches the progress window.
    void watch(CMainFrame& frame) {
        auto* timer = new QTimer(&frame);
        QObject::connect(timer, &QTimer::timeout, [this, &frame, timer] {
            if (!frame.isVisible()) timer->stop();
            answer();
            observe(frame);
        });
        timer->start(5);
    }

    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        if (auto* send = dynamic_cast<FaxSendDialog*>(modal)) {
            if (send->property("answered").toBool()) return;
            send->setProperty("answered", true);
            if (++sendDialogs > 1) {
                send->reject();
                return;
            }
            auto* list = send->findChild<QListWidget*>("1027");
            for (int i = 0; i < list->count(); ++i) pickLines << list->item(i)->text();
            if (pickRow >= 0) list->setCurrentRow(pickRow);
            else send->findChild<QLineEdit*>("1032")->setText(number);
            auto* device = send->findChild<QComboBox*>("ComDevice");
            deviceShownFirst = device->currentText();
            if (port >= 0) {
                send->findChild<QComboBox*>("1028")->setCurrentIndex(port);
                device->setEditText(this->device);
            }
            send->findChild<QPushButton*>("1")->click();
        } else if (modal->objectName() == "139") {
            retryReasons << modal->findChild<QLabel*>("reason")->text();
            modal->findChild<QPushButton*>(retry ? "1" : "2")->click();
        }
    }

    void observe(CMainFrame& frame) {
        auto* progress = progressOf(frame);
        if (!progress || !progress->isVisible()) return;
        progressSeen = true;
        const QString step = progress->fieldText("1038");
        if (steps.isEmpty() || steps.back() != step) steps << step;
        if (!frame.centralWidget()->isEnabled() && !frame.menuBar()->isEnabled()) mainDisabledDuringCall = true;
        if (cancelInPage && step == "送信中" && progress->fieldText("1054").toInt() > 100) {
            cancelInPage = false;
            progress->findChild<QPushButton*>("2")->click();
        }
        if (closeInPage && step == "送信中" && progress->fieldText("1054").toInt() > 100) {
            closeInPage = false;
            frame.close();
            stillShownAfterClose = frame.isVisible();
        }
        auto* button = progress->findChild<QPushButton*>("1072");
        const QString seconds = progress->fieldText("1058");
        if (button->isVisible() && !seconds.isEmpty()) {
            if (firstSeconds < 0) firstSeconds = seconds.toInt();
            lastSeconds = seconds.toInt();
            if (dialNow) button->click();
            if (cancelInWait) progress->findChild<QPushButton*>("2")->click();
        }
    }
};

struct FaxWindow : test::DocumentFixture, ::testing::Test {
    PageRaster small = test::makePage(test::Pattern::Text, 400, 300, 1);
    PageRaster faxPage = test::makePage(test::Pattern::Text, 1728, 2290, 2);
    std::unique_ptr<test::Class2ModemSimulator> simulator;
    std::unique_ptr<CMainFrame> frame;
    User user;

    void make(test::ModemScript script = {}) {
        simulator = std::make_unique<test::Class2ModemSimulator>(std::move(script));
        ASSERT_TRUE(simulator->ok());
        settings.comDevices = {simulator->device(), "/nonexistent/ttyS1", "/nonexistent/ttyS2", "/nonexistent/ttyS3"};
        table.append(writeMH("two.MH", {&small, &small}, 0));
        table.append(writeFax("one.FAX", faxPage));
        doc.goToPage(2);
        frame = std::make_unique<CMainFrame>(settings, startup, table, doc);
        frame->useFax(std::make_unique<CLP98FAX>(settings, nullptr, test::kTestTiming));
        frame->setFaxDataFolder(dir);
        frame->resize(800, 600);
        frame->show();
        frame->showCurrentPage();
        QApplication::processEvents();
        user.watch(*frame);
    }
    uint8_t sendMarks(int page) const { return table.word(page).marks() & PageWord::kSendMarks; }
};

TEST_F(FaxWindow, SendsAllPagesFromThePhoneBookAndMarksThem) {
    writeText(PhoneBook::kFileName, "0311112222 Yamada Shoji\r\n");
    make();
    EXPECT_TRUE(frame->menuAction(kFaxAll)->isEnabled());
    EXPECT_FALSE(frame->menuAction(kFaxSelected)->isEnabled());
    user.pickRow = 0;
    ASSERT_TRUE(frame->runCommand(kFaxAll));

    EXPECT_EQ(user.pickLines, QStringList{"0311112222          Yamada Shoji"});
    EXPECT_EQ(frame->fax().sendValues().number, "0311112222");  // kept for the next job
    EXPECT_TRUE(user.progressSeen);
    EXPECT_TRUE(user.mainDisabledDuringCall);
    EXPECT_TRUE(user.steps.contains(QString::fromUtf8(faxtext::kStepSending.data(), faxtext::kStepSending.size())));
    // What the receiver decodes: our fit of the small pages, the fax page as it is.
    const PageRaster fitted = test::fittedFaxPage(small);
    test::expectReceivedPages(simulator->pages(), {&fitted, &fitted, &faxPage});
    for (int page = 1; page <= 3; ++page) {
        EXPECT_EQ(sendMarks(page), PageWord::kSent) << page;
        EXPECT_EQ(frame->navigator().pageListRow(page).sent, "済") << page;
    }
    EXPECT_TRUE(frame->menuAction(kClearSentMarks)->isEnabled());
    // The window is usable again, the progress window gone, the page shown before is back.
    EXPECT_TRUE(frame->centralWidget()->isEnabled());
    EXPECT_TRUE(frame->menuBar()->isEnabled());
    EXPECT_EQ(progressOf(*frame), nullptr);
    EXPECT_EQ(table.currentPage(), 2);
}

// The send dialog shows the chosen port's device and takes another one for
// another port; the job uses it and says why it cannot, and the device is
// kept for that port.
TEST_F(FaxWindow, AnotherPortsDeviceIsChosenInTheDialogAndKept) {
    make();
    user.port = 1;
    user.device = "/nonexistent/modem7";
    frame->runCommand(kFaxAll);
    EXPECT_EQ(user.deviceShownFirst, QString::fromStdString(simulator->device()));
    EXPECT_EQ(messages.said,
              std::vector<std::string>{"COM2ポートは使用できません\n/nonexistent/modem7 がありません（接続を確かめてください）"});
    EXPECT_EQ(settings.comDevices[1], "/nonexistent/modem7");
    EXPECT_EQ(settings.comDevices[0], simulator->device());
    EXPECT_EQ(settings.commPort, 2);
    EXPECT_TRUE(simulator->commands().empty());
}

TEST_F(FaxWindow, SelectedPagesOnlyAndASendErrorMark) {
    test::ModemScript script;
    script.pageStatus[0] = 2;  // the receiver asks for a retrain after the first page sent
    make(std::move(script));
    table.setMarks(3, PageWord::kSelected, PageWord::kSelected);
    frame->refresh();
    ASSERT_TRUE(frame->menuAction(kFaxSelected)->isEnabled());
    // F4 with pages selected sends just those.
    ASSERT_TRUE(frame->runCommand(kFaxSend));
    test::expectReceivedPages(simulator->pages(), {&faxPage});
    EXPECT_EQ(sendMarks(3), PageWord::kSendError);
    EXPECT_EQ(frame->navigator().pageListRow(3).sent, "ｴﾗｰ");
    EXPECT_EQ(sendMarks(1), 0);
    EXPECT_EQ(sendMarks(2), 0);
}

TEST_F(FaxWindow, DialNowEndsTheRedialWait) {
    test::ModemScript script;
    script.dialResults = {"BUSY", ""};
    make(std::move(script));
    frame->fax().sendValues().redials = 1;
    frame->fax().sendValues().waitMinutes = 99;  // far longer than the test may take
    user.dialNow = true;
    frame->runCommand(kFaxAll);
    EXPECT_TRUE(user.steps.contains("話中です"));
    EXPECT_TRUE(user.steps.contains("再ダイヤル待機中"));
    // The countdown started at 99 minutes and ended at once on the button.
    EXPECT_GE(user.firstSeconds, 99 * 60 - 5);
    EXPECT_GE(user.lastSeconds, 99 * 60 - 5);
    EXPECT_EQ(simulator->pages().size(), 3u);
    EXPECT_EQ(sendMarks(1), PageWord::kSent);
}

TEST_F(FaxWindow, CancelInTheRedialWaitEndsWithoutMarks) {
    test::ModemScript script;
    script.dialResults = {"NO ANSWER"};
    make(std::move(script));
    frame->fax().sendValues().redials = 3;
    frame->fax().sendValues().waitMinutes = 99;
    user.cancelInWait = true;
    frame->runCommand(kFaxAll);
    EXPECT_TRUE(user.steps.contains("応答がありません"));
    EXPECT_TRUE(simulator->pages().empty());
    for (int page = 1; page <= 3; ++page) EXPECT_EQ(sendMarks(page), 0) << page;
    EXPECT_FALSE(frame->fax().link().isOpen());
    EXPECT_TRUE(frame->centralWidget()->isEnabled());
}

// キャンセル while a page is sent: the window keeps answering while the call
// is hung up and shows "強制終了" before it closes; the page is marked as an error.
TEST_F(FaxWindow, CancelDuringAPageShowsTheForcedEnd) {
    make();
    user.cancelInPage = true;
    frame->runCommand(kFaxAll);
    EXPECT_FALSE(user.cancelInPage) << "the page's rows were never seen";
    EXPECT_TRUE(user.steps.contains("強制終了")) << user.steps.join(",").toStdString();
    EXPECT_FALSE(user.steps.contains("正常終了"));
    EXPECT_FALSE(frame->fax().link().isOpen());
    EXPECT_TRUE(frame->centralWidget()->isEnabled());
    EXPECT_EQ(sendMarks(1), PageWord::kSendError);
}

// Closing the main window during a call: the window stays until the call is
// cancelled (hung up, the port closed, the page marked), then it closes.
TEST_F(FaxWindow, ClosingTheWindowDuringACallCancelsItAndThenCloses) {
    make();
    user.closeInPage = true;
    frame->runCommand(kFaxAll);
    EXPECT_FALSE(user.closeInPage) << "the page's rows were never seen";
    EXPECT_TRUE(user.stillShownAfterClose);
    EXPECT_TRUE(user.steps.contains("強制終了")) << user.steps.join(",").toStdString();
    EXPECT_FALSE(frame->fax().link().isOpen());
    EXPECT_EQ(sendMarks(1), PageWord::kSendError);
    EXPECT_TRUE(simulator->pages().empty());
    QApplication::processEvents();
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(FaxWindow, ASilentModemOffersTheRetryDialog) {
    test::ModemScript script;
    script.silent = true;
    make(std::move(script));
    frame->runCommand(kFaxAll);
    ASSERT_FALSE(user.retryReasons.isEmpty());
    EXPECT_EQ(user.retryReasons.front(), QString::fromUtf8(faxtext::kNoResponse.data(), faxtext::kNoResponse.size()));
    EXPECT_EQ(user.sendDialogs, 2);  // cancelling the retry goes back to the send dialog
    EXPECT_FALSE(frame->fax().link().isOpen());
    EXPECT_TRUE(simulator->pages().empty());
}

}  // namespace
}  // namespace lumipage
