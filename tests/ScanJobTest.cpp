#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "scan/ScanJob.h"
#include "twain/TwainContainer.h"
#include "support/DocumentFixture.h"
#include "support/FakeTwainSource.h"
#include "support/ScriptedScanUi.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using namespace twain;
using test::FakeHost;
using test::FakeLibrary;
using test::FakeTwainSource;
using test::ScriptedScanUi;

struct Job {
    explicit Job(FakeTwainSource& s) : source(s), library(&s) {
        source.answer(ICAP_PHYSICALWIDTH, TWON_ONEVALUE, makeOneValue(TWTY_FIX32, fix32Bits(toFix32(8.5))));
        source.answer(ICAP_PHYSICALHEIGHT, TWON_ONEVALUE, makeOneValue(TWTY_FIX32, fix32Bits(toFix32(11.7))));
        source.fillGray({0, 255});
        kept.folder = doc.dir;
        kept.prefix = "P";
    }
    std::vector<uint16_t> setOrder() const {
        std::vector<uint16_t> caps;
        for (const auto& [cap, value] : source.sets) caps.push_back(cap);
        return caps;
    }
    double valueSet(uint16_t cap) const {
        for (const auto& [c, value] : source.sets)
            if (c == cap) return value;
        return -1;
    }
    FakeTwainSource& source;
    test::DocumentFixture doc;
    FakeLibrary library;
    FakeHost host;
    TwainSession session{library, doc.messages, host, "t"};
    ScanSettings kept;
    ScriptedScanUi ui;
    ScanJob job{session, doc.doc, doc.messages, ui, kept, doc.dir + "/LpFax"};
};

TEST(ScanJob, SetsCapabilitiesInOrderAndKeepsThePageAsAFile) {
    FakeTwainSource source;
    source.refusedSets = {ICAP_THRESHOLD};  // brightness is sent instead
    Job j(source);
    j.kept.brightness = 50;
    j.kept.resolution = "200";
    j.kept.fileType = ".MH*";
    j.kept.paperSize = 10;  // A4, landscape
    j.kept.landscape = true;
    j.ui.answers = {ScanDialogResult::Execute};
    j.job.run(ScanMode::NewFiles);
    EXPECT_TRUE(j.doc.messages.said.empty()) << j.doc.messages.last();
    // The flatbed is said too: the source may still have its feeder on.
    const std::vector<uint16_t> expected{ICAP_UNITS,     CAP_FEEDERENABLED, ICAP_PIXELTYPE,  ICAP_YRESOLUTION,       ICAP_XRESOLUTION,
                                         ICAP_XSCALING,  ICAP_YSCALING,   ICAP_BITDEPTHREDUCTION, ICAP_THRESHOLD,
                                         ICAP_BRIGHTNESS, 0xffff,         CAP_INDICATORS,         ICAP_XFERMECH};
    EXPECT_EQ(j.setOrder(), expected);
    EXPECT_EQ(j.valueSet(ICAP_PIXELTYPE), TWPT_BW);
    EXPECT_EQ(j.valueSet(CAP_FEEDERENABLED), 0);
    EXPECT_EQ(j.valueSet(ICAP_XRESOLUTION), 200);
    EXPECT_EQ(j.valueSet(ICAP_THRESHOLD), 69);  // 235 * (-150) / 200 + 245, truncated
    EXPECT_EQ(j.valueSet(ICAP_BRIGHTNESS), 500);
    EXPECT_NEAR(j.valueSet(0xffff), 297 / 25.399, 1e-4);  // the frame's right edge: landscape A4
    EXPECT_EQ(j.valueSet(ICAP_XFERMECH), TWSX_MEMORY);

    const std::string file = j.doc.dir + "/P001.MH";  // ".MH*" became the page file of a 300 dpi page
    ASSERT_EQ(j.doc.table.fileCount(), 1);
    EXPECT_EQ(j.doc.doc.path(), file);
    EXPECT_EQ(j.kept.number, "002");
    ASSERT_TRUE(j.doc.doc.goToPage(1));
    EXPECT_EQ(j.doc.doc.raster().width, 64);
    EXPECT_EQ(j.doc.doc.raster().row(3)[0], 0xAA);
}

TEST(ScanJob, GrayPagesCanBeRethresholdedBeforeTheyAreKept) {
    FakeTwainSource source;
    Job j(source);
    source.fillGray({100, 140, 160, 200});
    j.kept.adjustThreshold = true;
    j.ui.newThreshold = 150;
    j.ui.newFileName = "Receipt.TIF";
    j.ui.answers = {ScanDialogResult::Execute};
    j.job.run(ScanMode::NewFiles);
    EXPECT_EQ(j.doc.doc.path(), j.doc.dir + "/Receipt.TIF");  // the name typed in the dialog
    EXPECT_EQ(j.ui.thresholdDialogs, 1);
    EXPECT_EQ(j.kept.threshold, 150);
    EXPECT_EQ(j.valueSet(ICAP_PIXELTYPE), TWPT_GRAY);
    EXPECT_EQ(j.valueSet(ICAP_BITDEPTH), 8);
    ASSERT_TRUE(j.doc.doc.goToPage(1));
    EXPECT_EQ(j.doc.doc.raster().row(0)[0], 0b11001100);  // 100 and 140 below 150
}

TEST(ScanJob, TheDialogTitleTellsWhatHappensToTheTarget) {
    FakeTwainSource source;
    Job j(source);
    bool enabled = false;
    EXPECT_EQ(j.job.dialogTitle(ScanMode::NewFiles, j.kept, &enabled), "スキャナ入力（新規）");
    EXPECT_TRUE(enabled);
    const std::string target = j.doc.dir + "/P001.TIF";
    std::ofstream(target) << "x";
    EXPECT_EQ(j.job.dialogTitle(ScanMode::NewFiles, j.kept, &enabled), "スキャナ入力（上書）");
    EXPECT_FALSE(enabled);
    j.kept.overwrite = true;
    EXPECT_EQ(j.job.dialogTitle(ScanMode::ScanToFax, j.kept, &enabled), "スキャナ入力・ＦＡＸ（上書）");
    EXPECT_TRUE(enabled);
    if (::geteuid() != 0) {  // root writes anything
        std::filesystem::permissions(target, std::filesystem::perms::owner_read);
        EXPECT_EQ(j.job.dialogTitle(ScanMode::NewFiles, j.kept, &enabled), "スキャナ入力（上書）[保護ファイル]");
        EXPECT_FALSE(enabled);
        std::filesystem::permissions(target, std::filesystem::perms::owner_all);
    }
    j.ui.answers = {ScanDialogResult::Execute};
    j.job.run(ScanMode::NewFiles);  // overwrites P001.TIF and opens it
    EXPECT_EQ(j.kept.number, "002");
    j.kept.number = "001";
    EXPECT_EQ(j.job.dialogTitle(ScanMode::NewFiles, j.kept, &enabled), "スキャナ入力（再スキャン）");
    EXPECT_EQ(j.job.dialogTitle(ScanMode::Copy, j.kept, &enabled), "スキャナ入力・コピー");
}

TEST(ScanJob, CopiesPrintWithoutKeepingAFileAndFaxScansGoToTheWorkFolder) {
    FakeTwainSource source;
    Job j(source);
    j.ui.answers = {ScanDialogResult::Execute, ScanDialogResult::Execute};
    j.job.run(ScanMode::Copy, PrinterDialog::Show);
    EXPECT_EQ(j.ui.copies, std::vector<PrinterDialog>{PrinterDialog::Show});
    EXPECT_EQ(j.ui.dialogs.size(), 1u);  // a copy ends the job
    EXPECT_EQ(j.ui.dialogs[0].title, "スキャナ入力・コピー");
    EXPECT_FALSE(j.ui.dialogs[0].sourceDialogEnabled);
    EXPECT_EQ(j.doc.table.fileCount(), 0);
    EXPECT_FALSE(j.doc.doc.isLoaded());

    FakeTwainSource fax;
    Job f(fax);
    std::filesystem::create_directories(f.doc.dir + "/LpFax");
    std::ofstream(f.doc.dir + "/LpFax/FAX-002.MH1") << "x";
    f.ui.answers = {ScanDialogResult::Execute, ScanDialogResult::Execute, ScanDialogResult::Send};
    f.job.run(ScanMode::ScanToFax);
    EXPECT_EQ(f.ui.dialogs.size(), 3u);  // continuous: back to the dialog after each page
    EXPECT_EQ(f.ui.dialogs[0].title, "スキャナ入力・ＦＡＸ（新規）");
    EXPECT_TRUE(f.ui.dialogs[2].sendEnabled);
    EXPECT_EQ(f.ui.sends, 1);
    EXPECT_TRUE(std::filesystem::exists(f.doc.dir + "/LpFax/FAX-001.MH"));
    EXPECT_TRUE(std::filesystem::exists(f.doc.dir + "/LpFax/FAX-003.MH"));  // 002 was taken
    EXPECT_EQ(f.kept.prefix, "P");  // the kept settings are not the fax job's
}

}  // namespace
}  // namespace lumipage

namespace lumipage {
namespace {

// A feeder that is empty when the scan starts says so in a TWAIN box, and
// the dialog comes back for another try.
TEST(ScanJob, AnEmptyFeederAtTheStartIsSaid) {
    FakeTwainSource source;
    source.pages = 0;
    source.closeCondition = TWCC_NOMEDIA;
    Job j(source);
    j.kept.feeder = true;
    j.ui.answers = {ScanDialogResult::Execute};
    j.job.run(ScanMode::NewFiles);
    EXPECT_EQ(j.doc.messages.said, std::vector<std::string>{"Image transfer failed.\nDataSource operation failed\n"
                                                            "RC:   TWRC_FAILURE\nCC:   TWCC_NOMEDIA (No pages in the feeder)"});
    EXPECT_EQ(j.ui.dialogs.size(), 2u);
    EXPECT_EQ(j.doc.table.fileCount(), 0);
    EXPECT_EQ(j.valueSet(CAP_AUTOFEED), 1);
}

}  // namespace
}  // namespace lumipage
