// The window's scanning commands against our source manager and SANE's
// "test" backend (enabled in a private SANE_CONFIG_DIR), the dialogs
// answered as they come up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "base/CommandIds.h"
#include "platform/IniSettingsStore.h"
#include "fax/CLP98FAX.h"
#include "image/LpPageFile.h"
#include "image/PageDecoder.h"
#include "platform/File.h"
#include "gui/dialogs/FaxSendDialog.h"
#include "gui/CMainFrame.h"
#include "gui/dialogs/ScanDialog.h"
#include "gui/dialogs/SourceChooserDialog.h"
#include "gui/dialogs/ThresholdDialog.h"
#include "support/DocumentFixture.h"
#include "support/ModemFixture.h"
#include "support/ReceivedFax.h"
#include "support/SaneTestBackend.h"
#include "support/TestImages.h"
#include "gui/PageWidget.h"
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
    // A 300 dpi page is an .MH page file.
    EXPECT_TRUE(std::filesystem::exists(dir + "/LpFax/SCAN001.MH"));
    // The receiver decodes the scanned page as the program fits it.
    File file;
    LpPageFile::Header header;
    PageRaster scanned;
    PageDecoder decoder;
    ASSERT_TRUE(file.open(dir + "/LpFax/SCAN001.MH", File::Mode::Read));
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

// What a user sees after a scan: the file read back with libtiff's and
// netpbm's own tools, the page shown, the messages said.
namespace lumipage {
namespace {

std::string output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

// The width, height and ink of a page file as netpbm decodes it.
struct Decoded {
    int width = 0, height = 0;
    long ink = 0;
};
Decoded decode(const std::string& toPnm, const std::string& path) {
    Decoded d;
    const std::string pbm = output(toPnm + " '" + path + "' 2>/dev/null | pamtopnm 2>/dev/null | pnmtoplainpnm");
    std::istringstream in(pbm);
    std::string magic;
    in >> magic >> d.width >> d.height;
    if (magic != "P1") return Decoded{};
    for (char c; in >> c;) d.ink += c == '1';
    return d;
}

long darkPixels(const QImage& image) {
    long dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128;
    return dark;
}

// As root every folder is writable and the faults of a missing scan folder
// hide; the test then runs again as "nobody" and passes when that run does.
bool rerunUnprivileged() {
    if (geteuid() != 0) return false;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(info->test_suite_name()) + "." + info->name();
    const std::string home = test::tempFolder();
    EXPECT_EQ(test::runCommand("chown nobody '" + home + "'"), 0);
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string run = "cd / && runuser -u nobody -- env HOME='" + home + "' TMPDIR=/tmp XDG_CONFIG_HOME= "
                            "XDG_RUNTIME_DIR= QT_QPA_PLATFORM=offscreen '" + exe + "' --gtest_filter=" + name +
                            " > '" + home + "/log' 2>&1";
    EXPECT_EQ(test::runCommand(run), 0) << output("cat '" + home + "/log'");
    return true;
}

TEST_F(ScanCommands, OnTheFirstRunAScanGoesToTheDataFolder) {
    if (rerunUnprivileged()) return;
    // A first start: the settings hold no scan folder.
    const std::string data = dir + "/data";
    std::filesystem::create_directory(data);
    IniSettingsStore store(dir + "/Lumipage.conf");
    settings.scanFilePath.clear();
    settings.load(store, dir, data, [](const std::string& p) { return std::filesystem::is_directory(p); });
    settings.sourceManager = LUMIPAGE_TWAINDSM;
    make();
    dialogs.answers = {[&data](QDialog* dialog) {
        EXPECT_EQ(dialog->findChild<QLineEdit*>("folder")->text().toStdString(), data);
        scanSmall(false)(dialog);
    }};
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(frame->runCommand(kScanNew));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("lumipage: "), std::string::npos) << said;
    ASSERT_EQ(table.fileCount(), 1);
    EXPECT_EQ(doc.path(), data + "/SCAN001.TIF");
    const Decoded page = decode("tifftopnm", data + "/SCAN001.TIF");
    EXPECT_EQ(page.width, 704);
    EXPECT_EQ(page.height, 1056);
    EXPECT_GT(page.ink, 0);

    // A stored folder that has gone since means the data folder too.
    std::filesystem::create_directory(dir + "/gone");
    settings.scanFilePath = dir + "/gone";
    settings.save(store);
    std::filesystem::remove(dir + "/gone");
    Settings next;
    next.load(store, dir, data, [](const std::string& p) { return std::filesystem::is_directory(p); });
    EXPECT_EQ(next.scanFilePath, data);
}

// A feeder run, then the flatbed: the second run takes one sheet from the glass.
TEST_F(ScanCommands, TheFlatbedChosenAfterTheFeederScansOneSheet) {
    make();
    Answer feeder = [](QDialog* dialog) {
        dialog->findChild<QRadioButton*>("feeder")->setChecked(true);
        dialog->findChild<QCheckBox*>("customSize")->setChecked(true);
        dialog->findChild<QDoubleSpinBox*>("customWidth")->setValue(20);
        dialog->findChild<QDoubleSpinBox*>("customHeight")->setValue(20);
        dialog->findChild<QLineEdit*>("prefix")->setText("ADF");
        static_cast<ScanDialog*>(dialog)->executeButton()->click();
    };
    dialogs.answers = {feeder};
    EXPECT_TRUE(frame->runCommand(kScanNew));
    EXPECT_EQ(table.fileCount(), 10);  // the test backend's feeder holds ten sheets
    Answer flatbed = [](QDialog* dialog) {
        EXPECT_TRUE(dialog->findChild<QRadioButton*>("feeder")->isChecked());  // kept from the last run
        dialog->findChild<QRadioButton*>("flatbed")->setChecked(true);
        dialog->findChild<QLineEdit*>("prefix")->setText("GLASS");
        dialog->findChild<QLineEdit*>("number")->setText("001");
        static_cast<ScanDialog*>(dialog)->executeButton()->click();
    };
    dialogs.answers = {flatbed};
    EXPECT_TRUE(frame->runCommand(kScanNew));
    EXPECT_EQ(table.fileCount(), 11);
    EXPECT_TRUE(std::filesystem::exists(dir + "/GLASS001.TIF"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/GLASS002.TIF"));
}

// Return scans from wherever the user is typing; "90度回転" keeps the page
// turned; the zoom and its buttons are on, as the scanner can scale.
TEST_F(ScanCommands, ReturnScansAndTheTurnedPageIsKeptTurned) {
    make();
    bool zoomOn = true;
    dialogs.answers = {[&zoomOn](QDialog* dialog) {
        for (auto* button : dialog->findChildren<QPushButton*>("zoomButton")) zoomOn &= button->isEnabled();
        zoomOn &= dialog->findChild<QSpinBox*>("zoom")->isEnabled();
        dialog->findChild<QLineEdit*>("prefix")->setText("TURN");
        dialog->findChild<QCheckBox*>("customSize")->setChecked(true);
        dialog->findChild<QDoubleSpinBox*>("customWidth")->setValue(60);
        dialog->findChild<QDoubleSpinBox*>("customHeight")->setValue(90);
        dialog->findChild<QCheckBox*>("rotate90")->setChecked(true);
        QLineEdit* title = dialog->findChild<QLineEdit*>("title");
        title->setFocus();
        QTest::keyClick(title, Qt::Key_Return);
    }};
    EXPECT_TRUE(frame->runCommand(kScanNew));
    EXPECT_TRUE(zoomOn);
    ASSERT_EQ(table.fileCount(), 1);
    const Decoded page = decode("tifftopnm", dir + "/TURN001.TIF");
    EXPECT_EQ(page.width, 1056);
    EXPECT_EQ(page.height, 704);

    // Typing a file type and Return scans as well.
    dialogs.answers = {[](QDialog* dialog) {
        auto* type = dialog->findChild<QComboBox*>("fileType");
        type->setCurrentText(".BMP");
        type->lineEdit()->setFocus();
        QTest::keyClick(type->lineEdit(), Qt::Key_Return);
    }};
    EXPECT_TRUE(frame->runCommand(kScanNew));
    EXPECT_EQ(table.fileCount(), 2);
    EXPECT_TRUE(std::filesystem::exists(dir + "/TURN002.BMP"));
}

// Every file written from a 300 dpi scan says 300 dpi.
TEST_F(ScanCommands, ScannedFilesKeepTheScannersResolution) {
    make();
    for (const char* type : {".TIF", ".BMP", ".MH"}) {
        dialogs.answers = {[type](QDialog* dialog) {
            dialog->findChild<QComboBox*>("fileType")->setCurrentText(type);
            dialog->findChild<QComboBox*>("resolution")->setCurrentText("300");
            scanSmall(false)(dialog);
        }};
        EXPECT_TRUE(frame->runCommand(kScanNew)) << type;
    }
    const std::string tiff = output("tiffinfo '" + dir + "/SCAN001.TIF' 2>&1");
    EXPECT_NE(tiff.find("Resolution: 300, 300 pixels/inch"), std::string::npos) << tiff;
    const std::string bmp = output("identify -units PixelsPerInch -format '%x %y' '" + dir + "/SCAN002.BMP' 2>&1");
    EXPECT_EQ(bmp.substr(0, 3), "300") << bmp;
    doc.closeAll();
    table.append(dir + "/SCAN002.BMP");
    table.append(dir + "/SCAN003.MH");
    for (int page = 1; page <= 2; ++page) {
        doc.goToPage(page);
        frame->showCurrentPage();
        EXPECT_EQ(doc.raster().dpi, 300) << page;
        EXPECT_TRUE(frame->statusPaneText(3).contains("300")) << frame->statusPaneText(3).toStdString();
    }
}

// The page just scanned is the one the threshold dialog works on.
TEST_F(ScanCommands, TheThresholdDialogShowsAndRethresholdsTheNewPage) {
    make();
    const PageRaster white = test::makePage(test::Pattern::White, 1728, 2290);
    table.append(writeMH("white.MH", {&white}, 0));
    doc.goToPage(1);
    frame->showCurrentPage();
    ASSERT_EQ(darkPixels(frame->pageWidget()->bitmapImage()), 0);
    long atStart = -1, whiteOut = -1;
    dialogs.answers = {scanSmall(true), [&](QDialog* dialog) {
                           atStart = darkPixels(frame->pageWidget()->bitmapImage());
                           auto* slider = dialog->findChild<QSlider*>("threshold");
                           slider->setValue(256);  // threshold 0: nothing is darker
                           whiteOut = darkPixels(frame->pageWidget()->bitmapImage());
                           dialog->findChild<QPushButton*>("standard")->click();
                           dialog->accept();
                       }};
    EXPECT_TRUE(frame->runCommand(kScanNew));
    const long size = long(frame->pageWidget()->bitmapImage().width()) * frame->pageWidget()->bitmapImage().height();
    EXPECT_GT(atStart, size / 4);  // the grid, about half black
    EXPECT_EQ(whiteOut, 0);
    EXPECT_GT(darkPixels(frame->pageWidget()->bitmapImage()), size / 4);  // kept at the standard threshold
    EXPECT_GT(decode("tifftopnm", dir + "/SCAN001.TIF").ink, 704L * 1056 / 4);
}

}  // namespace
}  // namespace lumipage

// What real scanners do that the test backend can be told to do: device
// errors, a hand scanner, a glass of a paper size's width, and a
// long feeder run the user cancels.
namespace lumipage {
namespace {

Answer scanWith(const char* prefix, bool feeder, bool continuous, double width, double height) {
    return [=](QDialog* dialog) {
        ASSERT_EQ(dialog->objectName(), "ScanDialog");
        dialog->findChild<QLineEdit*>("prefix")->setText(prefix);
        dialog->findChild<QLineEdit*>("number")->setText("001");
        dialog->findChild<QRadioButton*>(feeder ? "feeder" : "flatbed")->setChecked(true);
        dialog->findChild<QCheckBox*>("continuous")->setChecked(continuous);
        dialog->findChild<QCheckBox*>("customSize")->setChecked(true);
        dialog->findChild<QDoubleSpinBox*>("customWidth")->setValue(width);
        dialog->findChild<QDoubleSpinBox*>("customHeight")->setValue(height);
        static_cast<ScanDialog*>(dialog)->executeButton()->click();
    };
}

// The scan's progress window while it is up, else null.
QProgressDialog* shownScanProgress() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* progress = qobject_cast<QProgressDialog*>(w);
        if (progress && progress->objectName() == "ScanProgress" && progress->isVisible()) return progress;
    }
    return nullptr;
}

struct ScannerConditions : ScanCommands {
    void configure(const std::string& extra) {
        std::ofstream(sane + "/test.conf") << "number_of_devices 1\nmode Gray\ndepth 8\ntest-picture \"Grid\"\n"
                                           << "enable-test-options true\n" << extra;
    }
};

TEST_F(ScannerConditions, DeviceErrorsAreSaidInTwainBoxes) {
    make();
    const std::pair<const char*, const char*> cases[] = {
        {"SANE_STATUS_JAMMED", "TWCC_PAPERJAM (The feeder is jammed)"},
        {"SANE_STATUS_COVER_OPEN", "TWCC_INTERLOCK (The cover or door is open)"},
        {"SANE_STATUS_DEVICE_BUSY", "TWCC_DEVICEBUSY (The device is busy)"},
        {"SANE_STATUS_NO_DOCS", "TWCC_NOMEDIA (No pages in the feeder)"},
    };
    for (const auto& [status, condition] : cases) {
        configure(std::string("read-status-code \"") + status + "\"\n");
        dialogs.answers = {scanWith("ERR", false, false, 20, 20)};
        messages.warnings.clear();
        EXPECT_TRUE(frame->runCommand(kScanNew));
        std::string said;
        for (const std::string& s : messages.warnings) said += s + "\n";
        EXPECT_NE(said.find(std::string("TWAIN Error: Image transfer failed.\nDataSource operation failed\n"
                                        "RC:   TWRC_FAILURE\nCC:   ") + condition),
                  std::string::npos)
            << status << ": " << said;
        EXPECT_EQ(table.fileCount(), 0) << status;
        EXPECT_TRUE(frame->isEnabled());
    }
}

TEST_F(ScannerConditions, AHandScannerGivesTheWholePage) {
    configure("hand-scanner true\n");
    make();
    dialogs.answers = {scanWith("HAND", false, false, 60, 90)};
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(frame->runCommand(kScanNew));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("lumipage: "), std::string::npos) << said;
    ASSERT_EQ(table.fileCount(), 1);
    const Decoded page = decode("tifftopnm", dir + "/HAND001.TIF");
    // A hand scanner is 11 cm wide; its length is whatever the backend gave.
    EXPECT_EQ(page.width, int(110 / 25.4 * 300) & ~7);
    EXPECT_GT(page.height, 0);
    EXPECT_EQ(page.height % 8, 0);
    EXPECT_GT(page.ink, long(page.width) * page.height / 4);
}

// The glass's millimetres come back as they were: a glass of 210 mm offers
// A5 (148 x 210 mm) as its largest size.
TEST_F(ScannerConditions, AGlassOf210MillimetresOffersA5) {
    configure("geometry_max 210.0\nbr_x 210.0\nbr_y 210.0\n");
    make();
    QStringList sizes;
    dialogs.answers = {[&sizes](QDialog* dialog) {
        auto* paper = dialog->findChild<QComboBox*>("paperSize");
        for (int i = 0; i < paper->count(); ++i) sizes << paper->itemText(i);
        dialog->done(int(ScanDialogResult::End));
    }};
    EXPECT_TRUE(frame->runCommand(kScanNew));
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.front().toStdString(), "A5    148x210mm");
}

// "詳細設定" shows the scanner's own options, named by SANE's names: the
// test backend's picture among them as a choice, its hand-scanner switch as
// a check box, and not what the scan dialog sets itself. "Solid white"
// chosen there gives a white page where the grid was; cancelling the
// dialog scans nothing and says nothing.
TEST_F(ScannerConditions, TheSourceDialogListsTheScannersOptionsAndAppliesThem) {
    configure("");
    make();
    const auto withSourceDialog = [](const char* prefix, bool continuous = false) {
        return [prefix, continuous](QDialog* dialog) {
            ASSERT_EQ(dialog->objectName(), "ScanDialog");
            dialog->findChild<QLineEdit*>("prefix")->setText(prefix);
            dialog->findChild<QCheckBox*>("customSize")->setChecked(true);
            dialog->findChild<QDoubleSpinBox*>("customWidth")->setValue(40);
            dialog->findChild<QDoubleSpinBox*>("customHeight")->setValue(40);
            dialog->findChild<QLineEdit*>("number")->setText("001");
            dialog->findChild<QCheckBox*>("sourceDialog")->setChecked(true);
            dialog->findChild<QCheckBox*>("continuous")->setChecked(continuous);
            static_cast<ScanDialog*>(dialog)->executeButton()->click();
        };
    };
    QStringList pictures;
    bool handScanner = false, programsOwnLeftOut = false;
    dialogs.answers = {withSourceDialog("OPT"), [&](QDialog* dialog) {
                           ASSERT_EQ(dialog->objectName(), "SaneOptionsDialog");
                           auto* picture = dialog->findChild<QComboBox*>("test-picture");
                           ASSERT_NE(picture, nullptr);
                           for (int i = 0; i < picture->count(); ++i) pictures << picture->itemText(i);
                           handScanner = dialog->findChild<QCheckBox*>("hand-scanner") != nullptr;
                           programsOwnLeftOut = !dialog->findChild<QWidget*>("mode") &&
                                                !dialog->findChild<QWidget*>("resolution") &&
                                                !dialog->findChild<QWidget*>("br-x");
                           picture->setCurrentText("Solid white");
                           dialog->findChild<QPushButton*>("scan")->click();
                       }};
    EXPECT_TRUE(frame->runCommand(kScanNew));
    EXPECT_EQ(pictures, (QStringList{"Solid black", "Solid white", "Color pattern", "Grid"}));
    EXPECT_TRUE(handScanner);
    EXPECT_TRUE(programsOwnLeftOut);
    ASSERT_EQ(table.fileCount(), 1);
    const Decoded page = decode("tifftopnm", dir + "/OPT001.TIF");
    EXPECT_EQ(page.width, int(40 / 25.4 * 300) & ~7);
    EXPECT_EQ(page.ink, 0);  // the grid would be half black

    dialogs.answers = {withSourceDialog("NONE"), [](QDialog* dialog) {
                           ASSERT_EQ(dialog->objectName(), "SaneOptionsDialog");
                           dialog->findChild<QPushButton*>("cancel")->click();
                       }};
    messages.warnings.clear();
    EXPECT_TRUE(frame->runCommand(kScanNew));
    EXPECT_FALSE(std::filesystem::exists(dir + "/NONE001.TIF"));
    EXPECT_TRUE(messages.warnings.empty()) << messages.warnings.front();
    EXPECT_EQ(table.fileCount(), 1);
    EXPECT_TRUE(frame->isEnabled());

    // With "連続" the dialog comes back after each page, until it is cancelled.
    const auto scanAgain = [](QDialog* dialog) {
        ASSERT_EQ(dialog->objectName(), "SaneOptionsDialog");
        dialog->findChild<QPushButton*>("scan")->click();
    };
    dialogs.answers = {withSourceDialog("RUN", true), scanAgain, scanAgain, [](QDialog* dialog) {
                           ASSERT_EQ(dialog->objectName(), "SaneOptionsDialog");
                           dialog->findChild<QPushButton*>("cancel")->click();
                       }};
    EXPECT_TRUE(frame->runCommand(kScanNew));
    EXPECT_TRUE(std::filesystem::exists(dir + "/RUN002.TIF"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/RUN003.TIF"));
    EXPECT_EQ(table.fileCount(), 3);
    EXPECT_TRUE(frame->isEnabled());
}

// A scanner that sends slowly (a fifth of a second between its bursts)
// leaves the window answering: the progress window is up and its timers
// run, and its cancel ends the scan with no file and the scanner let go.
TEST_F(ScannerConditions, ASlowScannerLeavesTheWindowAnsweringAndCancelEndsIt) {
    configure("read-delay true\nread-delay-duration 200000\nread-limit true\nread-limit-size 64\n");
    make();
    int ticksWhileWaiting = 0;
    bool cancelled = false;
    QTimer watcher;
    watcher.setInterval(20);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QProgressDialog* progress = shownScanProgress();
        if (!progress || cancelled) return;
        if (++ticksWhileWaiting == 10) {
            cancelled = true;
            progress->cancel();
        }
    });
    watcher.start();
    dialogs.answers = {scanWith("SLOW", false, false, 200, 200)};
    EXPECT_TRUE(frame->runCommand(kScanNew));
    watcher.stop();
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(ticksWhileWaiting, 10);
    EXPECT_EQ(table.fileCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir + "/SLOW001.TIF"));
    EXPECT_TRUE(frame->isEnabled());
    configure("");
    dialogs.answers = {scanWith("NEXT", false, false, 20, 20)};
    EXPECT_TRUE(frame->runCommand(kScanNew));
    EXPECT_TRUE(std::filesystem::exists(dir + "/NEXT001.TIF"));
}

// The progress window follows the rows of each page; a cancel during the
// fourth page keeps the three pages read and lets the scanner go.
TEST_F(ScannerConditions, AFeederRunCancelledAfterThreePagesKeepsThem) {
    make();
    int lastPageSeen = 0, widest = 0, cancelledAt = 0;
    bool rowsGrew = false;
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QProgressDialog* progress = shownScanProgress();
        if (!progress) return;
        const int page = progress->labelText().section(' ', 0, 0).toInt();
        EXPECT_EQ(progress->labelText(), QString("%1 ページ目を読み取り中").arg(page));
        lastPageSeen = std::max(lastPageSeen, page);
        widest = std::max(widest, progress->maximum());
        rowsGrew |= progress->value() > 0 && progress->value() < progress->maximum();
        // On a loaded machine the watcher may first see a later page: the
        // pages before the cancelled one are kept whichever it is. Between
        // two pages the window still says the page just kept; a cancel
        // there would end the run with that page, so it waits for the next.
        if (page >= 4 && cancelledAt == 0 && table.fileCount() == page - 1) {
            cancelledAt = page;
            progress->cancel();
        }
    });
    watcher.start();
    dialogs.answers = {scanWith("RUN", true, false, 60, 90)};
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(frame->runCommand(kScanNew));
    const std::string said = ::testing::internal::GetCapturedStderr();
    watcher.stop();
    EXPECT_EQ(said.find("lumipage: "), std::string::npos) << said;
    ASSERT_GE(cancelledAt, 4);
    EXPECT_EQ(lastPageSeen, cancelledAt);
    EXPECT_EQ(widest, 1056);  // the page's rows, cut to whole blocks of 8
    EXPECT_TRUE(rowsGrew);
    EXPECT_EQ(table.fileCount(), cancelledAt - 1);
    const auto name = [&](int page) {
        char n[16];
        std::snprintf(n, sizeof n, "/RUN%03d.TIF", page);
        return dir + n;
    };
    for (int page = 1; page < cancelledAt; ++page) EXPECT_EQ(decode("tifftopnm", name(page)).height, 1056) << page;
    EXPECT_FALSE(std::filesystem::exists(name(cancelledAt)));
    EXPECT_TRUE(frame->isEnabled());
    // The scanner was let go: the next run scans at once.
    dialogs.answers = {scanWith("NEXT", false, false, 20, 20)};
    EXPECT_TRUE(frame->runCommand(kScanNew));
    EXPECT_TRUE(std::filesystem::exists(dir + "/NEXT001.TIF"));
}

}  // namespace
}  // namespace lumipage
