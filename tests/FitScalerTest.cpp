#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "image/CDIB.h"
#include "image/FitScaler.h"
#include "image/PageRaster.h"
#include "support/NaiveFit.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using test::makePage;
using test::Pattern;

std::optional<FitLayout> layoutFor(const PageRaster& page, const std::optional<PageRect>& clip, int32_t width,
                                   int32_t height, const std::optional<PagePoint>& offset, bool turn) {
    const auto rectangle = fitRectangle(page, clip, turn);
    if (!rectangle) return std::nullopt;
    return planFit(page, *rectangle, clip.has_value(), turn, width, height, offset);
}

// About one pixel in eight black, so that reductions do not turn it all black.
PageRaster sparsePage(int width, int height, uint32_t seed) {
    PageRaster p;
    p.create(width, height, 200);
    std::mt19937 rng(seed);
    for (int y = 0; y < height; ++y)
        for (uint32_t b = 0; b < p.bytesPerRow; ++b) p.row(y)[b] = uint8_t(rng() & rng() & rng());
    p.clearPadding();
    return p;
}

void expectSameImage(const PageRaster& actual, const PageRaster& expected) {
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    EXPECT_EQ(test::firstDifferentRow(actual, expected), -1);
}

TEST(FitScaler, SameSizeIsAByteIdenticalCopy) {
    const PageRaster page = makePage(Pattern::Text, 1728, 2290, 3);
    PageRaster target;
    target.create(1728, 2290, 200);
    std::memset(target.bits(), 0xFF, target.imageSize);
    const auto layout = layoutFor(page, std::nullopt, 1728, 2290, std::nullopt, false);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->ratio, &kFitRatioList[kCopyRatioIndex]);
    FitScaler scaler;
    ASSERT_TRUE(scaler.fitIntoRaster(page, std::nullopt, target, std::nullopt, false));
    EXPECT_EQ(test::imageBytes(target), test::imageBytes(page));
}

TEST(FitScaler, A4At300DpiFitsTheFaxPageAt60Percent) {
    const PageRaster page = makePage(Pattern::Text, 2480, 3508, 5);
    const auto layout = layoutFor(page, std::nullopt, 1728, 2290, std::nullopt, false);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->ratio->percent, 60);
    EXPECT_EQ(layout->outputColumns, 1488);
    EXPECT_EQ(layout->outputRows, 2104);
    EXPECT_EQ(layout->destinationLeft, 120);  // (1728 - 1488) / 2
    EXPECT_EQ(layout->destinationTop, 93);    // (2290 - 2104) / 2
    PageRaster target;
    target.setSize(1728, 2290);
    FitScaler scaler;
    ASSERT_TRUE(scaler.fitIntoRaster(page, std::nullopt, target, std::nullopt, false));
    EXPECT_EQ(target.capacity(), target.imageSize);
    expectSameImage(target, test::naiveFit(page, *layout));
}

// Each ratio in turn, chosen by a target of exactly the scaled size, both
// upright and turned, against the fit computed pixel by pixel.
TEST(FitScaler, EveryRatioMatchesThePixelByPixelFit) {
    const PageRaster page = sparsePage(203, 157, 11);
    FitScaler scaler;  // one scaler throughout: its buffers are reused
    for (bool turn : {false, true}) {
        const PageRect rectangle = *fitRectangle(page, std::nullopt, turn);
        for (size_t i = 0; i < kFitRatioList.size(); ++i) {
            const ScaleRatio& r = kFitRatioList[i];
            SCOPED_TRACE(testing::Message() << r.percent << "% turn " << turn);
            const int32_t width = rectangle.width() * r.outputPixels / r.sourcePixels;
            const int32_t height = rectangle.height() * r.outputPixels / r.sourcePixels;
            const auto layout = layoutFor(page, std::nullopt, width, height, std::nullopt, turn);
            ASSERT_TRUE(layout);
            ASSERT_EQ(layout->ratio, &r);
            PageRaster target;
            target.setSize(width, height);
            ASSERT_TRUE(scaler.fitIntoRaster(page, std::nullopt, target, std::nullopt, turn));
            expectSameImage(target, test::naiveFit(page, *layout));
        }
    }
}

TEST(FitScaler, ClipOffsetAndTurnTogetherMatchThePixelByPixelFit) {
    const PageRaster page = sparsePage(501, 333, 17);
    FitScaler scaler;
    const PageRect clip{37, 21, 450, 300};
    for (bool turn : {false, true}) {
        for (const auto& offset : {std::optional<PagePoint>{}, std::optional<PagePoint>{PagePoint{13, 7}},
                                   std::optional<PagePoint>{PagePoint{70, 90}}}) {
            SCOPED_TRACE(testing::Message() << "turn " << turn << " offset " << offset.has_value());
            const auto layout = layoutFor(page, clip, 150, 181, offset, turn);
            ASSERT_TRUE(layout);
            PageRaster target;
            target.setSize(150, 181);
            ASSERT_TRUE(scaler.fitIntoRaster(page, clip, target, offset, turn));
            expectSameImage(target, test::naiveFit(page, *layout));
            // The unused bits at the end of every row stay white.
            for (int y = 0; y < target.height; ++y) ASSERT_EQ(target.row(y)[18] & 0x03, 0);
        }
    }
}

TEST(FitScaler, HalfSizeKeepsSinglePixelsAndThinLines) {
    PageRaster page;
    page.create(400, 300, 200);
    const int dots[][2] = {{3, 5}, {100, 101}, {399, 299}, {250, 7}};
    for (const auto& d : dots) test::setPixel(page, d[0], d[1]);
    for (int y = 0; y < 300; ++y) test::setPixel(page, 201, y);  // a line at an odd column
    PageRaster target;
    target.setSize(200, 150);
    FitScaler scaler;
    ASSERT_TRUE(scaler.fitIntoRaster(page, std::nullopt, target, std::nullopt, false));
    EXPECT_EQ(layoutFor(page, std::nullopt, 200, 150, std::nullopt, false)->ratio->percent, 50);
    for (const auto& d : dots) EXPECT_TRUE(test::pixel(target, d[0] / 2, d[1] / 2)) << d[0] << "," << d[1];
    for (int y = 0; y < 150; ++y) {
        int black = 0;
        for (int x = 0; x < 200; ++x) black += test::pixel(target, x, y);
        const bool dotRow = y == 2 || y == 50 || y == 149 || y == 3;
        EXPECT_EQ(black, dotRow ? 2 : 1) << "row " << y;
        EXPECT_TRUE(test::pixel(target, 100, y));
    }
}

// Bottom-up rows, as a bitmap with a positive height stores them.
struct BottomUpBitmap {
    BottomUpBitmap(int32_t width, int32_t height, uint8_t fill)
        : stride(((width + 31) / 32) * 4), bytes(size_t(stride) * size_t(height), fill) {
        rows = {bytes.data() + size_t(stride) * size_t(height - 1), -ptrdiff_t(stride), width, height};
    }
    int32_t stride;
    std::vector<uint8_t> bytes;
    BitmapRows rows;
};

TEST(FitScaler, LandscapePageIsTurnedCounterClockwiseIntoAPortraitBitmap) {
    PageRaster page = makePage(Pattern::Text, 304, 200, 9);
    test::setPixel(page, 303, 0);  // top right corner: becomes the top left
    BottomUpBitmap bitmap(200, 304, 0xFF);
    FitScaler scaler;
    ASSERT_TRUE(scaler.fitIntoBitmapRows(page, std::nullopt, bitmap.rows, std::nullopt));
    PageRaster turned;
    ASSERT_TRUE(PageRaster::quarterTurnCounterClockwise(page, turned));
    for (int32_t y = 0; y < 304; ++y) {
        ASSERT_EQ(std::memcmp(bitmap.rows.row(y), turned.row(y), turned.bytesPerRow), 0) << "row " << y;
        for (int32_t b = 25; b < bitmap.stride; ++b) ASSERT_EQ(bitmap.rows.row(y)[b], 0);
    }
    EXPECT_EQ(bitmap.bytes[bitmap.bytes.size() - size_t(bitmap.stride)] & 0x80, 0x80);
}

TEST(FitScaler, NarrowRectangleIsWidenedToWholeBytes) {
    const PageRaster page = sparsePage(64, 60, 4);
    const PageRect clip{9, 10, 12, 50};
    EXPECT_EQ(fitRectangle(page, clip, false)->left, 8);
    EXPECT_EQ(fitRectangle(page, clip, false)->right, 16);
    PageRaster target;  // width and height 0: the rectangle's
    FitScaler scaler;
    ASSERT_TRUE(scaler.fitIntoRaster(page, clip, target, std::nullopt, false));
    ASSERT_EQ(target.width, 8);
    ASSERT_EQ(target.height, 40);
    for (int y = 0; y < 40; ++y) ASSERT_EQ(target.row(y)[0], page.row(10 + y)[1]);
}

// A page whose rows can be told apart: row y holds y in its first byte and
// the column's byte number in the others.
PageRaster numberedRows(int width, int height) {
    PageRaster p;
    p.create(width, height, 200);
    for (int y = 0; y < height; ++y)
        for (uint32_t b = 0; b < p.bytesPerRow; ++b) p.row(y)[b] = uint8_t(b == 0 ? y : b * 16 + 1);
    return p;
}

TEST(FitScaler, OutputTallerThanTheTargetIsCutAroundTheMiddle) {
    const PageRaster page = numberedRows(64, 100);
    FitScaler scaler;
    PageRaster target;
    target.setSize(64, 100);
    // Starting at row 20 leaves room for 80 rows: page rows 10 to 89.
    ASSERT_TRUE(scaler.fitIntoRaster(page, std::nullopt, target, PagePoint{0, 20}, false));
    const uint8_t white[8] = {};
    for (int y = 0; y < 20; ++y) ASSERT_EQ(std::memcmp(target.row(y), white, 8), 0);
    for (int y = 20; y < 100; ++y) ASSERT_EQ(std::memcmp(target.row(y), page.row(y - 10), 8), 0) << y;
    // With a clip rectangle the cut keeps its top.
    ASSERT_TRUE(scaler.fitIntoRaster(page, PageRect{0, 0, 64, 100}, target, PagePoint{0, 20}, false));
    for (int y = 20; y < 100; ++y) ASSERT_EQ(std::memcmp(target.row(y), page.row(y - 20), 8), 0) << y;
}

TEST(FitScaler, OutputWiderThanTheRoomBesideTheOffsetIsNarrowed) {
    const PageRaster page = numberedRows(128, 40);
    FitScaler scaler;
    PageRaster target;
    target.setSize(128, 40);
    // The offset is taken down to a whole byte (16); 112 columns remain, the
    // middle 112 of the page (from byte 1, 8 being 16 / 2 on a byte).
    ASSERT_TRUE(scaler.fitIntoRaster(page, std::nullopt, target, PagePoint{20, 0}, false));
    for (int y = 0; y < 40; ++y) {
        ASSERT_EQ(target.row(y)[0] | target.row(y)[1], 0);
        ASSERT_EQ(std::memcmp(target.row(y) + 2, page.row(y) + 1, 14), 0) << y;
    }
    ASSERT_TRUE(scaler.fitIntoRaster(page, PageRect{0, 0, 128, 40}, target, PagePoint{20, 0}, false));
    for (int y = 0; y < 40; ++y) ASSERT_EQ(std::memcmp(target.row(y) + 2, page.row(y), 14), 0) << y;
}

TEST(FitScaler, FailureLeavesTheTargetClear) {
    const PageRaster page = sparsePage(400, 400, 2);
    FitScaler scaler;
    PageRaster target;
    target.create(99, 400, 200);  // below a quarter of the width: no ratio fits
    std::memset(target.bits(), 0xFF, target.imageSize);
    EXPECT_FALSE(scaler.fitIntoRaster(page, std::nullopt, target, std::nullopt, false));
    for (size_t i = 0; i < target.imageSize; ++i) ASSERT_EQ(target.bits()[i], 0);

    std::memset(target.bits(), 0xFF, target.imageSize);
    const PageRaster empty;
    EXPECT_FALSE(scaler.fitIntoRaster(empty, std::nullopt, target, std::nullopt, false));
    for (size_t i = 0; i < target.imageSize; ++i) ASSERT_EQ(target.bits()[i], 0);
    // A clip rectangle outside the page leaves nothing to fit.
    EXPECT_FALSE(scaler.fitIntoRaster(page, PageRect{500, 0, 600, 10}, target, std::nullopt, false));

    BottomUpBitmap bitmap(99, 400, 0xFF);
    EXPECT_FALSE(scaler.fitIntoBitmapRows(page, std::nullopt, bitmap.rows, std::nullopt));
    for (uint8_t b : bitmap.bytes) ASSERT_EQ(b, 0);
    EXPECT_FALSE(scaler.fitIntoBitmapRows(page, std::nullopt, BitmapRows{}, std::nullopt));
}

}  // namespace
}  // namespace lumipage

namespace lumipage {
namespace {

TEST(FitScaler, FitsIntoARealBitmapOfEitherRowOrder) {
    PageRaster page = makePage(Pattern::Text, 304, 200, 9);
    PageRaster turned;
    ASSERT_TRUE(PageRaster::quarterTurnCounterClockwise(page, turned));
    FitScaler scaler;
    for (bool topDown : {false, true}) {
        CDIB bitmap;
        ASSERT_TRUE(bitmap.create(200, topDown ? -304 : 304, 1, 7874));
        ASSERT_TRUE(scaler.fitIntoBitmap(page, std::nullopt, bitmap, std::nullopt));
        for (int32_t y = 0; y < 304; ++y)
            ASSERT_EQ(std::memcmp(bitmap.rowAddress(y), turned.row(y), turned.bytesPerRow), 0) << y << " " << topDown;
    }
    CDIB grey;
    ASSERT_TRUE(grey.create(200, 304, 8, 7874));
    EXPECT_FALSE(scaler.fitIntoBitmap(page, std::nullopt, grey, std::nullopt));
}

}  // namespace
}  // namespace lumipage
