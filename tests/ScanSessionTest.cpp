// Scanning through the core session alone, without any toolkit: the scan
// commands of the command table run against our source manager and SANE's
// "test" backend, the window's part played by a scripted window.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

#include "app/CoreSession.h"
#include "app/ScanSession.h"
#include "base/CommandIds.h"
#include "support/DocumentFixture.h"
#include "support/LibtiffFiles.h"
#include "support/NoFileEditor.h"
#include "support/SaneTestBackend.h"
#include "support/TestImages.h"
#include "support/ViewFakes.h"
#include "view/CLP98View.h"

namespace lumipage {
namespace {

using namespace command;

// Answers the scan dialog with the next answer, on a 60 x 90 mm frame.
class ScriptedWindow : public ScanWindow {
public:
    std::deque<ScanDialogResult> answers;
    std::vector<std::string> titles;
    bool faxJob = true;
    int sends = 0, changes = 0, ended = 0;

    ScanDialogResult showScanDialog(ScanSettings& settings, const ScanDialogSetup&,
                                    const ScanDialogTitle& title) override {
        bool executeEnabled = false;
        titles.push_back(title(settings, &executeEnabled));
        settings.prefix = settings.prefix.empty() ? "SCAN" : settings.prefix;
        settings.customSize = true;
        settings.customWidth = 60;
        settings.customHeight = 90;
        if (answers.empty()) return ScanDialogResult::End;
        const ScanDialogResult next = answers.front();
        answers.pop_front();
        return next;
    }
    void adjustThreshold(ThresholdAdjustment&) override {}
    void scanEnded() override { ++ended; }
    bool printCopy(PrinterDialog) override { return true; }
    bool canSendFax() const override { return faxJob; }
    bool sendAllPages() override { return ++sends > 0; }
    void postCommand(int) override {}
    void pageChanged() override { ++changes; }
    std::optional<size_t> choose(const std::vector<std::string>&, size_t current) override { return current; }
    bool pump() override { return true; }
    void enableWindow(bool) override {}
};

struct ScanSessionRun : test::DocumentFixture, ::testing::Test {
    std::string sane;
    test::FakeViewHost host;
    ScriptedWindow window;
    std::unique_ptr<CoreSession> session;

    void SetUp() override {
        std::string error;
        sane = test::useSaneTestBackend(error);
        ASSERT_FALSE(sane.empty()) << error;
        std::ofstream(sane + "/dll.conf") << "test\n";
        std::ofstream(sane + "/test.conf") << "number_of_devices 1\nmode Gray\ndepth 8\ntest-picture \"Grid\"\n";
        settings.sourceManager = LUMIPAGE_TWAINDSM;
        settings.scanFilePath = dir;
        session = std::make_unique<CoreSession>(
            settings, table, doc,
            SessionWindow{host, [] { return std::make_unique<test::NoFileEditor>(); }, &window, [] { return false; }});
    }
    bool enabled(int id) const { return session->router().state(id).enabled; }
};

TEST_F(ScanSessionRun, ANewScanIsWrittenOpenedAndShownWithoutAWindow) {
    EXPECT_TRUE(enabled(kScanNew));
    EXPECT_TRUE(enabled(kSelectScanner));
    EXPECT_FALSE(enabled(kRescan));  // nothing open to rescan

    window.answers = {ScanDialogResult::Execute};
    ASSERT_TRUE(session->router().run(kScanNew));
    EXPECT_EQ(messages.said, std::vector<std::string>{});
    EXPECT_EQ(window.titles, std::vector<std::string>{"スキャナ入力（新規）"});
    EXPECT_EQ(window.ended, 1);
    EXPECT_GT(window.changes, 0);
    ASSERT_EQ(table.fileCount(), 1);
    const std::string file = dir + "/SCAN001.TIF";
    EXPECT_EQ(doc.path(), file);
    EXPECT_EQ(settings.scanFilePath, dir);
    EXPECT_TRUE(enabled(kRescan));

    // The file as libtiff reads it is the page the view shows.
    PageRaster written;
    ASSERT_TRUE(test::readTiffWithLibtiff(file, 0, written));
    EXPECT_EQ(written.width, 704);
    EXPECT_EQ(written.height, 1056);
    session->view().ShowCurrentPage();
    ASSERT_NE(session->view().orientation().displayed(), nullptr);
    EXPECT_EQ(test::firstDifferentRow(*session->view().orientation().displayed(), written), -1);
}

TEST_F(ScanSessionRun, AScanToFaxWithoutASendJobSaysSoAndKeepsThePage) {
    window.faxJob = false;
    window.answers = {ScanDialogResult::Execute, ScanDialogResult::Send};
    ASSERT_TRUE(session->router().run(kFaxFromScanner));
    EXPECT_EQ(messages.said, std::vector<std::string>{ScanSession::kFaxUnavailable});
    EXPECT_EQ(window.sends, 0);
    ASSERT_EQ(table.fileCount(), 1);
    EXPECT_EQ(std::filesystem::path(doc.path()).filename(), "FAX-001.MH");

    // With the window's send job the page goes to it.
    window.faxJob = true;
    messages.said.clear();
    window.answers = {ScanDialogResult::Execute, ScanDialogResult::Send};
    ASSERT_TRUE(session->router().run(kFaxFromScanner));
    EXPECT_EQ(window.sends, 1);
    EXPECT_EQ(messages.said, std::vector<std::string>{});
}

TEST(ScanSessionAbsent, WithoutAScanWindowTheScanCommandsAreOff) {
    test::DocumentFixture fixture;
    test::FakeViewHost host;
    CoreSession session(fixture.settings, fixture.table, fixture.doc,
                        SessionWindow{host, [] { return std::make_unique<test::NoFileEditor>(); }, nullptr,
                                      [] { return false; }});
    for (const int id : {kSelectScanner, kScanNew, kRescan, kCopyDirect, kCopyWithPrinterSetup, kFaxFromScanner}) {
        EXPECT_FALSE(session.router().state(id).enabled) << id;
    }
    EXPECT_FALSE(session.router().state(kFaxSend).enabled);  // no pages and no scanner to get them from
}

}  // namespace
}  // namespace lumipage
