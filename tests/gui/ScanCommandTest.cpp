// The window's scanning commands against our source manager and SANE's
// "test" backend (enabled in a private SANE_CONFIG_DIR), the dialogs
// answered as they come up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>

#include "base/CommandIds.h"
#include "fax/CLP98FAX.h"
#include "image/LpPageFile.h"
#include "image/MHDecoder.h"
#include "platform/File.h"
#include "gui/FaxSendDialog.h"
#include "gui/CMainFrame.h"
#include "gui/dialogs/ScanDialog.h"
#include "gui/dialogs/SourceChooserDialog.h"
#include "gui/dialogs/ThresholdDialog.h"
#include "support/DocumentFixture.h"
#include "support/ModemFixture.h"
#include "support/ReceivedFax.h"
#include "support/SaneTestBackend.h"
#include "support/TestImages.h"
#include "view/CLP98View.h"

namespace lumipage {
namespace {

using namespace command;
using Answer = std::function<void(QDialog*)>;

// Answers each modal dialog that comes up with the next answer; a dialog
// left over is ended, so that a test never hangs.
class DialogAnswers : public QObject {
public:
    std::deque<Answer> answers;
    std::vector<QString> seen;  // object names, in order

    DialogAnswers() {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        timer_.start();
    }

private:
    void tick() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->property("answered").toBool()) return;
        dialog->setProperty("answered", true);
        seen.push_back(dialog->objectName());
        if (answers.empty()) {
            dialog->done(int(ScanDialogResult::End));
            return;
        }
        Answer next = std::move(answers.front());
        answers.pop_front();
        next(dialog);
    }
    QTimer timer_;
};

// A small page, gray with the threshold dialog, then "実行".
Answer scanSmall(bool gray) {
    return [gray](QDialog* dialog) {
        ASSERT_EQ(dialog->objectName(), "ScanDialog");
        dialog->findChild<QLineEdit*>("prefix")->setText("SCAN");
        dialog->findChild<QCheckBox*>("customSize")->setChecked(true);
        dialog->findChild<QDoubleSpinBox*>("customWidth")->setValue(60);
        dialog->findChild<QDoubleSpinBox*>("customHeight")->setValue(90);
        dialog->findChild<QCheckBox*>("adjustThreshold")->setChecked(gray);
        static_cast<ScanDialog*>(dialog)->executeButton()->click();
    };
}

Answer acceptThreshold() {
    return [](QDialog* dialog) {
        ASSERT_EQ(dialog->objectName(), "ThresholdDialog");
        EXPECT_TRUE(dialog->isEnabled());
        dialog->accept();
    };
}

struct ScanCommands : test::DocumentFixture, ::testing::Test {
    std::string sane;
    std::unique_ptr<CMainFrame> frame;
    DialogAnswers dialogs;

    void SetUp() override {
        ASSERT_EQ(test::runCommand("command -v scanimage >/dev/null 2>&1"), 0) << "sane-utils missing (./dev installs it)";
        std::string error;
        sane = test::useSaneTestBackend(error);
        ASSERT_FALSE(sane.empty()) << error;
        std::ofstream(sane + "/dll.conf") << "test\n";
        writeDevices(1);
        settings.sourceManager = LUMIPAGE_TWAINDSM;
        settings.scanFilePath = dir;
    }
    void writeDevices(int count) {
        std::ofstream(sane + "/test.conf") << "number_of_devices " << count
                                           << "\nmode Gray\ndepth 8\ntest-picture \"Grid\"\n";
    }
    void make() {
        frame = std::make_unique<CMainFrame>(settings, startup, table, doc);
        frame->resize(800, 600);
        frame->show();
        QApplication::processEvents();
    }
    bool enabled(int id) const { return frame->menuAction(id)->isEnabled(); }
};

TEST_F(ScanCommands, ANewScanArrivesInThePageListAndIsShown) {
    make();
    EXPECT_TRUE(enabled(kSelectScanner));
    EXPECT_TRUE(enabled(kScanNew));
    EXPECT_TRUE(enabled(kCopyDirect));
    EXPECT_TRUE(enabled(kCopyWithPrinterSetup));
    EXPECT_FALSE(enabled(kRescan));  // no file open
    EXPECT_TRUE(enabled(kFaxFromScanner));

    dialogs.answers = {scanSmall(true), acceptThreshold()};
    EXPECT_TRUE(frame->runCommand(kScanNew));
    // Without "連続" the job ends after its page.
    EXPECT_EQ(dialogs.seen, (std::vector<QString>{"ScanDialog", "ThresholdDialog"}));
    ASSERT_EQ(table.fileCount(), 1);
    EXPECT_EQ(doc.path(), dir + "/SCAN001.TIF");
    EXPECT_TRUE(std::filesystem::exists(dir + "/SCAN001.TIF"));
    // 60 x 90 mm at 300 dpi, cut to whole bytes of rows and to multiples of 8 rows.
    EXPECT_EQ(frame->statusPaneText(2), "Pixel: 704 x 1056");
    EXPECT_TRUE(frame->captionText().contains("SCAN001.TIF"));
    EXPECT_TRUE(frame->isEnabled());
    EXPECT_TRUE(enabled(kRescan));
    EXPECT_EQ(settings.scanFilePath, dir);

    // The kept settings carry on with the next number.
    dialogs.answers = {[](QDialog* dialog) {
        EXPECT_EQ(dialog->findChild<QLineEdit*>("number")->text(), "002");
        EXPECT_EQ(dialog->windowTitle(), "スキャナ入力（新規）");
        static_cast<ScanDialog*>(dialog)->executeButton()->click();
    }};
    EXPECT_TRUE(frame->runCommand(kScanNew));
    EXPECT_EQ(table.fileCount(), 2);
    EXPECT_EQ(doc.path(), dir + "/SCAN002.TIF");

    // A rescan replaces the current page's file and keeps the list as it is.
    dialogs.answers = {[](QDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "スキャナ入力（再スキャン）");
        static_cast<ScanDialog*>(dialog)->executeButton()->click();
    }};
    EXPECT_TRUE(frame->runCommand(kRescan));
    EXPECT_EQ(table.fileCount(), 2);
    EXPECT_EQ(doc.path(), dir + "/SCAN002.TIF");
    EXPECT_FALSE(std::filesystem::exists(dir + "/SCAN003.TIF"));
    EXPECT_EQ(frame->statusPaneText(2), "Pixel: 704 x 1056");
}

TEST_F(ScanCommands, ACopyPrintsAndLeavesNothingInThePageList) {
    make();
    dialogs.answers = {scanSmall(false)};
    EXPECT_TRUE(frame->runCommand(kCopyDirect));
    ASSERT_FALSE(dialogs.seen.empty());
    EXPECT_EQ(dialogs.seen.front(), "ScanDialog");
    EXPECT_EQ(table.fileCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir + "/SCAN001.TIF"));
    EXPECT_TRUE(frame->isEnabled());
}

TEST_F(ScanCommands, TheScannerIsChosenFromTheSourcesSaneFinds) {
    writeDevices(2);
    make();
    QStringList offered;
    dialogs.answers = {[&offered](QDialog* dialog) {
        auto* list = dialog->findChild<QListWidget*>("sources");
        for (int i = 0; i < list->count(); ++i) offered << list->item(i)->text();
        list->setCurrentRow(1);
        dialog->accept();
    }};
    EXPECT_TRUE(frame->runCommand(kSelectScanner));
    EXPECT_EQ(offered, (QStringList{"test:0", "test:1"}));
}

TEST_F(ScanCommands, WithoutASourceManagerTheCommandsAreOff) {
    settings.sourceManager = dir + "/missing-manager.so";
    make();
    for (int id : {kSelectScanner, kScanNew, kRescan, kCopyDirect, kCopyWithPrinterSetup, kFaxFromScanner})
        EXPECT_FALSE(enabled(id)) << id;
    frame->runCommand(kScanNew);
    EXPECT_TRUE(dialogs.seen.empty());
    EXPECT_EQ(table.fileCount(), 0);
}

}  // namespace
}  // namespace lumipage

namespace lumipage {
namespace {

// The fax key with no pages open scans the pages and sends them.
TEST_F(ScanCommands, TheFaxKeyWithoutPagesScansAndSendsTheScan) {
    test::Class2ModemSimulator modem{test::ModemScript{}};
    ASSERT_TRUE(modem.ok());
    settings.comDevices = {modem.device(), "/nonexistent/ttyS1", "/nonexistent/ttyS2", "/nonexistent/ttyS3"};
    // The pages are collected in the temporary folder's "LpFax".
    const std::string oldTemp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", dir.c_str(), 1);
    make();
    frame->useFax(std::make_unique<CLP98FAX>(settings, nullptr, test::kTestTiming));
    frame->setFaxDataFolder(dir);
    ASSERT_TRUE(enabled(kFaxSend));

    Answer send = [](QDialog* dialog) {
        ASSERT_EQ(dialog->objectName(), "ScanDialog");
        static_cast<ScanDialog*>(dialog)->sendButton()->click();
    };
    Answer dial = [](QDialog* dialog) {
        dialog->findChild<QLineEdit*>("1032")->setText("03-1234-5678");
        dialog->findChild<QPushButton*>("1")->click();
    };
    dialogs.answers = {scanSmall(false), send, dial};
    EXPECT_TRUE(frame->runCommand(kFaxSend));
    if (oldTemp.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", oldTemp.c_str(), 1);
    ASSERT_GE(dialogs.seen.size(), 3u);
    EXPECT_EQ(dialogs.seen[0], "ScanDialog");
    EXPECT_EQ(dialogs.seen[1], "ScanDialog");
    EXPECT_TRUE(std::filesystem::exists(dir + "/LpFax/SCAN001.MH0"));
    // The receiver decodes the scanned page as the program fits it.
    File file;
    LpPageFile::Header header;
    PageRaster scanned;
    MHDecoder decoder;
    ASSERT_TRUE(file.open(dir + "/LpFax/SCAN001.MH0", File::Mode::Read));
    ASSERT_TRUE(LpPageFile::open(file, header, scanned, messages) &&
                LpPageFile::loadPage(file, header, 1, scanned, decoder, messages));
    const PageRaster fitted = test::fittedFaxPage(scanned);
    test::expectReceivedPages(modem.pages(), {&fitted});
    // The sent page left the list.
    EXPECT_EQ(table.fileCount(), 0);
    EXPECT_EQ(frame->fax().sendValues().number, "03-1234-5678");
}

}  // namespace
}  // namespace lumipage
