#include <gtest/gtest.h>

#include "document/FileTypeCode.h"

namespace lumipage {
namespace {

TEST(FileTypeCode, ExtensionsMatchByPrefixWithoutCase) {
    EXPECT_EQ(fileTypeOf("/d/a.MH"), FileTypeCode::PageFileMH);
    EXPECT_EQ(fileTypeOf("/d/a.mh1"), FileTypeCode::PageFileMH);
    EXPECT_EQ(fileTypeOf("/d/a.Bw3"), FileTypeCode::PageFileBW);
    EXPECT_EQ(fileTypeOf("/d/a.tiff"), FileTypeCode::Tiff);
    EXPECT_EQ(fileTypeOf("/d/a.TIF"), FileTypeCode::Tiff);
    EXPECT_EQ(fileTypeOf("/d/a.fax"), FileTypeCode::Fax);
    EXPECT_EQ(fileTypeOf("/d/a.bmp"), FileTypeCode::Bitmap);
    EXPECT_EQ(fileTypeOf("/d/a.LPB"), FileTypeCode::Book);
    EXPECT_EQ(fileTypeOf("/d/a.LPX"), FileTypeCode::Unsupported);
    EXPECT_EQ(fileTypeOf("/d/a.txt"), FileTypeCode::Unsupported);
    // The dot must be in the file name, not in a folder name.
    EXPECT_EQ(fileTypeOf("/d/x.MH/name"), FileTypeCode::Unsupported);
    EXPECT_EQ(fileTypeOf("noextension"), FileTypeCode::Unsupported);
    EXPECT_EQ(extensionOf("/a.b/c.TIFF"), ".TIFF");
}

}  // namespace
}  // namespace lumipage
