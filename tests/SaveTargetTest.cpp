// Target names of saved and converted pages: type and resolution by
// extension, automatic extensions and names, numbering.
#include <gtest/gtest.h>

#include "document/SaveTarget.h"

namespace lumipage {
namespace {

TEST(SaveTarget, ExtensionChoosesTypeAndPageFileResolution) {
    struct Case {
        const char* extension;
        FileTypeCode type;
        int dpi;
    };
    const Case cases[] = {
        {"", FileTypeCode::PageFileMH, 0},   {".bmp", FileTypeCode::Bitmap, 0}, {".LPB", FileTypeCode::Book, 0},
        {".fax", FileTypeCode::Fax, 200},    {".tiff", FileTypeCode::Tiff, 0},  {".Tif", FileTypeCode::Tiff, 0},
        {".BW", FileTypeCode::PageFileBW, 300}, {".bw1", FileTypeCode::PageFileBW, 180},
        {".MH2", FileTypeCode::PageFileMH, 240}, {".mh3", FileTypeCode::PageFileMH, 360},
    };
    for (const Case& c : cases) {
        const TargetKind kind = targetKindOf(c.extension);
        EXPECT_EQ(kind.problem, TargetProblem::None) << c.extension;
        EXPECT_EQ(kind.type, c.type) << c.extension;
        EXPECT_EQ(kind.dpi, c.dpi) << c.extension;
    }
    for (const char* refused : {".MH5", ".MH0", ".BWx", ".mh4"})
        EXPECT_EQ(targetKindOf(refused).problem, TargetProblem::CannotSave) << refused;
    for (const char* unknown : {".png", ".T", ".M", ".txt"})
        EXPECT_EQ(targetKindOf(unknown).problem, TargetProblem::Unsupported) << unknown;
}

TEST(SaveTarget, AutomaticExtensionFollowsThePageResolution) {
    EXPECT_EQ(automaticExtension(300, false), ".MH");
    EXPECT_EQ(automaticExtension(0, false), ".MH0");
    EXPECT_EQ(automaticExtension(99, false), ".MH0");
    EXPECT_EQ(automaticExtension(100, false), ".MH1");
    EXPECT_EQ(automaticExtension(200, false), ".MH2");
    EXPECT_EQ(automaticExtension(299, false), ".MH2");
    EXPECT_EQ(automaticExtension(301, false), ".MH3");
    EXPECT_EQ(automaticExtension(499, false), ".MH4");
    EXPECT_EQ(automaticExtension(500, false), ".MH");
    EXPECT_EQ(automaticExtension(240, true), ".BMP");
}

TEST(SaveTarget, NamesAreGivenNumberedOrTakenFromTheSource) {
    TargetProblem problem = TargetProblem::None;
    const auto out = parseSaveTarget("/d/sub/../out.TIF", problem);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->folder, "/d");
    EXPECT_TRUE(out->nameGiven());
    EXPECT_EQ(out->type, FileTypeCode::Tiff);
    const PageOrigin third{"/s/scan.MH2", 3, 5, 240, false};
    const PageOrigin single{"/s/memo.fax", 1, 1, 200, false};
    EXPECT_EQ(targetPathFor(*out, third, 0), "/d/out.TIF");
    EXPECT_EQ(targetPathFor(*out, third, 1), "/d/out001.TIF");
    EXPECT_EQ(targetPathFor(*out, third, 12), "/d/out012.TIF");
    EXPECT_EQ(targetPathFor(*out, third, 1234), "/d/out1234.TIF");

    const auto star = parseSaveTarget("/d/*.TIF", problem);
    ASSERT_TRUE(star);
    EXPECT_FALSE(star->nameGiven());
    EXPECT_EQ(targetPathFor(*star, third, 0), "/d/scan3.TIF");
    EXPECT_EQ(targetPathFor(*star, single, 0), "/d/memo.TIF");
    EXPECT_EQ(targetPathFor(*star, third, 7), "/d/scan007.TIF");

    const auto bare = parseSaveTarget("/d/page", problem);
    ASSERT_TRUE(bare);
    EXPECT_FALSE(bare->extensionGiven());
    EXPECT_EQ(targetPathFor(*bare, third, 0), "/d/page.MH2");
    const PageOrigin colour{"/s/photo.bmp", 1, 1, 96, true};
    EXPECT_EQ(targetPathFor(*bare, colour, 0), "/d/page.BMP");
    EXPECT_EQ(typeFor(*bare, colour), FileTypeCode::Bitmap);
    EXPECT_EQ(typeFor(*out, colour), FileTypeCode::Tiff);

    const auto folder = parseSaveTarget("/tmp/", problem);
    ASSERT_TRUE(folder);
    EXPECT_EQ(targetPathFor(*folder, single, 0), "/tmp/memo.MH2");

    EXPECT_FALSE(parseSaveTarget("/d/scan.MH5", problem));
    EXPECT_EQ(problem, TargetProblem::CannotSave);
    EXPECT_FALSE(parseSaveTarget("/d/scan.jpg", problem));
    EXPECT_EQ(problem, TargetProblem::Unsupported);
}

}  // namespace
}  // namespace lumipage
