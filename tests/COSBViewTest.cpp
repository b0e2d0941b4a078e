#include <gtest/gtest.h>

#include "support/ViewFakes.h"
#include "view/COSBView.h"

namespace lumipage {
namespace {

TEST(COSBView, BitmapCarriesTheRampAndSetsTheScrollSizes) {
    test::FakeViewHost host;
    host.client = {300, 200};
    COSBView view(host);
    ASSERT_TRUE(view.CreateOffscreenBitmap(2000, 1000, 4, 5, rgb(255, 255, 255), rgb(0, 0, 0), 100, true));
    EXPECT_EQ(view.bitmap().header().clrUsed, 5u);
    EXPECT_EQ(view.bitmap().palette()[2].green, 128);
    EXPECT_EQ(view.pageSize(), (ViewSize{80, 50}));  // width / 20 capped at 80
    EXPECT_EQ(view.lineSize(), (ViewSize{32, 20}));  // width / 50 capped at 32
    view.scrollTo({5000, -7});
    EXPECT_EQ(view.scrollPosition(), (ViewPoint{1700, 0}));
    const auto blit = view.DrawOffscreen(ViewRect{10, 20, 50, 400});
    ASSERT_TRUE(blit);
    EXPECT_EQ(blit->source, (ViewRect{1710, 20, 1750, 200}));
    EXPECT_EQ(blit->target, (ViewPoint{10, 20}));

    EXPECT_FALSE(view.CreateOffscreenBitmap(0, 10, 8, 0, 0, 0, 100, false));
    EXPECT_FALSE(view.hasBitmap());
    EXPECT_FALSE(view.DrawOffscreen());
    view.OnInitialUpdate();  // a blank bitmap again
    EXPECT_EQ(view.bitmapSize(), (ViewSize{1, 1}));
}

TEST(COSBView, ColourBitmapIsCopiedWithItsColourTable) {
    test::FakeViewHost host;
    COSBView view(host);
    CDIB colour;
    ASSERT_TRUE(colour.create(40, 30, 8, 3780));
    colour.setPaletteEntry(7, {1, 2, 3, 0});
    ASSERT_TRUE(view.CopyOffscreenBitmap(colour));
    EXPECT_EQ(view.bitmapSize(), (ViewSize{40, 30}));
    EXPECT_EQ(view.bitmap().palette()[7], (CDIB::RgbQuad{1, 2, 3, 0}));
    EXPECT_EQ(view.pageSize(), (ViewSize{4, 3}));
}

TEST(COSBView, FourBitRowsExpandToOneBytePerPixel) {
    const uint8_t row[] = {0x12, 0x34, 0x50};
    uint8_t out[5] = {};
    COSBView::expandFourBitRow(row, 5, out);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 5), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace lumipage
