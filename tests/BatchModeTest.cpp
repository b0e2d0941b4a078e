// Batch conversion through the program itself: `lumipage -=OUT FILES...`
// with and without -ONE, read back by libtiff and netpbm; and the switch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/CommandLine.h"
#include "comments/CommentFile.h"
#include "platform/TextCodec.h"
#include "base/Settings.h"
#include "image/BmpFile.h"
#include "support/DocumentFixture.h"
#include "support/LibtiffFiles.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

TEST(CommandLine, OneAsksForOneOutputFile) {
    Settings s;
    EXPECT_TRUE(parseCommandLine({"-ONE", "-=all.tif", "a.FAX"}, s).oneFile);
    const StartupRequest plain = parseCommandLine({"-=all.tif", "-one", "-ONEX", "a.FAX"}, s);
    EXPECT_FALSE(plain.oneFile);  // switches are compared exactly; unknown ones are ignored
    EXPECT_EQ(plain.files, std::vector<std::string>{"a.FAX"});
}

// Source files of every kind the batch mode reads, and the pages they hold, in order.
struct Batch : test::DocumentFixture, ::testing::Test {
    std::vector<PageRaster> pages;
    std::vector<std::string> sources;

    Batch() {
        pages.push_back(test::makePage(test::Pattern::Text, 1728, 2290, 1));
        sources.push_back(writeFax("in/memo.FAX", pages[0]));
        pages.push_back(test::makePage(test::Pattern::Text, 320, 200, 2));
        pages.push_back(test::makePage(test::Pattern::ThinLines, 320, 200, 3));
        sources.push_back(writeMH("in/two.MH", {&pages[1], &pages[2]}));
        pages.push_back(test::makePage(test::Pattern::Noise, 200, 100, 4));
        sources.push_back(dir + "/in/noise.BMP");
        test::RecordingMessages quiet;
        EXPECT_TRUE(BmpFile::savePage(sources.back(), pages.back(), nullptr, quiet));
        pages.push_back(test::makePage(test::Pattern::Text, 400, 300, 5));
        pages.push_back(test::makePage(test::Pattern::Black, 64, 64, 6));
        sources.push_back(dir + "/in/scan.tif");
        EXPECT_TRUE(test::writeTiffWithLibtiff(sources.back(), {{&pages[4], 4}, {&pages[5], 3}}));
        std::filesystem::create_directories(dir + "/out");
        std::filesystem::create_directories(dir + "/home");
    }
    // Runs the program with its own settings folders; standard error goes to `err`.
    int run(const std::string& args, std::string* err = nullptr, const std::string& env = "") {
        const std::string errFile = dir + "/stderr.txt";
        const std::string command = "cd " + dir + " && " + env + " XDG_CONFIG_HOME=" + dir + "/home XDG_DATA_HOME=" + dir +
                                    "/home " + LUMIPAGE_EXE + " " + args + " </dev/null >/dev/null 2>" + errFile;
        const int status = test::runCommand(command);
        if (err) *err = readText(errFile);
        return status;
    }
    std::string allSources() const {
        std::string s;
        for (const std::string& p : sources) s += " " + p;
        return s;
    }
    static bool samePixels(const PageRaster& got, const PageRaster& expected) {
        return got.width == expected.width && got.height == expected.height &&
               test::firstDifferentRow(got, expected) == -1;
    }
};

TEST_F(Batch, OneMultiPageTiffHoldsEveryPageOfEveryFile) {
    ASSERT_EQ(run("-ONE -=out/all.tif" + allSources()), 0);
    for (size_t i = 0; i < pages.size(); ++i) {
        PageRaster got;
        ASSERT_TRUE(test::readTiffWithLibtiff(dir + "/out/all.tif", int(i), got)) << i;
        EXPECT_TRUE(samePixels(got, pages[i])) << i;
    }
    PageRaster beyond;
    EXPECT_FALSE(test::readTiffWithLibtiff(dir + "/out/all.tif", int(pages.size()), beyond));
    EXPECT_EQ(test::runCommand("tiffinfo " + dir + "/out/all.tif >/dev/null 2>&1"), 0);
}

// Each TIFF coding a user can choose on the command line gives files that
// libtiff reads without a warning and whose pixels come back as converted.
TEST_F(Batch, EveryTiffCodingIsReadCleanlyByLibtiff) {
    for (const std::string coding : {"-G3", "-G3MH", "-G3MR", "-G4"}) {
        const std::string out = dir + "/out/coded" + coding + ".tif";
        ASSERT_EQ(run(coding + " -ONE -=" + out + allSources()), 0) << coding;
        const std::string err = out + ".err";
        EXPECT_EQ(test::runCommand("tiffinfo '" + out + "' >/dev/null 2>'" + err + "'"), 0) << coding;
        EXPECT_EQ(readText(err.substr(dir.size() + 1)), "") << coding;
        // tiffcp decodes every page into an uncompressed copy; tifftopnm reads each page of that.
        const std::string plain = dir + "/out/plain" + coding + ".tif";
        ASSERT_EQ(test::runCommand("tiffcp -c none '" + out + "' '" + plain + "' 2>'" + err + "'"), 0) << coding;
        EXPECT_EQ(readText(err.substr(dir.size() + 1)), "") << coding;
        for (size_t i = 0; i < pages.size(); ++i) {
            const std::string pbm = dir + "/out/page" + std::to_string(i) + ".pbm";
            ASSERT_EQ(test::runCommand("tiffcp '" + plain + "," + std::to_string(i) + "' '" + pbm + ".tif' && tifftopnm '" +
                                       pbm + ".tif' > '" + pbm + "' 2>/dev/null"),
                      0)
                << coding << " page " << i;
            PageRaster got;
            ASSERT_TRUE(test::readPbm(pbm, got)) << coding << " page " << i;
            EXPECT_TRUE(samePixels(got, pages[i])) << coding << " page " << i;
        }
    }
}

TEST_F(Batch, EachPageBecomesANumberedBitmap) {
    ASSERT_EQ(run("-=out/page.BMP" + allSources()), 0);
    for (size_t i = 0; i < pages.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/out/page%03zu", i + 1);
        const std::string bmp = dir + name + ".BMP", pbm = dir + name + ".pbm";
        ASSERT_EQ(test::runCommand("bmptopnm " + bmp + " > " + pbm + " 2>/dev/null"), 0) << bmp;
        PageRaster got;
        ASSERT_TRUE(test::readPbm(pbm, got)) << pbm;
        EXPECT_TRUE(samePixels(got, pages[i])) << bmp;
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "/out/page007.BMP"));
}

TEST_F(Batch, AnIndexFileBringsItsFiles) {
    ASSERT_TRUE(table.append(sources[1]) && table.append(sources[0]));
    ASSERT_TRUE(doc.index().write(dir + "/in/list.LPX", std::nullopt, false));
    std::string err;
    ASSERT_EQ(run("-ONE -=out/listed.tif in/list.LPX", &err), 0) << err;
    const PageRaster* expected[] = {&pages[1], &pages[2], &pages[0]};
    for (int i = 0; i < 3; ++i) {
        PageRaster got;
        ASSERT_TRUE(test::readTiffWithLibtiff(dir + "/out/listed.tif", i, got)) << i;
        EXPECT_TRUE(samePixels(got, *expected[i])) << i;
    }
}

// A landscape page converted into a page file of portrait pages stands on
// its page turned a quarter turn counter-clockwise, at full size: its left
// half becomes the bottom half. Read back through a TIFF written from the
// page file, by libtiff.
TEST_F(Batch, ConvertingALandscapePageIntoAPortraitPageFileTurnsIt) {
    PageRaster tall = test::makePage(test::Pattern::White, 96, 200, 7);
    PageRaster wide = test::makePage(test::Pattern::White, 200, 96, 8);
    for (int r = 0; r < wide.height; ++r) std::memset(wide.row(r), 0xFF, 100 / 8);  // columns 0-95
    for (int r = 0; r < wide.height; ++r) wide.row(r)[12] = 0xF0;                   // columns 96-99
    tall.dpi = wide.dpi = 240;  // the resolution of .MH2: the pages keep their size
    const std::string tallPath = writeMH("in/tall.MH", {&tall});
    const std::string widePath = writeMH("in/wide.MH", {&wide});
    std::string err;
    ASSERT_EQ(run("-ONE -=out/both.MH2 " + tallPath + " " + widePath, &err), 0) << err;
    ASSERT_EQ(run("-ONE -=out/back.tif out/both.MH2", &err), 0) << err;
    PageRaster got;
    ASSERT_TRUE(test::readTiffWithLibtiff(dir + "/out/back.tif", 1, got));
    ASSERT_EQ(got.width, 96);
    ASSERT_EQ(got.height, 200);
    for (int r = 0; r < got.height; ++r) {
        int black = 0;
        for (uint32_t b = 0; b < got.bytesPerRow; ++b) black += __builtin_popcount(got.row(r)[b]);
        ASSERT_EQ(black, r < 100 ? 0 : 96) << "row " << r;
    }
}

// A page that cannot be fitted to the pages of a page file (more than four
// times their size) ends the conversion with its message; the file keeps
// the pages written before it.
TEST_F(Batch, APageThatCannotBeConvertedKeepsThePagesBeforeIt) {
    PageRaster small = test::makePage(test::Pattern::Text, 96, 40, 9);
    PageRaster huge = test::makePage(test::Pattern::Text, 800, 400, 10);
    small.dpi = huge.dpi = 300;  // the resolution of .MH: the pages keep their size
    const std::string first = writeMH("in/small.MH", {&small});
    const std::string second = writeMH("in/huge.MH", {&huge});
    std::string err;
    EXPECT_EQ(run("-ONE -=out/kept.MH " + first + " " + second + " " + first, &err), 0) << err;
    EXPECT_NE(err.find(dir + "/out/kept.MH\nFailed to save MH file"), std::string::npos) << err;
    const std::string header = readText("out/kept.MH");
    ASSERT_GE(header.size(), 160u);
    EXPECT_EQ(header.substr(144, 14), "PAGE:        1");
    ASSERT_EQ(run("-ONE -=out/kept.tif out/kept.MH", &err), 0) << err;
    PageRaster got, none;
    ASSERT_TRUE(test::readTiffWithLibtiff(dir + "/out/kept.tif", 0, got));
    EXPECT_TRUE(samePixels(got, small));
    EXPECT_FALSE(test::readTiffWithLibtiff(dir + "/out/kept.tif", 1, none));
}

// The pages of a conversion into a file each are shared among workers
// (threads, each reading, turning and coding pages on its own): whatever
// their number, the same files with the same bytes, the same messages once.
TEST_F(Batch, WorkersWriteTheSameFilesAsOneWorkerWould) {
    const auto listing = [&](const std::string& folder) {
        std::vector<std::pair<std::string, std::string>> files;
        for (const auto& e : std::filesystem::directory_iterator(dir + "/" + folder))
            files.emplace_back(e.path().filename().string(), readText(folder + "/" + e.path().filename().string()));
        std::sort(files.begin(), files.end());
        return files;
    };
    const std::string sourcesAndAMissingOne = allSources() + " in/missing.FAX";
    for (const std::string target : {"-G4 -=#/p.TIF", "-G3MR -=#/p.TIF", "-=#/p.MH2", "-=#/p.FAX", "-=#/p.BMP"}) {
        SCOPED_TRACE(target);
        std::string said[2];
        const char* workers[2] = {"1", "3"};
        for (int i = 0; i < 2; ++i) {
            const std::string folder = std::string("out/w") + workers[i];
            std::filesystem::remove_all(dir + "/" + folder);
            std::filesystem::create_directories(dir + "/" + folder);
            // An existing file is passed over by whichever worker meets it.
            const std::string kept = folder + (target.find(".TIF") != std::string::npos ? "/p003.TIF" : "/p003.x");
            writeText(kept, "old");
            std::string args = target;
            args.replace(args.find('#'), 1, folder);
            ASSERT_EQ(run(args + sourcesAndAMissingOne, &said[i], std::string("LUMIPAGE_BATCH_WORKERS=") + workers[i]), 0)
                << said[i];
            EXPECT_EQ(readText(kept), "old");
        }
        const auto one = listing("out/w1"), three = listing("out/w3");
        EXPECT_EQ(one.size(), pages.size() + (target.find(".TIF") != std::string::npos ? 0 : 1));
        ASSERT_EQ(one.size(), three.size());
        for (size_t f = 0; f < one.size(); ++f) {
            EXPECT_EQ(one[f].first, three[f].first);
            EXPECT_TRUE(one[f].second == three[f].second) << one[f].first << " differs";
        }
        // The missing file is reported once, by the first document only.
        for (const std::string& text : said) {
            const std::string missing = dir + "/in/missing.FAXが見つかりません";
            const size_t at = text.find(missing);
            EXPECT_NE(at, std::string::npos) << text;
            EXPECT_EQ(text.find(missing, at + 1), std::string::npos) << text;
        }
    }
    // All pages into one file: read on one thread, coded and written on
    // another; the same bytes as one thread writes, and the same comments
    // (a book embeds them; other files get a comment file beside them).
    test::RecordingMessages quiet;
    ASSERT_TRUE(CommentFile::write(sources[1], 2, "タイトル：Second of two\r\n", quiet));
    ASSERT_TRUE(CommentFile::write(sources[3], 1, "タイトル：The scan\r\n", quiet));
    for (const std::string target : {"-ONE -G4 -=#/all.TIF", "-ONE -=#/all.MH", "-=#/all.PDF", "-=#/all.LPB"}) {
        SCOPED_TRACE(target);
        const char* workers[2] = {"1", "2"};
        for (int i = 0; i < 2; ++i) {
            const std::string folder = std::string("out/one") + workers[i];
            std::filesystem::remove_all(dir + "/" + folder);
            std::filesystem::create_directories(dir + "/" + folder);
            std::string args = target;
            args.replace(args.find('#'), 1, folder);
            std::string err;
            ASSERT_EQ(run(args + allSources(), &err, std::string("LUMIPAGE_BATCH_WORKERS=") + workers[i]), 0) << err;
        }
        const auto one = listing("out/one1"), two = listing("out/one2");
        ASSERT_EQ(one.size(), two.size());
        EXPECT_GE(one.size(), 1u);
        std::string all;
        for (const auto& f : one) all += f.second;
        EXPECT_NE(all.find(*text::toCp932("The scan")), std::string::npos) << "the comments travelled";
        for (size_t f = 0; f < one.size(); ++f) {
            EXPECT_EQ(one[f].first, two[f].first);
            EXPECT_TRUE(one[f].second == two[f].second) << one[f].first << " differs";
        }
        if (target.find(".TIF") != std::string::npos) {
            PageRaster last;
            ASSERT_TRUE(test::readTiffWithLibtiff(dir + "/out/one2/all.TIF", int(pages.size()) - 1, last));
            EXPECT_TRUE(samePixels(last, pages.back()));
        }
    }

    // libtiff reads what the workers wrote.
    run("-G4 -=out/w3/q.TIF" + allSources(), nullptr, "LUMIPAGE_BATCH_WORKERS=3");
    for (size_t i = 0; i < pages.size(); ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/out/w3/q%03zu.TIF", i + 1);
        PageRaster got;
        ASSERT_TRUE(test::readTiffWithLibtiff(dir + name, 0, got)) << name;
        EXPECT_TRUE(samePixels(got, pages[i])) << name;
    }
}

TEST_F(Batch, NothingConvertedIsAFailureWithItsMessage) {
    std::string err;
    EXPECT_NE(run("-=out/x.tif in/missing.FAX", &err), 0);
    EXPECT_NE(err.find(dir + "/in/missing.FAXが見つかりません"), std::string::npos) << err;

    writeText("in/notes.txt", "not a page");
    EXPECT_NE(run("-=out/x.tif in/notes.txt", &err), 0);
    EXPECT_NE(err.find("このファイルタイプはサポートされていません"), std::string::npos) << err;

    EXPECT_NE(run("-ONE -=out/all.BMP" + allSources(), &err), 0);
    EXPECT_NE(err.find("このファイルタイプは保存出来ません"), std::string::npos) << err;
    EXPECT_TRUE(std::filesystem::is_empty(dir + "/out"));

    // An existing file is not replaced in batch mode, and says so.
    writeText("out/kept.tif", "old");
    EXPECT_NE(run("-ONE -=out/kept.tif" + allSources(), &err), 0);
    EXPECT_EQ(readText("out/kept.tif"), "old");
    EXPECT_NE(err.find(dir + "/out/kept.tif"), std::string::npos) << err;
}

}  // namespace
}  // namespace lumipage
