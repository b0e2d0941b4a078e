// Whole send jobs against the simulated modem (class 2 and class 2.0): the
// checks before the call, set-up retries, redialling with its countdown,
// the page loop and its marks, and received pages decoded by netpbm
// compared with the pages sent.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>

#include "document/PageWord.h"
#include "fax/DocumentFaxPages.h"
#include "fax/FaxProgress.h"
#include "fax/FaxSendJob.h"
#include "fax/FaxTexts.h"
#include "support/DocumentFixture.h"
#include "support/LibtiffFiles.h"
#include "support/ModemFixture.h"
#include "support/ReceivedFax.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::ModemScript;

// Records the progress window and answers the dialogs as scripted.
class ScriptedUi : public FaxSendUi, public FaxProgress {
public:
    std::vector<FaxSendValues> dialogs;  // what the send dialog is filled with, in turn
    std::vector<bool> retries;           // the retry dialog's answers, in turn
    std::vector<std::string> retryReasons;
    std::vector<std::string> steps, results;
    std::vector<int> seconds;
    std::vector<Beep> beeps;
    std::string station, number;
    int dialogsShown = 0, progressOpen = 0;
    std::function<void(int)> onSeconds;
    std::function<void()> onStep;

    bool askSendValues(FaxSendValues& values, int) override {
        if (size_t(dialogsShown) >= dialogs.size()) return false;
        const int start = values.startPage, end = values.endPage;  // the dialog opens on the whole range
        values = dialogs[size_t(dialogsShown++)];
        values.startPage = start;
        values.endPage = end;
        return true;
    }
    FaxProgress& openProgress() override {
        ++progressOpen;
        return *this;
    }
    void closeProgress() override { --progressOpen; }
    bool askRetry(std::string_view reason) override {
        retryReasons.emplace_back(reason);
        if (retries.empty()) return false;
        const bool again = retries.front();
        retries.erase(retries.begin());
        return again;
    }
    void showStep(std::string_view text) override {
        steps.emplace_back(text);
        if (onStep) onStep();
    }
    void showNumber(std::string_view n) override { number = n; }
    void showStation(std::string_view s) override { station = s; }
    void showPage(int32_t) override {}
    void showFileName(std::string_view) override {}
    void showRow(int32_t) override {}
    void showPageResult(std::string_view text) override { results.emplace_back(text); }
    void showBytesWritten(size_t) override {}
    void showBytesQueued(size_t) override {}
    void showSecondsLeft(std::optional<int32_t> s) override {
        if (!s) return;
        seconds.push_back(*s);
        if (onSeconds) onSeconds(*s);
    }
    void showDialNow(bool) override {}
    void beep(Beep kind) override { beeps.push_back(kind); }

    bool stepped(std::string_view text) const { return std::find(steps.begin(), steps.end(), text) != steps.end(); }
};

// Pages drawn in memory, with the marks the job gives them.
class MemoryPages : public FaxJobPages {
public:
    explicit MemoryPages(int count) {
        // Already fax pages (1728 x 2290, fine): each must arrive as it is.
        for (int i = 0; i < count; ++i) pages.push_back(test::makePage(test::Pattern::Text, 1728, 2290, uint32_t(i + 1)));
        marks.resize(size_t(count));
    }
    std::vector<PageRaster> pages;
    std::vector<uint8_t> marks;
    bool enabled = true;
    int current = 0;

    int rangePages() const override { return int(pages.size()); }
    int globalPage(int n) const override { return n; }
    Load showPage(int page) override {
        current = page;
        return Load::Ok;
    }
    const PageRaster* displayedPage() const override { return &pages[size_t(current - 1)]; }
    std::string fileName() const override { return "page.tif"; }
    void markPage(int page, uint8_t m) override { marks[size_t(page - 1)] = m; }
    void saveView() override {}
    void restoreView() override {}
    void enableMainWindow(bool on) override { enabled = on; }
};

FaxSendValues values(std::string number = "03-1234-5678") {
    FaxSendValues v;
    v.number = std::move(number);
    v.redials = 0;
    v.waitMinutes = 1;
    return v;
}

struct Job : test::ModemFixture {
    explicit Job(ModemScript script = {}, int pageCount = 1)
        : ModemFixture(std::move(script)), fax(link), pages(pageCount), job(link, fax, ui, pages, messages, settings) {
        settings.comDevices = {simulator.device(), "/nonexistent/ttyS1", "/nonexistent/ttyS2", "/nonexistent/ttyS3"};
    }
    void run() {
        FaxSendValues kept;
        job.run(kept);
    }

    Class2Transmitter fax;
    ScriptedUi ui;
    MemoryPages pages;
    test::RecordingMessages messages;
    Settings settings;
    FaxSendJob job;
};

TEST(FaxSendJob, ChecksBeforeTheCallReturnToTheDialog) {
    Job j;
    FaxSendValues com3 = values();
    com3.port = 3;
    j.ui.dialogs = {values(""), com3};
    j.run();
    EXPECT_EQ(j.messages.said, (std::vector<std::string>{std::string(faxtext::kNoNumber),
                                                         "COM3ポートは使用できません\n/nonexistent/ttyS2 がありません（接続を確かめてください）"}));
    EXPECT_EQ(j.ui.dialogsShown, 2);
    EXPECT_TRUE(j.simulator.commands().empty());
    EXPECT_EQ(j.settings.commPort, 3);  // the dialog's values are kept
}

// The modem's lock file keeps two programs off one modem: a live owner's
// lock refuses the call before the port is opened, naming the owner; the
// lock of a program that has ended is taken over, and the call holds the
// lock until it ends.
TEST(FaxSendJob, AModemAnotherProgramHoldsIsLeftAloneAndAnEndedOnesLockIsTakenOver) {
    const auto writeLock = [](const std::string& path, pid_t pid) {
        std::ofstream(path) << std::setw(10) << pid << "\n";
    };
    {
        Job j;
        const pid_t owner = ::getppid();  // a process that runs as long as the test does
        writeLock(j.lockFile(), owner);
        j.ui.dialogs = {values()};
        j.run();
        ASSERT_EQ(j.messages.said.size(), 1u);
        EXPECT_EQ(j.messages.said[0], "COM1ポートは使用できません\n" + j.simulator.device() + " は他のプログラム（プロセス " +
                                          std::to_string(owner) + "）が使っています");
        EXPECT_TRUE(j.simulator.commands().empty());
        EXPECT_EQ(SerialPortLock::otherHolder(j.simulator.device(), {j.lockFolder, true}), owner);
    }
    Job j;
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    writeLock(j.lockFile(), ended);
    bool lockedDuringCall = false;
    j.ui.onStep = [&] { lockedDuringCall = lockedDuringCall || std::filesystem::exists(j.lockFile()); };
    j.ui.dialogs = {values()};
    j.run();
    EXPECT_TRUE(j.messages.said.empty()) << j.messages.said.front();
    EXPECT_FALSE(j.simulator.commands().empty());
    EXPECT_TRUE(lockedDuringCall);
    EXPECT_FALSE(std::filesystem::exists(j.lockFile())) << "the lock outlived the call";
}

TEST(FaxSendJob, SetUpFailuresOfferARetry) {
    ModemScript s;
    s.classes = "0,1";
    Job j(s);
    j.ui.dialogs = {values()};
    j.ui.retries = {true, false};
    j.run();
    EXPECT_EQ(j.ui.retryReasons, std::vector<std::string>(2, std::string(faxtext::kClass2Invalid)));
    EXPECT_EQ(j.ui.progressOpen, 0);
    EXPECT_FALSE(j.link.isOpen());
    EXPECT_EQ(j.ui.dialogsShown, 1);  // cancelled, back to the dialog, which is cancelled too
}

// The jobs below run through a class 2 modem, through a class 2.0 one and
// through a 2.0 one that gives some reports their class 2 names: the user
// sees the same steps, marks and page results from each.
struct ModemKind {
    const char* name;
    const char* classes;
    bool mixedReports;
};

class EveryModem : public ::testing::TestWithParam<ModemKind> {
protected:
    static ModemScript script() {
        ModemScript s;
        s.classes = GetParam().classes;
        s.mixedReports = GetParam().mixedReports;
        return s;
    }
    static bool class2() { return std::string_view(GetParam().classes) == "0,1,2"; }
};

INSTANTIATE_TEST_SUITE_P(FaxSendJob, EveryModem,
                         ::testing::Values(ModemKind{"Class2", "0,1,2", false}, ModemKind{"Class20", "0,1,2.0", false},
                                           ModemKind{"Class20MixedReports", "0,1,2.0", true}),
                         [](const ::testing::TestParamInfo<ModemKind>& info) { return std::string(info.param.name); });

TEST_P(EveryModem, PagesAreMarkedAndARetrainEndsTheJobInError) {
    ModemScript s = script();
    s.pageStatus[1] = 2;
    Job j(s, 3);
    j.settings.localId = "LUMIPAGE";
    FaxSendValues v = values();
    v.localId = "LUMIPAGE";
    j.ui.dialogs = {v};
    j.run();
    EXPECT_EQ(j.pages.marks, (std::vector<uint8_t>{PageWord::kSent, PageWord::kSendError, PageWord::kSent}));
    EXPECT_EQ(j.simulator.pages().size(), 3u);  // no page is sent again
    test::expectReceivedPages(j.simulator.pages(), {&j.pages.pages[0], &j.pages.pages[1], &j.pages.pages[2]});
    EXPECT_EQ(j.ui.results, (std::vector<std::string>{std::string(faxtext::kPageGood),
                                                      std::string(faxtext::kPageBadRetrain),
                                                      std::string(faxtext::kPageGood)}));
    EXPECT_EQ(j.job.lastStep(), faxtext::kStepError);
    EXPECT_EQ(j.ui.beeps.back(), Beep::Warning);
    EXPECT_EQ(j.ui.station, "81 3 1234 5678");
    EXPECT_TRUE(j.pages.enabled);
    EXPECT_FALSE(j.link.isOpen());
    EXPECT_TRUE(j.simulator.violations().empty()) << j.simulator.violations().front();
    const auto commands = j.simulator.commands();
    if (class2()) {
        EXPECT_EQ(std::count(commands.begin(), commands.end(), "AT+FET=0"), 2);
        EXPECT_EQ(commands[commands.size() - 4], "AT+FET=2");
    } else {
        EXPECT_EQ(std::count(commands.begin(), commands.end(), "AT+FDT"), 3);
        EXPECT_EQ(std::count(commands.begin(), commands.end(), "AT+FET=0"), 0);  // the page ends in the data
    }
    EXPECT_EQ(commands[commands.size() - 3], "ATH");
    EXPECT_EQ(commands.back(), "AT+FCLASS=0");
}

TEST_P(EveryModem, AHangUpMidPageStopsTheCall) {
    ModemScript s = script();
    s.hangUpPage = 1;
    Job j(s, 3);
    j.ui.dialogs = {values()};
    j.run();
    EXPECT_EQ(j.pages.marks, (std::vector<uint8_t>{PageWord::kSent, PageWord::kSendError, 0}));
    EXPECT_EQ(j.ui.results.back(), "ERR:50");
    EXPECT_EQ(j.job.lastStep(), faxtext::kStepError);
    EXPECT_EQ(j.job.pagesSent(), 1);
}

TEST_P(EveryModem, RedialsCountDownAndDialNowCutsTheWait) {
    ModemScript s = script();
    s.dialResults = {"BUSY", "NO DIALTONE", "BUSY"};
    Job j(s);
    FaxSendValues v = values();
    v.redials = 2;
    j.ui.dialogs = {v};
    j.ui.onSeconds = [&](int left) {
        if (left == 55 && j.ui.seconds.size() > 10) j.job.dialNow();  // in the second wait
    };
    j.run();
    const auto& st = j.ui.steps;
    EXPECT_EQ(std::count(st.begin(), st.end(), faxtext::kStepDialling), 3);
    EXPECT_EQ(std::count(st.begin(), st.end(), faxtext::kStepRedialWait), 2);
    EXPECT_TRUE(j.ui.stepped(faxtext::kBusy));
    EXPECT_TRUE(j.ui.stepped(faxtext::kNoDialTone));
    EXPECT_EQ(j.job.lastStep(), faxtext::kStepNotConnected);
    // The first wait counts every second from 60 to 1, the second stops at 55.
    ASSERT_GE(j.ui.seconds.size(), 66u);
    EXPECT_EQ(j.ui.seconds.front(), 60);
    EXPECT_EQ(j.ui.seconds[59], 1);
    EXPECT_EQ(j.ui.seconds[60], 60);
    EXPECT_EQ(j.ui.seconds.back(), 55);
    EXPECT_EQ(j.pages.marks[0], 0);  // no page was tried
    EXPECT_FALSE(j.link.isOpen());
}

TEST(FaxSendJob, CancelWhileWaitingEndsTheJobWithoutMarks) {
    ModemScript s;
    s.dialResults = {"NO ANSWER"};
    Job j(s);
    FaxSendValues v = values();
    v.redials = 5;
    j.ui.dialogs = {v};
    j.ui.onSeconds = [&](int left) {
        if (left == 58) j.link.requestAbort();
    };
    j.run();
    const auto& st = j.ui.steps;
    EXPECT_EQ(std::count(st.begin(), st.end(), faxtext::kStepDialling), 1);
    EXPECT_EQ(j.job.lastStep(), faxtext::kStepRedialWait);
    EXPECT_EQ(j.pages.marks[0], 0);
    EXPECT_TRUE(j.pages.enabled);
    EXPECT_EQ(j.ui.progressOpen, 0);
}

TEST(FaxSendJob, MixedPagesArriveAsOurOwnFitOfEachPage) {
    test::DocumentFixture d;
    const PageRaster faxPage = test::makePage(test::Pattern::Text, 1728, 2290, 31);
    const PageRaster tiffPage = test::makePage(test::Pattern::ThinLines, 2480, 3300, 32);
    const PageRaster bmpPage = test::makePage(test::Pattern::Text, 1400, 900, 33);  // landscape
    const std::string faxPath = d.writeFax("one.FAX", faxPage);
    const std::string tiffPath = d.dir + "/two.tif";
    test::LibtiffPage tiff{&tiffPage};
    tiff.xResolution = tiff.yResolution = 300;
    ASSERT_TRUE(test::writeTiffWithLibtiff(tiffPath, {tiff}));
    ASSERT_TRUE(test::writePbm(d.dir + "/three.pbm", bmpPage));
    ASSERT_EQ(test::runCommand("cd '" + d.dir + "' && ppmtobmp -bpp 1 three.pbm > three.bmp 2>/dev/null"), 0);
    ASSERT_TRUE(d.doc.openChosen({faxPath, tiffPath, d.dir + "/three.bmp"}));
    ASSERT_EQ(d.table.totalPages(), 3);

    test::ModemFixture m;
    Class2Transmitter fax(m.link);
    ScriptedUi ui;
    ui.dialogs = {values()};
    d.settings.comDevices[0] = m.simulator.device();
    DocumentFaxPages pages(d.doc, DocumentFaxPages::Range::All);
    FaxSendJob job(m.link, fax, ui, pages, d.messages, d.settings);
    FaxSendValues kept;
    job.run(kept);
    EXPECT_EQ(job.lastStep(), faxtext::kStepDone);
    for (int page = 1; page <= 3; ++page) EXPECT_EQ(d.table.word(page).marks() & PageWord::kSendMarks, PageWord::kSent);

    const auto received = m.simulator.pages();
    ASSERT_EQ(received.size(), 3u);
    FitScaler scaler;
    for (int page = 1; page <= 3; ++page) {
        ASSERT_TRUE(d.doc.goToPage(page));
        const PageRaster& loaded = d.doc.raster();
        PageRaster fitted;
        fitted.setSize(FitScaler::kFaxWidth, FitScaler::kFaxHeight);
        ASSERT_TRUE(scaler.fitIntoRaster(loaded, std::nullopt, fitted, std::nullopt, loaded.width > loaded.height));
        const PageRaster decoded = test::decodeReceivedFax(received[size_t(page - 1)]);
        ASSERT_EQ(decoded.width, FitScaler::kFaxWidth) << page;
        ASSERT_EQ(decoded.height, FitScaler::kFaxHeight) << page;
        EXPECT_EQ(test::firstDifferentRow(decoded, fitted), -1) << page;
    }
    // The fax page was already of the fax size: it arrives as it is.
    test::expectReceivedPages({received[0]}, {&faxPage});
}

}  // namespace
}  // namespace lumipage
