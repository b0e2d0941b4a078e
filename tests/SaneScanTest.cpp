// Scanning through our own source manager library and SANE's "test"
// backend, configured in a private SANE_CONFIG_DIR.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "scan/ScanJob.h"
#include "scan/SourceManagerLibrary.h"
#include "scan/TwainSession.h"
#include "support/DocumentFixture.h"
#include "support/FakeTwainSource.h"
#include "support/LibtiffFiles.h"
#include "support/ScriptedScanUi.h"
#include "support/SaneTestBackend.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::DocumentFixture;
using test::FakeHost;
using test::ScriptedScanUi;

struct GrayImage {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
};

// A binary PGM (P5, maxval 255) as scanimage writes it.
bool readPgm(const std::string& path, GrayImage& image) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    in >> magic;
    auto next = [&in](int& value) {
        while (in >> std::ws && in.peek() == '#') in.ignore(1 << 16, '\n');
        in >> value;
    };
    next(image.width);
    next(image.height);
    next(maxval);
    in.get();
    if (magic != "P5" || maxval != 255 || image.width <= 0 || image.height <= 0) return false;
    image.pixels.resize(size_t(image.width) * size_t(image.height));
    in.read(reinterpret_cast<char*>(image.pixels.data()), std::streamsize(image.pixels.size()));
    return bool(in);
}

bool ink(const PageRaster& page, int x, int y) { return (page.row(y)[x / 8] >> (7 - x % 8)) & 1; }
bool inkAt(const PageRaster& page, int x, int y) { return ink(page, x, y); }

class SaneScan : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(test::runCommand("command -v scanimage >/dev/null 2>&1"), 0) << "sane-utils missing (./dev installs it)";
        std::string error;
        sane = test::useSaneTestBackend(error);
        ASSERT_FALSE(sane.empty()) << error;
        writeConfig("test", "Default");
    }
    void writeConfig(const std::string& backends, const std::string& readStatus) {
        std::ofstream(sane + "/dll.conf") << backends << "\n";
        std::ofstream(sane + "/test.conf") << "number_of_devices 1\nmode Gray\ndepth 8\ntest-picture \"Grid\"\n"
                                           << "read-status-code \"" << readStatus << "\"\n";
    }
    // The backend's own picture at the same settings, as scanimage gives it.
    std::string reference(int depth) {
        const std::string path = sane + "/reference" + std::to_string(depth);
        const std::string command = "SANE_CONFIG_DIR=" + sane + " scanimage -d test:0 --mode Gray --depth " +
                                    std::to_string(depth) + " --resolution 300 -l 0 -t 0 -x 60 -y 90 --format=pnm > " +
                                    path + " 2>/dev/null";
        EXPECT_EQ(test::runCommand(command), 0);
        return path;
    }

    ScanSettings settings() {
        ScanSettings s;
        s.folder = doc.dir;
        s.prefix = "SCAN";
        s.customSize = true;
        s.customWidth = 60;
        s.customHeight = 90;
        return s;
    }

    std::string sane;
    DocumentFixture doc;
    FakeHost host;
    DlopenSourceManager library{LUMIPAGE_TWAINDSM};
    TwainSession session{library, doc.messages, host, "Lumipage test"};
    ScriptedScanUi ui;
};

TEST_F(SaneScan, LineartAndGrayPagesArriveInThePageListAsFiles) {
    ScanSettings kept = settings();
    ScanJob job(session, doc.doc, doc.messages, ui, kept, doc.dir + "/LpFax");
    ui.answers = {ScanDialogResult::Execute};
    job.run(ScanMode::NewFiles);
    kept.adjustThreshold = true;  // gray data, thresholded here at 128
    ui.answers = {ScanDialogResult::Execute};
    job.run(ScanMode::NewFiles);
    ASSERT_EQ(doc.messages.said, std::vector<std::string>{});
    EXPECT_EQ(kept.number, "003");
    EXPECT_EQ(ui.thresholdDialogs, 1);
    EXPECT_EQ(session.state(), 1);
    ASSERT_EQ(doc.table.fileCount(), 2);
    EXPECT_EQ(doc.doc.path(), doc.dir + "/SCAN002.TIF");
    EXPECT_EQ(doc.doc.raster().dpi, 300);
    ASSERT_FALSE(ui.dialogs.empty());
    EXPECT_EQ(ui.dialogs[0].title, "スキャナ入力（新規）");

    PageRaster lineart, expectedLineart;
    ASSERT_TRUE(test::readTiffWithLibtiff(doc.dir + "/SCAN001.TIF", 0, lineart));
    ASSERT_TRUE(test::readPbm(reference(1), expectedLineart));
    ASSERT_EQ(lineart.width, expectedLineart.width & ~7);
    ASSERT_EQ(lineart.height, expectedLineart.height & ~7);
    EXPECT_NE(lineart.width, expectedLineart.width);  // the cut shows: 60 mm at 300 dpi is not whole bytes
    for (int y = 0; y < lineart.height; ++y)
        ASSERT_EQ(0, std::memcmp(lineart.row(y), expectedLineart.row(y), lineart.bytesPerRow)) << "row " << y;

    PageRaster gray;
    GrayImage expectedGray;
    ASSERT_TRUE(test::readTiffWithLibtiff(doc.dir + "/SCAN002.TIF", 0, gray));
    ASSERT_TRUE(readPgm(reference(8), expectedGray));
    ASSERT_EQ(gray.width, expectedGray.width & ~7);
    ASSERT_EQ(gray.height, expectedGray.height & ~7);
    int blacks = 0;
    for (int y = 0; y < gray.height; ++y) {
        for (int x = 0; x < gray.width; ++x) {
            const bool black = expectedGray.pixels[size_t(y) * size_t(expectedGray.width) + size_t(x)] < 128;
            ASSERT_EQ(ink(gray, x, y), black) << x << "," << y;
            blacks += black;
        }
    }
    EXPECT_GT(blacks, gray.width * gray.height / 4);  // the grid is about half black
}

// A dither and an error diffusion follow the gray the scanner delivers:
// over each block of the page the share of white is the block's mean gray
// (checked against the backend's own gray picture of the same frame, its
// colour pattern with even and graded grays). The 8 x 8 dither holds
// to it in every block of 8 x 8, the diffusion over larger ones. A zoom of
// 200 % scans twice the pixels each way at the resolution asked for.
TEST_F(SaneScan, DitherDiffusionAndZoomAreOfferedAndChangeThePage) {
    std::ofstream(sane + "/test.conf") << "number_of_devices 1\ntest-picture \"Color pattern\"\n";
    ScanSettings kept = settings();
    ScanJob job(session, doc.doc, doc.messages, ui, kept, doc.dir + "/LpFax");
    for (const int reduction : {0, 1, 2}) {
        kept.reduction = reduction;
        ui.answers = {ScanDialogResult::Execute};
        job.run(ScanMode::NewFiles);
    }
    EXPECT_EQ(ui.reductions, (std::vector<std::string>{"なし", "デイザ", "誤差拡散"}));
    ASSERT_TRUE(ui.zoom.has_value());
    EXPECT_LE(ui.zoom->minimum, 50);
    EXPECT_GE(ui.zoom->maximum, 400);  // 1200 dpi at most, 300 asked for
    kept.reduction = 0;
    kept.zoom = 200;
    ui.answers = {ScanDialogResult::Execute};
    job.run(ScanMode::NewFiles);
    ASSERT_EQ(doc.messages.said, std::vector<std::string>{});
    EXPECT_EQ(doc.doc.raster().dpi, 300);

    PageRaster pages[4];
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(test::readTiffWithLibtiff(doc.dir + "/SCAN00" + std::to_string(i + 1) + ".TIF", 0, pages[i])) << i;
    GrayImage gray;
    ASSERT_TRUE(readPgm(reference(8), gray));
    // The largest difference between a block's white share and its mean gray.
    const auto worstBlock = [&gray](const PageRaster& page, int size) {
        double worst = 0;
        for (int by = 0; by + size <= page.height; by += size) {
            for (int bx = 0; bx + size <= page.width; bx += size) {
                int white = 0, sum = 0;
                for (int y = by; y < by + size; ++y) {
                    for (int x = bx; x < bx + size; ++x) {
                        white += inkAt(page, x, y) ? 0 : 1;
                        sum += gray.pixels[size_t(y) * size_t(gray.width) + size_t(x)];
                    }
                }
                const double area = double(size) * size;
                worst = std::max(worst, std::fabs(white / area - sum / area / 255));
            }
        }
        return worst;
    };
    EXPECT_GT(worstBlock(pages[0], 8), 0.3);  // a threshold does not follow the gray
    EXPECT_LT(worstBlock(pages[1], 8), 0.08);  // 64 levels, and grays that change within a block
    EXPECT_LT(worstBlock(pages[2], 32), 0.04);
    EXPECT_NE(0, std::memcmp(pages[1].row(0), pages[2].row(0), pages[1].bytesPerRow));
    EXPECT_NEAR(pages[3].width, 2 * pages[0].width, 8);
    EXPECT_NEAR(pages[3].height, 2 * pages[0].height, 8);
}

class PickSecond : public SourceChooser {
public:
    std::vector<std::string> offered;
    std::optional<size_t> choose(const std::vector<std::string>& sources, size_t) override {
        offered = sources;
        return 1;
    }
};

TEST_F(SaneScan, TheChosenSourceBecomesTheDefault) {
    std::ofstream(sane + "/test.conf") << "number_of_devices 2\n";
    PickSecond chooser;
    EXPECT_TRUE(session.SelectSource(chooser));
    EXPECT_EQ(chooser.offered, (std::vector<std::string>{"test:0", "test:1"}));
    EXPECT_EQ(session.state(), 1);
    ASSERT_TRUE(session.OpenDefaultSource());
    EXPECT_STREQ(session.sourceIdentity().ProductName, "test:1");
    session.CloseSource();
    EXPECT_TRUE(doc.messages.said.empty());
}

TEST_F(SaneScan, TheFeederDeliversPagesUntilItIsEmpty) {
    ScanSettings kept = settings();
    kept.feeder = true;
    kept.multiPage = true;
    kept.customWidth = kept.customHeight = 20;
    ScanJob job(session, doc.doc, doc.messages, ui, kept, doc.dir + "/LpFax");
    ui.answers = {ScanDialogResult::Execute};
    job.run(ScanMode::NewFiles);
    EXPECT_TRUE(doc.messages.said.empty()) << doc.messages.last();
    EXPECT_EQ(doc.table.fileCount(), 10);  // the backend's feeder holds ten sheets
    EXPECT_TRUE(std::filesystem::exists(doc.dir + "/SCAN010.TIF"));
    EXPECT_EQ(kept.number, "011");
    EXPECT_EQ(ui.conversions, 1);  // several pages and "ﾏﾙﾁﾍﾟｰｼﾞ": converted into one file
    EXPECT_FALSE(kept.multiPage);
    EXPECT_EQ(session.state(), 1);
}

TEST_F(SaneScan, NoScannerIsReportedAndNothingIsShown) {
    writeConfig("", "Default");
    ScanSettings kept = settings();
    ScanJob job(session, doc.doc, doc.messages, ui, kept, doc.dir + "/LpFax");
    job.run(ScanMode::NewFiles);
    EXPECT_EQ(doc.messages.said, std::vector<std::string>{
                                     "Unable to open default Data Source.\nSource Manager operation failed\n"
                                     "RC:   TWRC_FAILURE\nCC:   TWCC_NODS (No Data Source)"});
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_EQ(session.state(), 1);
    EXPECT_FALSE(job.busy());
}

TEST_F(SaneScan, AScannerFailingMidScanLeavesNoFile) {
    writeConfig("test", "SANE_STATUS_IO_ERROR");
    ScanSettings kept = settings();
    ScanJob job(session, doc.doc, doc.messages, ui, kept, doc.dir + "/LpFax");
    ui.answers = {ScanDialogResult::Execute};  // then the dialog comes back and is closed
    job.run(ScanMode::NewFiles);
    EXPECT_EQ(ui.dialogs.size(), 2u);
    ASSERT_EQ(doc.messages.said.size(), 1u);
    EXPECT_EQ(doc.messages.said[0].rfind("Image transfer failed.\nDataSource operation failed\nRC:   TWRC_FAILURE", 0), 0u);
    EXPECT_EQ(doc.table.fileCount(), 0);
    EXPECT_EQ(kept.number, "001");
    for (const auto& entry : std::filesystem::directory_iterator(doc.dir))
        EXPECT_TRUE(entry.is_directory()) << entry.path();  // no file, whole or half
}

}  // namespace
}  // namespace lumipage
