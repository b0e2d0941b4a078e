// Saving says what failed: the folder, the disk, the page, or putting the
// finished file under its name. The user sees one text per kind of file;
// the caller learns the cause, and the file that was there stays.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "document/TargetWriter.h"
#include "image/FaxPageFile.h"
#include "image/FaxPageFileWriter.h"
#include "image/LpPageFileWriter.h"
#include "image/PdfWriter.h"
#include "image/TiffWriter.h"
#include "platform/File.h"
#include "support/RecordingMessages.h"
#include "support/TestImages.h"

namespace lumipage {

namespace {

const char* nameOf(WriteError e) {
    switch (e) {
        case WriteError::None: return "None";
        case WriteError::CannotCreate: return "CannotCreate";
        case WriteError::WriteFailed: return "WriteFailed";
        case WriteError::PageNotWritable: return "PageNotWritable";
        case WriteError::CannotReplace: return "CannotReplace";
        case WriteError::NothingWritten: return "NothingWritten";
    }
    return "?";
}

}  // namespace

// Failed expectations name the error.
void PrintTo(WriteResult r, std::ostream* out) { *out << nameOf(r.error()); }
void PrintTo(WriteError e, std::ostream* out) { *out << nameOf(e); }

namespace {

PageRaster textPage() { return test::makePage(test::Pattern::Text, 320, 240, 3); }

// Every writer, on a disk that takes nothing: the write itself failed.
TEST(WriteErrors, AFullDiskIsAFailedWriteInEveryWriter) {
    File full;
    ASSERT_TRUE(full.open("/dev/full", File::Mode::ReadWrite));
    const PageRaster page = textPage();
    TiffWriter tiff;
    EXPECT_EQ(tiff.writeSinglePage(full, page, 14), WriteError::WriteFailed);
    EXPECT_EQ(tiff.beginMultiPage(full, 2), WriteError::WriteFailed);
    PdfWriter pdf;
    EXPECT_EQ(pdf.begin(full), WriteError::WriteFailed);
    LpPageFileWriter pageFile;
    EXPECT_EQ(pageFile.begin(full, 1, page, "x"), WriteError::WriteFailed);
    const PageRaster fax = test::makePage(test::Pattern::Text, FaxPageFile::kWidth, FaxPageFile::kHeight, 4);
    EXPECT_EQ(FaxPageFileWriter().write(full, fax), WriteError::WriteFailed);
}

// A page the file cannot take is the page's fault, not the disk's.
TEST(WriteErrors, PagesAFileCannotTakeAreRefusedAsSuch) {
    const std::string dir = test::tempFolder();
    File file;
    ASSERT_TRUE(file.open(dir + "/a.tif", File::Mode::Create));
    TiffWriter tiff;
    PageRaster noPixels;
    noPixels.width = 100;
    noPixels.height = 10;
    ASSERT_TRUE(tiff.beginMultiPage(file, 1));
    EXPECT_EQ(tiff.appendPage(file, noPixels, 14), WriteError::PageNotWritable);
    EXPECT_EQ(tiff.finishMultiPage(file), WriteError::NothingWritten);
    ASSERT_TRUE(tiff.appendPage(file, textPage(), 14));
    EXPECT_EQ(tiff.appendPage(file, textPage(), 14), WriteError::PageNotWritable);  // beyond the planned page
    EXPECT_TRUE(tiff.finishMultiPage(file));

    LpPageFileWriter pageFile;
    const PageRaster page = textPage();
    ASSERT_TRUE(pageFile.begin(file, 2, page, "x"));
    EXPECT_EQ(pageFile.append(file, test::makePage(test::Pattern::Text, 160, 240, 3)), WriteError::PageNotWritable);
    EXPECT_EQ(pageFile.finish(file), WriteError::NothingWritten);
    EXPECT_EQ(FaxPageFileWriter().write(file, page), WriteError::PageNotWritable);  // not a fax page's size
}

struct SavingFails : ::testing::Test {
    std::string dir = test::tempFolder();
    test::RecordingMessages messages;
    TargetWriter writer{14, messages};
    PageRaster page = textPage();
    PageToWrite toWrite{&page, nullptr, {}, nullptr, "title"};
};

TEST_F(SavingFails, AMissingFolderCannotTakeTheFileAndSaysSo) {
    const std::string path = dir + "/gone/p.TIF";
    EXPECT_EQ(writer.writeSingle(path, FileTypeCode::Tiff, 0, toWrite), WriteError::CannotCreate);
    EXPECT_EQ(writer.begin(dir + "/gone/p.PDF", FileTypeCode::Pdf, 0, 2, 1), WriteError::CannotCreate);
    EXPECT_EQ(writer.writeSingle(dir + "/gone/p.BMP", FileTypeCode::Bitmap, 0, toWrite), WriteError::CannotCreate);
    EXPECT_EQ(messages.said, (std::vector<std::string>{path + "\n" + kSaveTiffFailed,
                                                       dir + "/gone/p.PDF\n" + kSavePdfFailed,
                                                       dir + "/gone/p.BMP\n" + kSaveDibFailed}));
}

// The name is taken by a folder: the file is written, but cannot be put
// there. The folder stays and no temporary file is left beside it.
TEST_F(SavingFails, ANameTakenByAFolderCannotBeReplacedAndNothingIsLeft) {
    const std::string path = dir + "/p.MH";
    std::filesystem::create_directory(path);
    std::ofstream(path + "/inside") << "kept";
    EXPECT_EQ(writer.writeSingle(path, FileTypeCode::PageFileMH, 0, toWrite), WriteError::CannotReplace);
    ASSERT_TRUE(writer.begin(dir + "/p.MH", FileTypeCode::PageFileMH, 0, 2, 1));
    ASSERT_TRUE(writer.append(toWrite));
    EXPECT_EQ(writer.finish({}), WriteError::CannotReplace);
    // A book says the book's text, also when it fails at its end.
    const std::string book = dir + "/b.LPB";
    std::filesystem::create_directory(book);
    ASSERT_TRUE(writer.begin(book, FileTypeCode::Book, 0, 1, 1));
    ASSERT_TRUE(writer.append(toWrite));
    EXPECT_FALSE(writer.finish({}));
    EXPECT_EQ(messages.said, (std::vector<std::string>{path + "\n" + kSaveMhFailed, path + "\n" + kSaveMhFailed,
                                                       book + "\n" + kSaveFileFailed}));
    EXPECT_TRUE(std::filesystem::is_directory(book));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_TRUE(std::filesystem::exists(path + "/inside"));
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 2u);  // the two folders
}

// A file that gets no page is not made, and it was refused page by page,
// so its end adds no second message.
TEST_F(SavingFails, AFileWithoutPagesIsNotMade) {
    PageRaster empty;
    empty.width = 100;
    empty.height = 10;
    const PageToWrite nothing{&empty, nullptr, {}, nullptr, ""};
    const std::string path = dir + "/none.TIF";
    ASSERT_TRUE(writer.begin(path, FileTypeCode::Tiff, 0, 1, 1));
    EXPECT_EQ(writer.append(nothing), WriteError::PageNotWritable);
    EXPECT_EQ(writer.finish({}), WriteError::NothingWritten);
    EXPECT_EQ(messages.said, std::vector<std::string>{path + "\n" + kSaveTiffFailed});
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace lumipage
