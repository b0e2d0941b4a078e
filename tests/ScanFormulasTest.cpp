#include <gtest/gtest.h>

#include <set>

#include "scan/ScanCapabilities.h"
#include "scan/ScanFormulas.h"
#include "twain/TwainTypes.h"

namespace lumipage {
namespace {

using namespace scanformulas;
using twain::ContainerValues;

TEST(ScanFormulas, BrightnessBecomesThresholdGammaOrBrightness) {
    EXPECT_EQ(thresholdFor(0, -100, 100), 128);  // -117.5 truncates toward zero
    EXPECT_EQ(thresholdFor(-100, -100, 100), 245);
    EXPECT_EQ(thresholdFor(100, -100, 100), 10);
    EXPECT_EQ(thresholdFor(1, -100, 100), 127);
    EXPECT_DOUBLE_EQ(gammaFor(0, -100, 100), 2.2);
    EXPECT_DOUBLE_EQ(gammaFor(100, -100, 100), 4.4);
    EXPECT_DOUBLE_EQ(gammaFor(-100, -100, 100), 1.1);
    EXPECT_EQ(brightnessFor(0, -100, 100), 0);
    EXPECT_EQ(brightnessFor(-100, -100, 100), -1000);
    EXPECT_EQ(brightnessFor(100, -100, 100), 1000);
    EXPECT_EQ(brightnessFor(-1, -100, 100), -10);
}

TEST(ScanFormulas, LayoutFrameKeepsMarginsInsideThePaper) {
    const Frame a4 = layoutFrame(210, 297, Margins{10, 20, 30, 40});
    EXPECT_NEAR(a4.left, 10 / 25.399, 1e-12);
    EXPECT_NEAR(a4.top, 20 / 25.399, 1e-12);
    EXPECT_NEAR(a4.right, 180 / 25.399, 1e-12);
    EXPECT_NEAR(a4.bottom, 257 / 25.399, 1e-12);
    const Frame squeezed = layoutFrame(100, 50, Margins{150, 30, 10, 40});
    EXPECT_NEAR(squeezed.left, 100 / 25.399, 1e-12);
    EXPECT_NEAR(squeezed.right, squeezed.left, 1e-12);
    EXPECT_NEAR(squeezed.bottom, 30 / 25.399, 1e-12);
}

TEST(ScanFormulas, PaperSizesOfferedDownFromTheLargestThatFits) {
    // 8.4 x 11.7 inches of glass: A4 (210 x 297) fits, US letter does not.
    const std::vector<int> a4 = offeredPaperSizes(8.4, 11.7);
    ASSERT_FALSE(a4.empty());
    EXPECT_EQ(a4.front(), 10);
    EXPECT_EQ(a4.back(), 1);
    EXPECT_EQ(a4.size(), 10u);
    EXPECT_EQ(offeredPaperSizes(8.75, 11.7).front(), 11);
    EXPECT_TRUE(offeredPaperSizes(1, 1).empty());
    EXPECT_EQ(kPaperSizes[11].text, "USﾚﾀｰ 216x279mm");
}

TEST(ScanNames, NumbersKeepTheirWidthAndGrow) {
    EXPECT_EQ(nextNumber("099"), "100");
    EXPECT_EQ(nextNumber("999"), "1000");
    EXPECT_EQ(nextNumber("009"), "010");
    EXPECT_EQ(nextNumber(""), "1");
    EXPECT_EQ(numberFieldText(7, ""), "007");
    EXPECT_EQ(numberFieldText(7, "00001"), "00007");
    EXPECT_EQ(numberFieldText(12345, "001"), "9999");
    EXPECT_EQ(numberFieldText(-5, "01"), "00");
}

TEST(ScanNames, ExistingFilesAreSkippedUnlessOverwriting) {
    const std::set<std::string> present{"/w/FAX-001.MH*", "/w/FAX-002.MH*", "/w/FAX-003.MH*"};
    auto exists = [&](const std::string& p) { return present.count(p) != 0; };
    std::string number = "001";
    EXPECT_EQ(nextFileName("/w", "FAX-", number, ".MH*", false, exists), "FAX-004.MH*");
    EXPECT_EQ(number, "004");
    number = "001";
    EXPECT_EQ(nextFileName("/w/", "FAX-", number, ".MH*", true, exists), "FAX-002.MH*");
    EXPECT_EQ(mhExtensionFor(300), ".MH");
    EXPECT_EQ(mhExtensionFor(200), ".MH2");
    EXPECT_EQ(mhExtensionFor(360), ".MH3");
    EXPECT_EQ(mhExtensionFor(600), ".MH");
}

ContainerValues range(double lo, double hi, double step, double current) {
    ContainerValues v;
    v.kind = twain::TWON_RANGE;
    v.itemType = twain::TWTY_FIX32;
    v.minimum = lo;
    v.maximum = hi;
    v.step = step;
    v.current = current;
    return v;
}

ContainerValues list(std::vector<double> items, uint32_t current) {
    ContainerValues v;
    v.kind = twain::TWON_ENUMERATION;
    v.itemType = twain::TWTY_FIX32;
    v.numbers = std::move(items);
    v.currentIndex = current;
    return v;
}

TEST(ScanOffers, ResolutionsOfferedForBothAxes) {
    const auto& candidates = ScanCapabilities::kResolutionCandidates;
    const OfferedResolutions r = offeredResolutions(range(100, 600, 100, 300), range(100, 600, 100, 300), candidates);
    EXPECT_EQ(r.values, (std::vector<int>{600, 400, 300, 200}));
    EXPECT_EQ(r.current, 300);

    const OfferedResolutions mixed =
        offeredResolutions(list({75, 150, 300, 600}, 2), range(50, 400, 25, 200), candidates);
    EXPECT_EQ(mixed.values, (std::vector<int>{300, 75}));
    EXPECT_FALSE(mixed.current);  // the axes' current values differ

    const OfferedResolutions xOnly = offeredResolutions(range(1, 1200, 1, 240), std::nullopt, candidates);
    EXPECT_EQ(xOnly.values.size(), 9u);
    EXPECT_EQ(xOnly.current, 240);
}

TEST(ScanOffers, ScalingAndReductionChoices) {
    const auto common = commonScaling(range(0.5, 2.0, 0.01, 1.0), range(0.25, 1.5, 0.05, 1.0));
    ASSERT_TRUE(common);
    EXPECT_EQ(common->minimum, 50);
    EXPECT_EQ(common->maximum, 150);
    EXPECT_EQ(common->step, 0);
    EXPECT_EQ(common->current, 100);

    const auto plain = reductionChoices({0, 1, 3}, {});
    ASSERT_EQ(plain.size(), 3u);
    EXPECT_EQ(plain[0].text, "なし");
    EXPECT_EQ(plain[1].text, "デイザ");
    EXPECT_EQ(plain[2].text, "誤差拡散");
    const auto named = reductionChoices({0, 1}, {"Bayer", "Spiral"});
    ASSERT_EQ(named.size(), 3u);
    EXPECT_EQ(named[1].text, "Bayer");
    EXPECT_EQ(named[2].halftone, 1);
}

}  // namespace
}  // namespace lumipage
