#include <gtest/gtest.h>

#include "image/FitLayout.h"
#include "image/ScaleRatio.h"
#include "support/NaiveFit.h"

namespace lumipage {
namespace {

TEST(FitScalerRatio, EveryTableFollowsItsCoveringRule) {
    ASSERT_EQ(kFitRatioList.size(), 39u);
    for (size_t i = 0; i < kFitRatioList.size(); ++i) {
        const ScaleRatio& r = kFitRatioList[i];
        const fit::RatioColumn& column = fit::kRatioColumns[i];
        SCOPED_TRACE(column.percent);
        EXPECT_EQ(r.percent, column.percent);
        EXPECT_EQ(r.sourcePixels, column.sourcePixels);
        EXPECT_EQ(r.outputPixels, column.outputPixels);
        ASSERT_EQ(test::naiveCovers(column).size(), size_t(column.sourcePixels));
        if (r.isCopy()) {
            EXPECT_EQ(i, kCopyRatioIndex);
            continue;
        }
        const std::vector<uint16_t> expected = test::naiveTable(column);
        ASSERT_EQ(r.table.size(), expected.size());
        for (size_t x = 0; x < expected.size(); ++x) ASSERT_EQ(r.table[x], expected[x]) << "entry " << x;
    }
}

TEST(FitScalerRatio, SharedOutputPixelsOfNeighbours) {
    // 166 %: source pixels 1 and 2 both cover output pixel 3.
    const ScaleRatio& r166 = kFitRatioList[16];
    ASSERT_EQ(r166.percent, 166);
    EXPECT_EQ(r166.table[0b010], 0x3000);
    EXPECT_EQ(r166.table[0b001], 0x1800);
    // 162 %: pixel 0 covers 0-1 and pixel 1 covers 1-2.
    const ScaleRatio& r162 = kFitRatioList[17];
    EXPECT_EQ(r162.table[0b10000000], 0xC000);
    EXPECT_EQ(r162.table[0b01000000], 0x6000);
}

TEST(FitScalerRatio, SearchTakesTheFirstRatioThatFits) {
    // 2480 x 3508 into 1728 x 2290: 75 % gives 1860 columns, 66 % fits the
    // width (1653) but gives 2338 rows; 60 % (5:3) fits.
    const ScaleRatio* r = chooseFitRatio(2480, 3508, 1728, 2290);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->percent, 60);
    EXPECT_EQ(r->sourcePixels, 5);
    EXPECT_EQ(r->outputPixels, 3);
    EXPECT_EQ(chooseFitRatio(1728, 2290, 1728, 2290), &kFitRatioList[kCopyRatioIndex]);
    EXPECT_EQ(chooseFitRatio(100, 100, 600, 600)->percent, 600);
    EXPECT_EQ(chooseFitRatio(100, 100, 599, 600)->percent, 500);
    // Below a quarter nothing fits.
    EXPECT_EQ(chooseFitRatio(400, 400, 100, 100)->percent, 25);
    EXPECT_EQ(chooseFitRatio(400, 400, 99, 100), nullptr);
}

}  // namespace
}  // namespace lumipage
