// Saving the current page and converting pages: target types, resolutions,
// numbering, one-file targets, overwriting, failures, cancelling and
// comments; TIFF results are read back with libtiff.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "comments/CommentFile.h"
#include "document/ConversionProgress.h"
#include "document/PageFileOperations.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "support/DocumentFixture.h"
#include "support/LibtiffFiles.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

class RecordingProgress : public ConversionProgress {
public:
    std::vector<std::string> skips;
    std::function<bool(int ordinal)> stopBefore;  // asked between pages
    int steps = 0, ends = 0, done = 0;
    void step(int ordinal, int, ConversionStep, const std::string&) override {
        ++steps;
        done = ordinal;
    }
    bool cancelled() override { return stopBefore && stopBefore(done + 1); }
    void skipped(const std::string& path) override { skips.push_back(path); }
    void end(int) override { ++ends; }
};

// The number of IFDs a TIFF file's chain holds; -1 when a pointer leads outside the file.
int ifdChainLength(const std::string& path) {
    std::vector<uint8_t> b;
    if (!File::readAll(path, b) || b.size() < 8) return -1;
    auto u32 = [&](size_t at) { return uint32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24); };
    int count = 0;
    for (uint64_t at = u32(4); at != 0; ++count) {
        if (at + 2 > b.size()) return -1;
        const uint64_t next = at + 2 + 12 * uint64_t(b[at] | b[at + 1] << 8);
        if (next + 4 > b.size() || count > 10000) return -1;
        at = u32(next);
    }
    return count;
}

struct Conversion : test::DocumentFixture, ::testing::Test {
    std::vector<PageRaster> pages;
    FixedOverwritePolicy keep{OverwriteOptions{}};
    FixedOverwritePolicy replace{OverwriteOptions{true, false}};
    RecordingProgress progress;
    PageFileOperations ops{doc, settings, messages, &observer};

    // A file of `count` different pages, opened as the page list's only file.
    std::string openPages(int count, int dpi = 200, const std::string& name = "pages.MH") {
        std::vector<const PageRaster*> list;
        pages.clear();
        for (int i = 0; i < count; ++i) {
            pages.push_back(test::makePage(test::Pattern::Text, 160, 120, uint32_t(i + 1)));
            pages.back().dpi = dpi;
        }
        for (const PageRaster& p : pages) list.push_back(&p);
        const std::string path = writeMH(name, list);
        EXPECT_TRUE(table.append(path));
        EXPECT_TRUE(doc.goToPage(1));
        return path;
    }
    // Page `page` of a written file, read by the program's own readers.
    PageRaster readBack(const std::string& path, int page = 1) {
        OpenFileTable other{counter};
        CLP98Doc reader{other, settings, startup, messages};
        PageRaster out;
        if (!other.append(path) || !reader.goToPage(page)) return out;
        out.create(reader.raster().width, reader.raster().height, reader.raster().dpi);
        std::memcpy(out.bits(), reader.raster().bits(), out.imageSize);
        return out;
    }
    bool tiffPageIs(const std::string& path, int directory, const PageRaster& expected) {
        PageRaster got;
        return test::readTiffWithLibtiff(path, directory, got) && got.width == expected.width &&
               got.height == expected.height && test::firstDifferentRow(got, expected) == -1;
    }
};

TEST_F(Conversion, ThePageFileNameChoosesTheResolution) {
    openPages(1, 240);
    ASSERT_TRUE(ops.saveCurrentPage(dir + "/scan", keep));
    const PageRaster same = readBack(dir + "/scan.MH2");
    EXPECT_EQ(same.dpi, 240);
    EXPECT_EQ(test::firstDifferentRow(same, pages[0]), -1);

    ASSERT_TRUE(ops.saveCurrentPage(dir + "/scan.MH3", keep));
    const PageRaster finer = readBack(dir + "/scan.MH3");
    EXPECT_EQ(finer.dpi, 360);
    // Fitted onto an A4 page of that resolution, turned sideways as the page is landscape.
    EXPECT_EQ(finer.width, 360 * 3384 / 300);
    EXPECT_EQ(finer.height, 360 * 2360 / 300);

    EXPECT_FALSE(ops.saveCurrentPage(dir + "/scan.MH5", keep));
    EXPECT_EQ(messages.last(), kCannotSaveType);
    EXPECT_FALSE(files::exists(dir + "/scan.MH5"));
    EXPECT_FALSE(ops.saveCurrentPage(dir + "/scan.png", keep));
    EXPECT_EQ(messages.last(), kUnsupportedFileType);
    doc.closeAll();
    EXPECT_FALSE(ops.saveCurrentPage(dir + "/none.TIF", keep));
    EXPECT_EQ(messages.last(), kNothingToSave);
}

TEST_F(Conversion, TheSavedPageIsThePageAsShown) {
    openPages(1);
    table.setTransform(0, 1 | PageWord::kInverted, PageWord::kTransform);  // a quarter turn left, inverted
    ASSERT_TRUE(ops.saveCurrentPage(dir + "/shown.TIF", keep));
    PageRaster expected;
    ASSERT_TRUE(PageRaster::quarterTurnCounterClockwise(pages[0], expected));
    ASSERT_TRUE(expected.invert());
    EXPECT_TRUE(tiffPageIs(dir + "/shown.TIF", 0, expected));
    // The document still holds the page as read.
    EXPECT_EQ(test::firstDifferentRow(doc.raster(), pages[0]), -1);
}

TEST_F(Conversion, TwelvePagesGiveNumberedFilesOrOneFile) {
    openPages(12);
    std::filesystem::create_directories(dir + "/each");
    const ConversionResult each = ops.convertPages(false, dir + "/each/out.TIF", {}, keep, progress);
    ASSERT_EQ(each.pagesWritten, 12);
    for (int i = 1; i <= 12; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/each/out%03d.TIF", i);
        EXPECT_EQ(each.files[size_t(i - 1)], dir + name);
        EXPECT_TRUE(tiffPageIs(dir + name, 0, pages[size_t(i - 1)])) << name;
    }
    EXPECT_FALSE(files::exists(dir + "/each/out013.TIF"));
    EXPECT_FALSE(files::exists(dir + "/each/out.TIF"));
    EXPECT_EQ(progress.ends, 1);

    ConvertOptions one;
    one.oneFile = true;
    const ConversionResult all = ops.convertPages(false, dir + "/all.TIF", one, keep, progress);
    ASSERT_EQ(all.pagesWritten, 12);
    ASSERT_EQ(all.files, std::vector<std::string>{dir + "/all.TIF"});
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(tiffPageIs(dir + "/all.TIF", i, pages[size_t(i)])) << i;
    PageRaster beyond;
    EXPECT_FALSE(test::readTiffWithLibtiff(dir + "/all.TIF", 12, beyond));
}

TEST_F(Conversion, SelectedPagesIntoPageFilesFaxAndBook) {
    openPages(4, 240);
    table.select(2, true);
    table.select(4, true);
    ConvertOptions one;
    one.oneFile = true;
    ASSERT_EQ(ops.convertPages(true, dir + "/two.MH2", one, keep, progress).pagesWritten, 2);
    EXPECT_EQ(test::firstDifferentRow(readBack(dir + "/two.MH2", 2), pages[3]), -1);
    ConvertOptions book;
    book.bookInformation = "Two pages of four";
    book.pageStartPosition = 3;
    ASSERT_EQ(ops.convertPages(true, dir + "/book.LPB", book, keep, progress).pagesWritten, 2);
    EXPECT_EQ(test::firstDifferentRow(readBack(dir + "/book.LPB", 1), pages[1]), -1);
    EXPECT_EQ(settings.pageStartPosition, 3);  // the book, opened, brings its own
    // The information went through a new index file into the book.
    EXPECT_TRUE(table.index().inUse);
    EXPECT_EQ(table.index().path, dir + "/book.LPX");
    EXPECT_EQ(CommentFile::read(dir + "/book.LPB", 0), "Two pages of four\r\n");
    // A fax file holds a fax page: the page is fitted to 1728 x 2290.
    ASSERT_EQ(ops.convertPages(true, dir + "/*.FAX", {}, keep, progress).pagesWritten, 2);
    const PageRaster fax = readBack(dir + "/pages4.FAX");
    EXPECT_EQ(fax.width, 1728);
    EXPECT_EQ(fax.height, 2290);
    // The page that was current before is current again.
    EXPECT_EQ(table.currentPage(), 1);

    // The sources can make way for what was written.
    const ConversionResult faxes = ops.convertPages(true, dir + "/again.FAX", {}, keep, progress);
    ASSERT_TRUE(ops.openWritten(faxes));
    ASSERT_EQ(table.fileCount(), 2);
    EXPECT_EQ(table.entry(1).path, dir + "/again001.FAX");
    EXPECT_EQ(doc.path(), dir + "/again001.FAX");
}

TEST_F(Conversion, SinglePageTypesRefuseTheOneFileOptionAtTheStart) {
    openPages(3);
    ConvertOptions one;
    one.oneFile = true;
    for (const char* target : {"/all.BMP", "/all.FAX"}) {
        const ConversionResult r = ops.convertPages(false, dir + target, one, keep, progress);
        EXPECT_FALSE(r.started);
        EXPECT_EQ(r.pagesWritten, 0);
        EXPECT_FALSE(files::exists(dir + target));
        EXPECT_EQ(messages.last(), kCannotSaveType);
    }
    EXPECT_EQ(progress.steps, 0);
}

TEST_F(Conversion, ExistingFilesAreReplacedOnlyWhenAllowed) {
    openPages(2);
    writeText("out001.TIF", "old");
    writeText("out002.TIF", "old");
    ::chmod((dir + "/out002.TIF").c_str(), 0444);
    const ConversionResult kept = ops.convertPages(false, dir + "/out.TIF", {}, keep, progress);
    EXPECT_EQ(kept.pagesWritten, 0);
    EXPECT_EQ(progress.skips, (std::vector<std::string>{dir + "/out001.TIF", dir + "/out002.TIF"}));
    EXPECT_EQ(readText("out001.TIF"), "old");
    EXPECT_TRUE(messages.said.empty());  // a refused file is passed over silently

    const ConversionResult replaced = ops.convertPages(false, dir + "/out.TIF", {}, replace, progress);
    EXPECT_EQ(replaced.pagesWritten, ::geteuid() == 0 ? 2 : 1);
    EXPECT_TRUE(tiffPageIs(dir + "/out001.TIF", 0, pages[0]));
    if (::geteuid() != 0) {
        EXPECT_EQ(readText("out002.TIF"), "old");  // read-only needs the second choice
    }

    FixedOverwritePolicy all{OverwriteOptions{true, true}};
    EXPECT_EQ(ops.convertPages(false, dir + "/out.TIF", {}, all, progress).pagesWritten, 2);
    EXPECT_TRUE(tiffPageIs(dir + "/out002.TIF", 0, pages[1]));
}

TEST_F(Conversion, AnUnwritableFolderFailsWithAMessageAndKeepsTheSources) {
    const std::string source = openPages(2);
    const std::string before = readText(source);
    // Permissions do not bind the superuser; a file standing where the folder should be does.
    const bool superuser = ::geteuid() == 0;
    if (superuser) {
        writeText("locked", "a file");
    } else {
        std::filesystem::create_directories(dir + "/locked");
        ::chmod((dir + "/locked").c_str(), 0555);
    }
    const ConversionResult r = ops.convertPages(false, dir + "/locked/out.TIF", {}, keep, progress);
    if (!superuser) {
        ::chmod((dir + "/locked").c_str(), 0755);
        EXPECT_TRUE(std::filesystem::is_empty(dir + "/locked"));
    }
    EXPECT_EQ(r.pagesWritten, 0);
    // One message, and the conversion ends there.
    EXPECT_EQ(messages.said, std::vector<std::string>{dir + "/locked/out001.TIF\n" + kSaveTiffFailed});
    EXPECT_EQ(readText(source), before);
    EXPECT_EQ(table.fileCount(), 1);
}

TEST_F(Conversion, NoPartFileEverStandsUnderTheTargetName) {
    openPages(5);
    writeText("all.TIF", "the old file");
    ConvertOptions one;
    one.oneFile = true;
    bool seenOld = true;
    progress.stopBefore = [&](int ordinal) {
        // Half-way the target still holds the old file: a crash here loses nothing.
        seenOld = seenOld && readText("all.TIF") == "the old file";
        return ordinal == 4;
    };
    const ConversionResult r = ops.convertPages(false, dir + "/all.TIF", one, replace, progress);
    EXPECT_TRUE(seenOld);
    EXPECT_TRUE(r.cancelled);
    // Cancelled between pages: the pages done make a complete file.
    ASSERT_EQ(r.pagesWritten, 3);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(tiffPageIs(dir + "/all.TIF", i, pages[size_t(i)]));
    PageRaster beyond;
    EXPECT_FALSE(test::readTiffWithLibtiff(dir + "/all.TIF", 3, beyond));
    EXPECT_EQ(ifdChainLength(dir + "/all.TIF"), 3);
    // Nothing is left beside it.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 2);
}

TEST_F(Conversion, CommentsTravelWithThePages) {
    const std::string source = openPages(3);
    writeText("pages.MH.()", "about the file\r\n<P.2>\r\nsecond page\r\n<P.3>\r\nthird page\r\n");
    table.select(2, true);
    table.select(3, true);
    ASSERT_EQ(ops.convertPages(true, dir + "/*.TIF", {}, keep, progress).pagesWritten, 2);
    EXPECT_EQ(CommentFile::read(dir + "/pages2.TIF", 0), "second page\r\n");
    EXPECT_EQ(CommentFile::read(dir + "/pages3.TIF", 0), "third page\r\n");
    ConvertOptions one;
    one.oneFile = true;
    ASSERT_EQ(ops.convertPages(true, dir + "/both.TIF", one, keep, progress).pagesWritten, 2);
    EXPECT_EQ(CommentFile::read(dir + "/both.TIF", 1), "second page\r\n");
    EXPECT_EQ(CommentFile::read(dir + "/both.TIF", 2), "third page\r\n");
    one.copyComments = false;
    ASSERT_EQ(ops.convertPages(true, dir + "/bare.TIF", one, keep, progress).pagesWritten, 2);
    EXPECT_FALSE(files::exists(dir + "/bare.TIF.()"));
}

}  // namespace
}  // namespace lumipage
